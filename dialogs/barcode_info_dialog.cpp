#include "dialogs/barcode_info_dialog.h"

#include <cstring>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

#include "barcode/barcode_draw.h"
#include "barcode/barcode_fault.h"
#include "barcode/barcode_measure.h"
#include "barcode/upc_ean_encoding.h"
#include "dialogs/object_dialog_kit.h"
#include "foundation/alerts.h"
#include "foundation/cp1252.h"
#include "foundation/pstr.h"
#include "platform/dc.h"

namespace {

constexpr int kSampleWidth = 340;
constexpr int kSampleHeight = 150;
constexpr uint8_t kClipStrokePrecis = 2;
constexpr uint8_t kVariablePitchSwiss = 0x02 | 0x20;
constexpr int32_t kCaptionPoints = 12;

const char* const kTypeNames[] = {"PostNet", "FIM A", "FIM B", "FIM C", "HorBars", "InterLeaved2of5", "Code39",
                                  "Code128", "UPC A", "UPC E", "EAN 13", "EAN 8", "ISBN", "ISSN", "CodeBar"};
const char* const kWidthNames[] = {"6.9   mils",  "13.9 mils", "20.8 mils", "27.8 mils",
                                   "34.7 mils",  "41.7 mils", "48.6 mils", "55.6 mils"};
const char* const kHeightNames[] = {"   1/4  inches", "   1/2  inches", "   3/4  inches", "1         inches",
                                    "1 1/4  inches", "1 1/2  inches", "1 3/4  inches", "2         inches"};
const char* const kPrefixNames[] = {"978", "979"};

// Which controls each symbology uses. A switch marked kWithText is enabled
// only while "Human Readable Text" is checked.
enum Use : uint8_t { kOff = 0, kOn = 1, kWithText = 2 };
struct TypeUse {
    Use data, text, systemAndCheck, startStop, addCheck, bearers, width, height, gap;
};
TypeUse UseOf(int16_t type)
{
    switch (type) {
    case kBarcodePostnet: return {kOn, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff};
    case kBarcodeHorBars: return {kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOn, kOff};
    case kBarcodeInterleaved25: return {kOn, kOn, kOff, kOff, kOff, kOn, kOn, kOn, kOff};
    case kBarcodeCodabar: return {kOn, kOn, kOff, kOff, kOff, kOff, kOn, kOn, kOff};
    case kBarcodeCode39: return {kOn, kOn, kOff, kWithText, kOn, kOff, kOn, kOn, kOn};
    case kBarcodeCode128: return {kOn, kOff, kOff, kOff, kOn, kOff, kOn, kOn, kOff};
    case kBarcodeUpcA:
    case kBarcodeUpcE: return {kOn, kOn, kWithText, kOff, kOff, kOff, kOn, kOn, kOff};
    case kBarcodeEan13:
    case kBarcodeEan8:
    case kBarcodeIsbn:
    case kBarcodeIssn: return {kOn, kOn, kOff, kOff, kOff, kOff, kOn, kOn, kOff};
    default: return {};  // the FIM patterns take nothing
    }
}

int ListIndex(double value, double (*at)(int))
{
    for (int i = 0; i < kBarcodeSizeCount; ++i) {
        if (at(i) == value)
            return i;
    }
    return 0;
}

QComboBox* Combo(const char* const* texts, int count, const char* name, QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    for (int i = 0; i < count; ++i)
        c->addItem(QString::fromLatin1(texts[i]));
    return c;
}

}  // namespace

double BarcodeWidthAt(int index) { return 0.5 * (index + 1); }
double BarcodeHeightAt(int index) { return 18.0 * (index + 1); }
double BarcodeGapAt(int index) { return 0.5 * (index + 1); }

CBarcodePreviewWnd::CBarcodePreviewWnd(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("barcodeSample"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CBarcodePreviewWnd::paintEvent(QPaintEvent*)
{
    QImage surface(size(), QImage::Format_RGB32);
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
        Draw(dc.get());
    }
    QPainter(this).drawImage(0, 0, surface);
}

void CBarcodePreviewWnd::Draw(Dc* dc)
{
    const ColorRef paper = FromQColor(palette().color(QPalette::Base));
    const ColorRef ink = FromQColor(palette().color(QPalette::Text));
    dc->fillRect(IntRect{0, 0, width(), height()}, Brush::Solid(paper));
    const int32_t saved = dc->saveDc();
    dc->selectBrush(Brush::Solid(ink));
    dc->selectPen(Pen{PS_SOLID, 1, ink});
    dc->setTextColor(ink);
    LogFont font;
    font.height = -((kCaptionPoints * dc->getDeviceCaps(LOGPIXELSY) + 36) / 72);
    font.weight = FW_NORMAL;
    font.charSet = DEFAULT_CHARSET;
    font.outPrecision = OUT_TT_ONLY_PRECIS;
    font.clipPrecision = kClipStrokePrecis;
    font.pitchAndFamily = kVariablePitchSwiss;
    std::strcpy(font.faceName, "Arial");
    dc->selectFont(font);

    BarcodeRecord rec = record_;
    IntRect measured;
    MeasureBarcode(dc, &rec, &measured, 1, 1);
    rec.originX = (width() - (measured.right - measured.left)) / 2;
    rec.originY = (height() - (measured.bottom - measured.top)) / 2;
    rec.angle = 0;
    rec.captionSize = -font.height;
    DrawBarcode(dc, &rec, 1, 1);
    dc->restoreDc(saved);
}

CDlgBarcodeInfo::CDlgBarcodeInfo(QWidget* parent) : OpeningDialog("Barcode Info", "barcodeInfoDialog", parent)
{
    dataLabel_ = new QLabel(QStringLiteral("Data :"), this);
    data_ = Named(new QLineEdit(this), "data");
    data_->setMaxLength(kPStrMaxLength);
    dataLabel_->setBuddy(data_);
    sample_ = new CBarcodePreviewWnd(this);
    sample_->setFixedSize(kSampleWidth, kSampleHeight);

    const char* const switchTexts[kSwitchCount] = {"Human Readable Text", "Print System Number",
                                                   "Print Check Char",    "Print Start/End Char",
                                                   "Print check symbol",  "Bearers"};
    const char* const switchNames[kSwitchCount] = {"showText", "systemDigit", "checkDigit",
                                                   "startStop", "addCheck",   "bearers"};
    for (int i = 0; i < kSwitchCount; ++i) {
        switches_[size_t(i)] = new QCheckBox(QString::fromLatin1(switchTexts[i]), this);
        switches_[size_t(i)]->setObjectName(QString::fromLatin1(switchNames[i]));
    }

    type_ = Combo(kTypeNames, kBarcodeLastType, "type", this);
    width_ = Combo(kWidthNames, kBarcodeSizeCount, "barWidth", this);
    height_ = Combo(kHeightNames, kBarcodeSizeCount, "barHeight", this);
    // The gap list offers the widths alone: an entry past them would stand
    // for no gap at all.
    gap_ = Combo(kWidthNames, kBarcodeSizeCount, "charGap", this);
    prefix_ = Combo(kPrefixNames, 2, "isbnPrefix", this);
    auto* typeLabel = new QLabel(QStringLiteral("Bar Code :"), this);
    auto* widthLabel = new QLabel(QStringLiteral("Bar Width :"), this);
    auto* heightLabel = new QLabel(QStringLiteral("Bar Height :"), this);
    gapLabel_ = Named(new QLabel(QStringLiteral("Char Gap :"), this), "gapLabel");

    auto* buttons = OkCancelBox(this);

    auto* dataRow = new QHBoxLayout;
    dataRow->addWidget(dataLabel_);
    dataRow->addWidget(data_, 1);
    auto* switchGrid = new QGridLayout;
    for (int i = 0; i < kSwitchCount; ++i)
        switchGrid->addWidget(switches_[size_t(i)], i % 3, i / 3);
    auto* comboGrid = new QGridLayout;
    comboGrid->addWidget(typeLabel, 0, 0);
    comboGrid->addWidget(type_, 0, 1);
    comboGrid->addWidget(widthLabel, 0, 2);
    comboGrid->addWidget(width_, 0, 3);
    comboGrid->addWidget(heightLabel, 1, 0);
    comboGrid->addWidget(height_, 1, 1);
    // The gap list and the prefix list share one place; one is shown.
    comboGrid->addWidget(gapLabel_, 1, 2);
    comboGrid->addWidget(gap_, 1, 3);
    comboGrid->addWidget(prefix_, 1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(dataRow);
    layout->addWidget(sample_, 0, Qt::AlignHCenter);
    layout->addLayout(switchGrid);
    layout->addLayout(comboGrid);
    layout->addWidget(buttons);

    for (QCheckBox* box : switches_)
        connect(box, &QCheckBox::clicked, this, [this] { Changed(); });
    connect(switches_[kShowText], &QCheckBox::clicked, this, [this] { ApplyTypeRules(); });
    connect(data_, &QLineEdit::textEdited, this, [this] { Changed(); });
    connect(type_, &QComboBox::activated, this, [this] { ApplyTypeRules(); });
    for (QComboBox* c : {width_, height_, gap_, prefix_})
        connect(c, &QComboBox::activated, this, [this] { Changed(); });

    SetRecord(record_);
}

void CDlgBarcodeInfo::SetRecord(const BarcodeRecord& record)
{
    ready_ = false;
    record_ = record;
    storedType_ = record.type;
    width_->setCurrentIndex(ListIndex(record_.module, BarcodeWidthAt));
    height_->setCurrentIndex(ListIndex(record_.barHeight, BarcodeHeightAt));
    gap_->setCurrentIndex(ListIndex(record_.charGap, BarcodeGapAt));
    type_->setCurrentIndex(record_.type >= kBarcodeFirstType && record_.type <= kBarcodeLastType
                               ? record_.type - 1
                               : -1);
    prefix_->setCurrentIndex(record_.bookPrefix >= 1 && record_.bookPrefix <= 2 ? record_.bookPrefix - 1 : -1);
    const uint8_t flags[kSwitchCount] = {record_.showText,     record_.showSystemDigit, record_.showCheckDigit,
                                         record_.showStartStop, record_.addCheckDigit,  record_.bearers};
    for (int i = 0; i < kSwitchCount; ++i)
        switches_[size_t(i)]->setChecked(flags[i] != 0);
    data_->setText(Cp1252ToQString(std::string_view(reinterpret_cast<const char*>(record_.data + 1), record_.data[0])));
    ready_ = true;
    ApplyTypeRules();
}

void CDlgBarcodeInfo::ApplyTypeRules()
{
    const int16_t type = int16_t(type_->currentIndex() + 1);
    const bool isbn = type == kBarcodeIsbn;
    gapLabel_->setText(isbn ? QStringLiteral("Attachment :") : QStringLiteral("Char Gap :"));
    gap_->setVisible(!isbn);
    prefix_->setVisible(isbn);

    const TypeUse use = UseOf(type);
    const bool text = switches_[kShowText]->isChecked();
    auto on = [text](Use u) { return u == kOn || (u == kWithText && text); };
    data_->setEnabled(on(use.data));
    dataLabel_->setVisible(on(use.data));
    switches_[kShowText]->setEnabled(on(use.text));
    switches_[kSystemDigit]->setEnabled(on(use.systemAndCheck));
    switches_[kCheckDigit]->setEnabled(on(use.systemAndCheck));
    switches_[kStartStop]->setEnabled(on(use.startStop));
    // Code 128 always carries its check symbol: the box shows it ticked
    // and can't be unticked. The choice made for the other kinds stays in
    // the record and comes back with them.
    QCheckBox* addCheck = switches_[kAddCheck];
    addCheck->setEnabled(on(use.addCheck) && type != kBarcodeCode128);
    addCheck->setChecked(type == kBarcodeCode128 || record_.addCheckDigit != 0);
    switches_[kBearers]->setEnabled(on(use.bearers));
    width_->setEnabled(on(use.width));
    height_->setEnabled(on(use.height));
    gap_->setEnabled(on(use.gap));
    Changed();
}

void CDlgBarcodeInfo::ReadControls()
{
    record_.type = int16_t(type_->currentIndex() + 1);
    // A barcode made an ISBN here starts at 978, the prefix of new books
    // (no prefix would print the serials' 977); a stored ISBN keeps the
    // prefix its byte gives.
    if (record_.type == kBarcodeIsbn && storedType_ != kBarcodeIsbn && prefix_->currentIndex() < 0)
        prefix_->setCurrentIndex(0);
    record_.bookPrefix = uint8_t(prefix_->currentIndex() < 0 ? 0 : prefix_->currentIndex() + 1);
    std::string bytes = QStringToCp1252(data_->text());
    if (bytes.size() > size_t(kPStrMaxLength))
        bytes.resize(size_t(kPStrMaxLength));
    record_.data[0] = uint8_t(bytes.size());
    std::memcpy(record_.data + 1, bytes.data(), bytes.size());
    record_.module = BarcodeWidthAt(width_->currentIndex() < 0 ? 0 : width_->currentIndex());
    record_.space = record_.module;
    record_.barHeight = BarcodeHeightAt(height_->currentIndex() < 0 ? 0 : height_->currentIndex());
    record_.charGap = BarcodeGapAt(gap_->currentIndex() < 0 ? 0 : gap_->currentIndex());
    uint8_t* flags[kSwitchCount] = {&record_.showText,      &record_.showSystemDigit, &record_.showCheckDigit,
                                    &record_.showStartStop, &record_.addCheckDigit,   &record_.bearers};
    for (int i = 0; i < kSwitchCount; ++i) {
        // The fixed tick of Code 128 is not a choice: the record keeps the
        // one it has.
        if (i == kAddCheck && record_.type == kBarcodeCode128)
            continue;
        *flags[i] = switches_[size_t(i)]->isChecked() ? 1 : 0;
    }
}

void CDlgBarcodeInfo::Changed()
{
    if (!ready_)
        return;
    ReadControls();
    sample_->SetRecord(record_);
    sample_->repaint();
}

void CDlgBarcodeInfo::accept()
{
    ReadControls();
    // A retail number typed with a check digit that is not its own would
    // print a failure box on every card: refused here, naming the right one.
    uint8_t rest[256];
    if (!DropTypedCheckDigit(record_.type, record_.data, rest)) {
        const std::string text = "The " + BarcodeSymbologyName(record_.type) + " \"" +
                                 std::string(reinterpret_cast<const char*>(record_.data + 1), record_.data[0]) +
                                 "\" can't be made: " + BarcodeDataFault(record_) + ".";
        AlertStop(text.c_str(), 0);
        data_->setFocus();
        return;
    }
    QDialog::accept();
}
