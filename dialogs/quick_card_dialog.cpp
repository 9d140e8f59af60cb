#include "dialogs/quick_card_dialog.h"

#include <cstring>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "barcode/postal_patterns.h"
#include "database/field_table.h"
#include "dialogs/object_dialog_kit.h"
#include "foundation/byte_order.h"
#include "platform/dc.h"

namespace {

constexpr ColorRef kSampleBlue = MakeRgb(0, 0, 255);
constexpr char kSampleZip[] = "12345678912";
constexpr int32_t kFullBar = 5;
constexpr int32_t kHalfBar = 2;

bool Word(const uint8_t* settings, size_t offset) { return GetU32LE(settings + offset) != 0; }

void DrawBar(Dc* dc, int32_t x, int32_t top, bool tall)
{
    dc->moveTo(x, top + (tall ? 0 : kFullBar - kHalfBar));
    dc->lineTo(x, top + kFullBar);
}

// The POSTNET bars of the sample code at the top left, digit by digit with
// a check digit, between two frame bars.
void DrawSampleBarcode(Dc* dc, int32_t left, int32_t top)
{
    int32_t x = left;
    DrawBar(dc, x, top, true);
    x += 3;
    int32_t sum = 0;
    const auto digit = [&](int32_t d) {
        for (int bar = 0; bar < kPostnetBarsPerDigit; ++bar) {
            DrawBar(dc, x, top, PostnetBarIsTall(d, bar));
            x += 2;
        }
        x += 1;
    };
    for (const char* p = kSampleZip; *p; ++p) {
        sum += *p - '0';
        digit(*p - '0');
    }
    digit((10 - sum % 10) % 10);
    DrawBar(dc, x, top, true);
}

}  // namespace

CQuickCardSampleWnd::CQuickCardSampleWnd(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("quickCardSample"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CQuickCardSampleWnd::SetSettings(const uint8_t* settings)
{
    std::memcpy(settings_, settings, kQuickCardSpecSize);
}

void CQuickCardSampleWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintWithDc(&painter, rect(), [this](Dc* dc, const IntRect& client) { Draw(dc, client); });
}

void CQuickCardSampleWnd::Draw(Dc* dc, const IntRect& client) const
{
    dc->fillRect(client, Brush::Solid(kWhite));
    dc->intersectClipRect(client.left + 3, client.top + 3, client.right - 3, client.bottom - 3);
    const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 1, kSampleBlue});
    const ColorRef oldText = dc->setTextColor(kSampleBlue);
    const ColorRef oldBack = dc->setBkColor(kWhite);
    LogFont font;
    font.height = 13;
    font.weight = FW_NORMAL;
    std::strcpy(font.faceName, "Arial");
    const LogFont oldFont = dc->selectFont(font);

    const IntRect area{client.left + 10, client.top + 10, client.right - 10, client.bottom - 10};
    const TextMetrics tm = dc->getTextMetrics();
    const int32_t lineHeight = tm.ascent + tm.descent + tm.externalLeading;
    int32_t textTop = area.top;
    if (Word(settings_, kQcSpecBarcode)) {
        DrawSampleBarcode(dc, area.left, area.top);
        textTop += 5;
    }
    const bool noSpace = Word(settings_, kQcSpecNoBlankSpace);
    const bool noLines = Word(settings_, kQcSpecNoBlankLines);
    int32_t x = area.left;
    int32_t y = textTop;
    bool drawnAny = false;
    for (int32_t i = 0; i < kQuickCardSampleFields; ++i) {
        char name[kFieldTypeNameSize] = {};
        FieldTypeName(kFieldSalutation + i, name, true, true);
        std::string text(name);
        text += ' ';
        const bool newLine = Word(settings_, kQcSpecNewLine + 4 * i);
        if (Word(settings_, kQcSpecInclude + 4 * i)) {
            // The first field drawn needs no break before it.
            if (newLine && drawnAny) {
                x = area.left;
                y += lineHeight;
            }
            dc->textOut(x, y, text);
            drawnAny = true;
            x += dc->getTextExtent(text).width;
        } else {
            if (!noLines && newLine && i > 0) {
                x = area.left;
                y += lineHeight;
            }
            if (!noSpace)
                x += dc->getTextExtent(text).width;
        }
    }
    dc->selectFont(oldFont);
    dc->setBkColor(oldBack);
    dc->setTextColor(oldText);
    dc->selectPen(oldPen);
}

CDlgQuickCard::CDlgQuickCard(QWidget* parent) : OpeningDialog("Quick Card Specification", "quickCardDialog", parent)
{
    const char* fieldNames[kQuickCardSampleFields] = {"Salutation", "First Name", "Last Name", "Title",
                                                      "Company",    "Address 1",  "Address 2", "City",
                                                      "State",      "Zip Code"};
    boxes_[0] = new QCheckBox(QStringLiteral("Eliminate blank space between fields."), this);
    boxes_[1] = new QCheckBox(QStringLiteral("Eliminate Blank Lines."), this);
    boxes_[22] = new QCheckBox(QStringLiteral("Print Barcode."), this);
    boxes_[0]->setObjectName(QStringLiteral("noBlankSpace"));
    boxes_[1]->setObjectName(QStringLiteral("noBlankLines"));
    boxes_[22]->setObjectName(QStringLiteral("printBarcode"));
    auto* group = new QGroupBox(QStringLiteral("Select fields to include into  Quick Card"), this);
    auto* fields = new QGridLayout(group);
    for (int32_t i = 0; i < kQuickCardSampleFields; ++i) {
        boxes_[2 + i] = new QCheckBox(QString::fromLatin1(fieldNames[i]), group);
        boxes_[2 + i]->setObjectName(QStringLiteral("field%1").arg(i));
        boxes_[12 + i] = new QCheckBox(QStringLiteral("New Line"), group);
        boxes_[12 + i]->setObjectName(QStringLiteral("newLine%1").arg(i));
        fields->addWidget(boxes_[2 + i], i, 0);
        fields->addWidget(boxes_[12 + i], i, 1);
    }
    for (QCheckBox* box : boxes_)
        connect(box, &QCheckBox::clicked, this, [this] { Update(); });
    sample_ = new CQuickCardSampleWnd(this);
    sample_->setFixedSize(DialogUnitsX(150) - 4, DialogUnitsY(100) - 4);

    auto* left = new QVBoxLayout;
    left->addWidget(boxes_[22]);
    left->addWidget(boxes_[0]);
    left->addWidget(boxes_[1]);
    left->addWidget(sample_);
    left->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(group);
    SetBody(top);
}

void CDlgQuickCard::SetRecord(const uint8_t* settings) { std::memcpy(record_, settings, kQuickCardSpecSize); }

void CDlgQuickCard::Open()
{
    for (int32_t i = 0; i < 23; ++i)
        boxes_[i]->setChecked(GetU32LE(record_ + 4 * i) != 0);
    Update();
}

void CDlgQuickCard::ReadControls(uint8_t* settings) const
{
    std::memcpy(settings, record_, kQuickCardSpecSize);
    for (int32_t i = 0; i < 23; ++i)
        PutU32LE(settings + 4 * i, boxes_[i]->isChecked() ? 1 : 0);
}

void CDlgQuickCard::Update()
{
    uint8_t settings[kQuickCardSpecSize];
    ReadControls(settings);
    sample_->SetSettings(settings);
    sample_->Redraw();
    for (int32_t i = 0; i < kQuickCardSampleFields; ++i)
        NewLine(i)->setEnabled(Field(i)->isChecked());
}

void CDlgQuickCard::accept()
{
    ReadControls(record_);
    QDialog::accept();
}
