#include "dialogs/preferences_dialog.h"

#include <cstring>

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "dialogs/object_dialog_kit.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/units.h"
#include "graphics/pattern_bitmaps.h"
#include "platform/dc.h"
#include "records/preferences.h"
#include "resources/artwork_resources.h"

namespace {

constexpr int32_t kQuoteItemWidth = 34;
constexpr int32_t kQuoteItemHeight = 19;
constexpr int32_t kSlowest = 1;
constexpr int32_t kFastest = 30;
constexpr int32_t kSwatchInset = 5;
constexpr int32_t kSliceIndent = 5;

class BitmapItemDelegate : public QStyledItemDelegate {
public:
    explicit BitmapItemDelegate(CBitmapComboBox* combo) : QStyledItemDelegate(combo), combo_(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const bool enabled = option.state & QStyle::State_Enabled;
        const bool focused = option.state & QStyle::State_HasFocus;
        PaintWithDc(painter, option.rect, [&](Dc* dc, const IntRect& r) {
            DrawBitmapComboItem(dc, r, combo_->Strip(), index.row(), combo_->ItemWidth(), combo_->ItemHeight(),
                                selected, enabled, focused, option.palette);
        });
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(combo_->ItemWidth() + 2 * kSliceIndent, combo_->ItemHeight());
    }

private:
    CBitmapComboBox* combo_;
};

QLineEdit* NumberEdit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(6);
    return edit;
}

QCheckBox* Box(const char* text, const char* name, QWidget* parent)
{
    auto* box = new QCheckBox(QString::fromLatin1(text), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

uint32_t U32(const uint8_t* block, size_t offset) { return GetU32LE(block + offset); }

}  // namespace

// --- The bitmap combo -------------------------------------------------------

CBitmapComboBox::CBitmapComboBox(QWidget* parent) : COwnerDrawnCombo(parent)
{
    setItemDelegate(new BitmapItemDelegate(this));
}

void CBitmapComboBox::Setup(const QImage& strip, int32_t count, int32_t width, int32_t height)
{
    strip_ = strip;
    count_ = count;
    itemWidth_ = width;
    itemHeight_ = height;
    setMinimumWidth(width + 2 * kSliceIndent + 30);
}

bool CBitmapComboBox::HasCurrent() const { return currentIndex() >= 0 && currentIndex() < count_; }

void CBitmapComboBox::DrawCurrent(Dc* dc, const IntRect& field)
{
    DrawBitmapComboItem(dc, field, strip_, currentIndex(), itemWidth_, itemHeight_, hasFocus(), isEnabled(), hasFocus(),
                        palette());
}

void DrawBitmapComboItem(Dc* dc, const IntRect& rect, const QImage& strip, int32_t index, int32_t itemWidth,
                         int32_t itemHeight, bool selected, bool enabled, bool focused, const QPalette& palette)
{
    const ColorRef window = FromQColor(palette.color(QPalette::Active, QPalette::Base));
    const ColorRef ground = selected ? FromQColor(palette.color(QPalette::Active, QPalette::Highlight)) : window;
    const ColorRef oldText = dc->setTextColor(ground);
    const ColorRef oldBack = dc->setBkColor(selected ? window : kWhite);
    Brush brush = Brush::Solid(ground);
    // A disabled item is laid over a grey checkerboard of the two colours.
    if (const MonoPattern* grey = PatternBitmapResource(kPatternBitmapCheckerboard); grey && !enabled)
        brush = Brush::Pattern(*grey);
    dc->fillRect(rect, brush);
    if (!strip.isNull() && index >= 0) {
        const QRect slice(0, index * itemHeight, itemWidth, itemHeight);
        const IntRect dest{rect.left + kSliceIndent, rect.top, rect.left + kSliceIndent + itemWidth,
                           rect.top + itemHeight};
        dc->stretchImage(dest, strip, slice, selected ? MERGEPAINT : SRCAND);
    }
    if (focused)
        DrawFocusRect(dc, rect);
    dc->setBkColor(oldBack);
    dc->setTextColor(oldText);
}

// Bitmap 510: the eight styles, one 34 x 19 slice each, top to bottom.
QImage QuoteStyleStrip()
{
    const QImage strip = LoadResourceBitmap(510);
    return strip.isNull() ? strip : strip.convertToFormat(QImage::Format_RGB32);
}

// --- The dialog -------------------------------------------------------------

CDlgPreferences::CDlgPreferences(QWidget* parent) : OpeningDialog("Preferences", "preferencesDialog", parent)
{
    chooser_ = [this](ColorRef* colour) {
        const QColor picked = QColorDialog::getColor(ToQColor(*colour), this);
        if (!picked.isValid())
            return false;
        *colour = FromQColor(picked);
        return true;
    };

    speed_ = Named(new QSlider(Qt::Horizontal, this), "scrollSpeed");
    autoSave_ = Box("Auto Save", "autoSave", this);
    minutes_ = NumberEdit("autoSaveMinutes", this);
    smallCaps_ = NumberEdit("smallCaps", this);
    superscript_ = NumberEdit("superscript", this);
    subscript_ = NumberEdit("subscript", this);
    horizontal_ = Named(new QComboBox(this), "horizontalUnit");
    vertical_ = Named(new QComboBox(this), "verticalUnit");
    guideColour_ = Named(new QPushButton(this), "guideColour");
    guideColour_->setFixedSize(48, 24);
    guideColour_->setAutoDefault(false);
    justify_[0] = new QRadioButton(QStringLiteral("Force justify alignment"), this);
    justify_[1] = new QRadioButton(QStringLiteral("Justify alignment "), this);
    breaking_[0] = new QRadioButton(QStringLiteral("Text Wrap"), this);
    breaking_[1] = new QRadioButton(QStringLiteral("Hyphenation"), this);
    pictureInto_ = Box("Picture into document", "pictureIntoDocument", this);
    quotes_ = Named(new CBitmapComboBox(this), "quoteStyle");
    smartQuotes_ = Box("Smart Quotes", "smartQuotes", this);
    guidesBack_ = Box("Guides in Back", "guidesInBack", this);
    pasteWidth_ = NumberEdit("pasteboardWidth", this);
    pasteHeight_ = NumberEdit("pasteboardHeight", this);
    tabs_ = NumberEdit("tabsWidth", this);
    saveScale_ = Box("Save Page Scale", "savePageScale", this);
    makeDefault_ = PlainButton("Make Default", "makeDefault", this);

    auto* justifyBox = new QGroupBox(QStringLiteral("Justification"), this);
    auto* justifyLayout = new QVBoxLayout(justifyBox);
    justifyLayout->addWidget(justify_[0]);
    justifyLayout->addWidget(justify_[1]);
    auto* breakBox = new QGroupBox(QStringLiteral("Line breaking"), this);
    auto* breakLayout = new QVBoxLayout(breakBox);
    breakLayout->addWidget(breaking_[0]);
    breakLayout->addWidget(breaking_[1]);
    auto* colourBox = new QGroupBox(QStringLiteral("Color"), this);
    auto* colourLayout = new QHBoxLayout(colourBox);
    colourLayout->addWidget(new QLabel(QStringLiteral("Guide"), colourBox));
    colourLayout->addWidget(guideColour_);

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("Scrolling speed"), this), row, 0);
    auto* speedRow = new QHBoxLayout;
    speedRow->addWidget(new QLabel(QStringLiteral("Slow"), this));
    speedRow->addWidget(speed_, 1);
    speedRow->addWidget(new QLabel(QStringLiteral("Fast"), this));
    grid->addLayout(speedRow, row++, 1, 1, 3);
    grid->addWidget(autoSave_, row, 0);
    grid->addWidget(minutes_, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("minutes"), this), row++, 2);
    grid->addWidget(new QLabel(QStringLiteral("Smallcaps"), this), row, 0);
    grid->addWidget(smallCaps_, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("Pasteboard Width"), this), row, 2);
    grid->addWidget(pasteWidth_, row++, 3);
    grid->addWidget(new QLabel(QStringLiteral("Superscript"), this), row, 0);
    grid->addWidget(superscript_, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("Pasteboard Height"), this), row, 2);
    grid->addWidget(pasteHeight_, row++, 3);
    grid->addWidget(new QLabel(QStringLiteral("Subscript"), this), row, 0);
    grid->addWidget(subscript_, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("Tabs Width"), this), row, 2);
    grid->addWidget(tabs_, row++, 3);
    grid->addWidget(new QLabel(QStringLiteral("Horizontal measure"), this), row, 0);
    grid->addWidget(horizontal_, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("Vertical measure"), this), row, 2);
    grid->addWidget(vertical_, row++, 3);
    grid->addWidget(smartQuotes_, row, 0);
    grid->addWidget(quotes_, row, 1);
    grid->addWidget(colourBox, row++, 2, 1, 2);
    grid->addWidget(justifyBox, row, 0, 1, 2);
    grid->addWidget(breakBox, row++, 2, 1, 2);
    grid->addWidget(pictureInto_, row, 0, 1, 2);
    grid->addWidget(guidesBack_, row++, 2, 1, 2);
    grid->addWidget(saveScale_, row++, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(makeDefault_);
    buttons->addLayout(OkCancelRow(this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(autoSave_, &QCheckBox::clicked, this, [this](bool on) { minutes_->setEnabled(on); });
    connect(smartQuotes_, &QCheckBox::clicked, this, [this](bool on) { quotes_->setEnabled(on); });
    connect(guideColour_, &QPushButton::clicked, this, [this] { OnGuideColour(); });
    connect(makeDefault_, &QPushButton::clicked, this, [this] { OnMakeDefault(); });
}

void CDlgPreferences::SetRecord(const uint8_t* block) { std::memcpy(record_, block, kGeneralPrefsSize); }

void CDlgPreferences::Open()
{
    FillUnitsCombo(horizontal_);
    FillUnitsCombo(vertical_);
    horizontal_->setCurrentIndex(int(U32(record_, kPrefHorizontalUnit)));
    vertical_->setCurrentIndex(int(U32(record_, kPrefVerticalUnit)));
    speed_->setRange(kSlowest, kFastest);
    speed_->setValue(int(GetI32LE(record_ + kPrefScrollSpeed)));
    guide_ = U32(record_, kPrefGuideColour) & 0xFFFFFF;
    PaintSwatch();
    quotes_->Setup(QuoteStyleStrip(), kQuoteStyleCount, kQuoteItemWidth, kQuoteItemHeight);
    for (const char* pair : {"\" \"", "'' ''", ",, ''", "<< >>", ">> <<", "( )", "[ ]", "{ }"})
        quotes_->addItem(QString::fromLatin1(pair));
    quotes_->setCurrentIndex(int(U32(record_, kPrefQuoteStyle)));

    minutes_->setText(QString::number(GetI32LE(record_ + kPrefAutoSaveMinutes)));
    smallCaps_->setText(QString::number(GetI32LE(record_ + kPrefSmallCaps)));
    superscript_->setText(QString::number(GetI32LE(record_ + kPrefSuperscript)));
    subscript_->setText(QString::number(GetI32LE(record_ + kPrefSubscript)));
    pasteWidth_->setText(QString::number(GetI32LE(record_ + kPrefPasteboardWidth)));
    pasteHeight_->setText(QString::number(GetI32LE(record_ + kPrefPasteboardHeight)));
    tabs_->setText(QString::number(GetI32LE(record_ + kPrefTabWidth)));
    autoSave_->setChecked(U32(record_, kPrefAutoSaveOn) != 0);
    pictureInto_->setChecked(U32(record_, kPrefPictureIntoDocument) != 0);
    smartQuotes_->setChecked(U32(record_, kPrefSmartQuotes) != 0);
    guidesBack_->setChecked(U32(record_, kPrefGuidesInBack) != 0);
    saveScale_->setChecked(U32(record_, kPrefSavePageScale) != 0);
    const uint32_t justify = U32(record_, kPrefJustify);
    if (justify <= 1)
        justify_[justify]->setChecked(true);
    const uint32_t breaking = U32(record_, kPrefHyphenation);
    if (breaking <= 1)
        breaking_[breaking]->setChecked(true);
    quotes_->setEnabled(smartQuotes_->isChecked());
    minutes_->setEnabled(autoSave_->isChecked());
}

void CDlgPreferences::PaintSwatch()
{
    const QSize size = guideColour_->size() - QSize(2 * kSwatchInset, 2 * kSwatchInset);
    QPixmap swatch(size.expandedTo(QSize(1, 1)));
    swatch.fill(ToQColor(guide_));
    guideColour_->setIcon(QIcon(swatch));
    guideColour_->setIconSize(swatch.size());
}

void CDlgPreferences::OnGuideColour()
{
    ColorRef colour = guide_;
    if (!chooser_ || !chooser_(&colour))
        return;
    guide_ = colour;
    PaintSwatch();
}

bool CDlgPreferences::Exchange(uint8_t* block)
{
    std::memcpy(block, record_, kGeneralPrefsSize);
    const struct {
        QLineEdit* edit;
        size_t offset;
    } numbers[] = {{minutes_, kPrefAutoSaveMinutes},   {smallCaps_, kPrefSmallCaps},
                   {superscript_, kPrefSuperscript},   {subscript_, kPrefSubscript},
                   {pasteWidth_, kPrefPasteboardWidth}, {pasteHeight_, kPrefPasteboardHeight},
                   {tabs_, kPrefTabWidth}};
    for (const auto& n : numbers) {
        int32_t v = 0;
        if (!ExchangeInt(n.edit, &v))
            return false;
        PutI32LE(block + n.offset, v);
    }
    PutI32LE(block + kPrefScrollSpeed, speed_->value());
    PutU32LE(block + kPrefAutoSaveOn, autoSave_->isChecked() ? 1 : 0);
    if (horizontal_->currentIndex() >= 0)
        PutU32LE(block + kPrefHorizontalUnit, uint32_t(horizontal_->currentIndex()));
    if (vertical_->currentIndex() >= 0)
        PutU32LE(block + kPrefVerticalUnit, uint32_t(vertical_->currentIndex()));
    PutU32LE(block + kPrefGuideColour, guide_);
    for (uint32_t i = 0; i < 2; ++i) {
        if (justify_[i]->isChecked())
            PutU32LE(block + kPrefJustify, i);
        if (breaking_[i]->isChecked())
            PutU32LE(block + kPrefHyphenation, i);
    }
    // The text wrap word follows the choice on every exchange.
    PutU32LE(block + kPrefTextWrap, breaking_[0]->isChecked() ? 1 : 0);
    PutU32LE(block + kPrefPictureIntoDocument, pictureInto_->isChecked() ? 1 : 0);
    if (quotes_->currentIndex() >= 0)
        PutU32LE(block + kPrefQuoteStyle, uint32_t(quotes_->currentIndex()));
    PutU32LE(block + kPrefSmartQuotes, smartQuotes_->isChecked() ? 1 : 0);
    PutU32LE(block + kPrefGuidesInBack, guidesBack_->isChecked() ? 1 : 0);
    PutU32LE(block + kPrefSavePageScale, saveScale_->isChecked() ? 1 : 0);
    return true;
}

void CDlgPreferences::OnMakeDefault()
{
    uint8_t block[kGeneralPrefsSize];
    if (!Exchange(block))
        return;
    if (const int32_t error = WriteDefPrefGeneral(block); error != 0)
        AlertFileError(error);
}

void CDlgPreferences::accept()
{
    uint8_t block[kGeneralPrefsSize];
    if (!Exchange(block))
        return;
    std::memcpy(record_, block, kGeneralPrefsSize);
    QDialog::accept();
}
