#include "dialogs/char_info_dialog.h"

#include <cstring>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/color_combo_box.h"
#include "dialogs/filtered_edit.h"
#include "dialogs/object_dialog_kit.h"
#include "platform/dc.h"
#include "typography/color_table.h"
#include "typography/font_combo_box.h"
#include "typography/font_list.h"
#include "typography/font_size_range.h"
#include "typography/font_table.h"
#include "typography/menu_bitmaps.h"

namespace {

constexpr int32_t kMixedColourShown = 15;
constexpr int32_t kMixedSizeShown = 12;
const char kSampleText[] = "Example";

// A combo's number; 0 for none, and no wider than the record's field.
int16_t NumberOf(const QString& text) { return int16_t(std::clamp(LeadingInteger(text), -32768, 32767)); }

bool IsMixed(int16_t v) { return v == kCharMixed || v == kCharMixedOther; }

QCheckBox* StyleBox(const char* text, const char* name, QWidget* parent)
{
    auto* box = new QCheckBox(QString::fromLatin1(text), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace

// --- CCharPreviewWnd ------------------------------------------------------

CCharPreviewWnd::CCharPreviewWnd(QWidget* parent) : SamplePane(265, 53, parent) {}

void CCharPreviewWnd::SetData(const CharInfoRecord* record, const char* text, const CharInfoDocument* document,
                              const FontList* fonts)
{
    record_ = record;
    text_ = text;
    document_ = document;
    fonts_ = fonts;
}

void CCharPreviewWnd::Draw(Dc* dc, const IntRect& c)
{
    dc->fillRect(c, Brush::Solid(PaletteColour(this, QPalette::Base)));
    if (!record_ || !text_)
        return;
    const CharInfoRecord& r = *record_;
    const ColorTable& table = TableOrDefaults(document_ ? document_->colors : nullptr);
    const ColorRef colour = Tint(table, r.colour < 0 ? kMixedColourShown : r.colour, IsMixed(r.shade) ? 100 : r.shade);

    LogFont font;
    if (fonts_)
        fonts_->GetLogFont(r.font < 0 ? 0 : r.font, ANSI_CHARSET, &font);
    const int32_t size = r.size > 0 ? r.size : kMixedSizeShown;
    int32_t height = int32_t(double(dc->getDeviceCaps(LOGPIXELSY)) / 72.0 * size);
    std::string text = text_;
    if (r.smallCaps && document_) {
        height = height * document_->smallCapsPercent / 100;
        for (char& ch : text)
            ch = char(std::toupper(static_cast<unsigned char>(ch)));
    }
    font.height = -height;
    font.weight = r.bold ? FW_BOLD : FW_NORMAL;
    font.italic = r.italic ? 1 : 0;
    font.underline = r.underlined ? 1 : 0;
    const LogFont oldFont = dc->selectFont(font);
    const TextMetrics metrics = dc->getTextMetrics();
    const ColorRef oldColour = dc->setTextColor(colour);
    const int32_t oldMode = dc->setBkMode(TRANSPARENT);
    const uint32_t oldAlign = dc->setTextAlign(TA_CENTER | TA_BASELINE);
    const int32_t x = c.right / 2;
    const int32_t y = (c.bottom + c.top - metrics.height) / 2 + metrics.ascent;
    int32_t offset = 0;
    if (document_ && r.subscript)
        offset = metrics.height * document_->subscriptPercent / 100;
    else if (document_ && r.superscript)
        offset = -(metrics.height * document_->superscriptPercent / 100);
    const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 1, kBlack});
    dc->moveTo(10, y);
    dc->lineTo(c.right - 10, y);
    dc->textOut(x, y + offset, text);
    dc->selectPen(oldPen);
    dc->setTextAlign(oldAlign);
    dc->setBkMode(oldMode);
    dc->setTextColor(oldColour);
    dc->selectFont(oldFont);
}

// --- CDlgCharInfo -----------------------------------------------------------

CDlgCharInfo::CDlgCharInfo(QWidget* parent) : RecordDialog("Character Info", "charInfoDialog", parent)
{
    font_ = Named(new CFontComboBox(this), "font");
    size_ = NumberCombo("size", this);
    for (const char* s : {"8", "10", "12", "14", "20", "24", "36", "48", "72"})
        size_->addItem(QString::fromLatin1(s));
    colour_ = Named(new CColorComboBox(this), "colour");
    shade_ = NumberCombo("shade", this);
    plain_ = StyleBox("Plain", "plain", this);
    bold_ = StyleBox("Bold", "bold", this);
    italic_ = StyleBox("Italic", "italic", this);
    underlined_ = StyleBox("Underlined", "underlined", this);
    outlined_ = StyleBox("Outlined", "outlined", this);
    shadowed_ = StyleBox("Shadowed", "shadowed", this);
    condensed_ = StyleBox("Condensed", "condensed", this);
    extended_ = StyleBox("Extended", "extended", this);
    smallCaps_ = StyleBox("Small Caps", "smallCaps", this);
    subscript_ = StyleBox("Subscript", "subscript", this);
    superscript_ = StyleBox("Superscript", "superscript", this);
    // Styles the text engine does not draw stay in the record but are not
    // offered.
    for (QCheckBox* hidden : {outlined_, shadowed_, condensed_, extended_}) {
        hidden->setVisible(false);
        hidden->setEnabled(false);
    }
    sample_ = new CCharPreviewWnd(this);

    auto* form = FormRows({{"Font :", font_}, {"Size :", size_}, {"Color :", colour_}, {"Shade :", shade_}});
    auto* styles = new QGroupBox(QStringLiteral("Style"), this);
    auto* styleGrid = new QGridLayout(styles);
    styleGrid->addWidget(plain_, 0, 0);
    styleGrid->addWidget(bold_, 1, 0);
    styleGrid->addWidget(italic_, 2, 0);
    styleGrid->addWidget(underlined_, 3, 0);
    styleGrid->addWidget(smallCaps_, 0, 1);
    styleGrid->addWidget(subscript_, 1, 1);
    styleGrid->addWidget(superscript_, 2, 1);
    auto* middle = new QGridLayout;
    middle->addLayout(form, 0, 0);
    middle->addWidget(styles, 0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sample_, 0, Qt::AlignHCenter);
    layout->addLayout(middle);
    layout->addLayout(OkCancelRow(this));

    connect(font_, &QComboBox::activated, this, [this] { FontChanged(); });
    connect(size_, &QComboBox::activated, this, [this](int index) {
        record_.flags |= kCharSize;
        record_.size = NumberOf((size_->itemText(index)));
        sample_->Redraw();
    });
    // A size or shade typed is the one taken, as one chosen from the list.
    connect(size_->lineEdit(), &QLineEdit::textEdited, this, [this] {
        record_.flags |= kCharSize;
        ReadControls();
        sample_->Redraw();
    });
    connect(shade_->lineEdit(), &QLineEdit::textEdited, this, [this] {
        record_.flags |= kCharShade;
        ReadControls();
        sample_->Redraw();
    });
    connect(shade_, &QComboBox::activated, this, [this](int index) {
        record_.flags |= kCharShade;
        record_.shade = NumberOf((shade_->itemText(index)));
        sample_->Redraw();
    });
    connect(colour_, &QComboBox::activated, this, [this](int index) {
        record_.flags |= kCharColour;
        record_.colour = int16_t(index);
        sample_->Redraw();
    });
    for (QCheckBox* box : {plain_, bold_, italic_, underlined_, outlined_, shadowed_, condensed_, extended_,
                           smallCaps_, subscript_, superscript_})
        connect(box, &QCheckBox::clicked, this, [this, box] { BoxClicked(box); });
}

void CDlgCharInfo::Open()
{
    if (!fontList_)
        fontList_ = GetGlobalFontList();
    colour_->SetColors(TableOrDefaults(document_.colors));
    font_->Initialize(fontList_, kTrueTypeMarkBitmap, kTrueTypeSilhouetteBitmap, kDeviceMarkBitmap,
                      kDeviceSilhouetteBitmap);
    font_->FillFontList();
    FillShadeCombo(shade_);
    sample_->SetData(&record_, kSampleText, &document_, fontList_);

    if (!record_.extendedStylesAllowed)
        for (QCheckBox* box : {subscript_, superscript_, smallCaps_, outlined_, shadowed_, condensed_, extended_})
            box->setEnabled(false);
    const struct {
        QCheckBox* box;
        uint8_t value;
    } boxes[] = {{plain_, record_.plain},         {bold_, record_.bold},         {italic_, record_.italic},
                 {underlined_, record_.underlined}, {outlined_, record_.outlined}, {shadowed_, record_.shadowed},
                 {condensed_, record_.condensed}, {extended_, record_.extended}, {smallCaps_, record_.smallCaps},
                 {subscript_, record_.subscript}, {superscript_, record_.superscript}};
    for (const auto& b : boxes)
        b.box->setChecked(b.value > 0);

    if (record_.colour == kCharMixed)
        colour_->setCurrentIndex(kMixedColourShown);
    else if (record_.colour == kCharMixedOther)
        colour_->setCurrentIndex(-1);
    else
        colour_->setCurrentIndex(record_.colour);

    incomingFont_ = record_.font;
    int32_t fontIndex = -1;
    FontSpec fontSpec;
    if (!IsMixed(record_.font) && document_.fonts && document_.fonts->Lookup(record_.font, &fontSpec) && fontList_)
        fontIndex = fontList_->FindFont(fontSpec.faceName, fontSpec.type);
    font_->setCurrentIndex(fontIndex);
    record_.font = int16_t(fontIndex);

    ShowComboNumber(size_, !IsMixed(record_.size), record_.size);
    ShowComboNumber(shade_, !IsMixed(record_.shade), record_.shade);
    FontChanged();
}

void CDlgCharInfo::FontChanged()
{
    record_.flags |= kCharFont;
    const QString remembered = size_->currentText();
    record_.font = int16_t(font_->currentIndex());
    size_->clear();
    if (record_.font < 0) {
        // Without a font there are no sizes to offer; the typed size stays.
        size_->setEditText(remembered);
        return;
    }
    std::vector<uint32_t> sizes;
    if (fontList_)
        fontList_->GetSizeList(record_.font, &sizes);
    for (uint32_t s : sizes)
        size_->addItem(QString::number(s));
    // A size the font's list lacks (6 pt where the list starts at 8) is
    // still the text's size: it is shown as it is, never the list's first.
    const int match = size_->findText(remembered, Qt::MatchExactly);
    size_->setCurrentIndex(match);
    if (match < 0)
        size_->setEditText(remembered);
    ReadControls();
    sample_->Redraw();
}

void CDlgCharInfo::ReadControls()
{
    record_.plain = plain_->isChecked();
    record_.bold = bold_->isChecked();
    record_.italic = italic_->isChecked();
    record_.underlined = underlined_->isChecked();
    record_.outlined = outlined_->isChecked();
    record_.shadowed = shadowed_->isChecked();
    record_.condensed = condensed_->isChecked();
    record_.extended = extended_->isChecked();
    record_.smallCaps = smallCaps_->isChecked();
    record_.subscript = subscript_->isChecked();
    record_.superscript = superscript_->isChecked();
    record_.colour = int16_t(colour_->currentIndex());
    record_.font = int16_t(font_->currentIndex());
    record_.size = NumberOf((size_->currentText()));
    record_.shade = NumberOf((shade_->currentText()));
}

void CDlgCharInfo::BoxClicked(QCheckBox* box)
{
    const bool on = box->isChecked();
    if (box == plain_) {
        if (on)
            for (QCheckBox* other : {bold_, italic_, underlined_, superscript_, subscript_, smallCaps_})
                other->setChecked(false);
        record_.flags |= kCharStyle;
    } else if (box == subscript_ || box == superscript_) {
        if (on) {
            (box == subscript_ ? superscript_ : subscript_)->setChecked(false);
            plain_->setChecked(false);
        }
        record_.flags |= kCharScript;
    } else if (box == smallCaps_) {
        if (on)
            plain_->setChecked(false);
        record_.flags |= kCharSmallCaps;
    } else {
        for (QCheckBox* styled : {bold_, italic_, underlined_, superscript_, subscript_, smallCaps_})
            if (styled->isChecked())
                plain_->setChecked(false);
        record_.flags |= kCharStyle;
    }
    ReadControls();
    sample_->Redraw();
}

bool CDlgCharInfo::TakeNumber(QComboBox* combo, uint32_t flag, int32_t minimum, int32_t maximum, int16_t* field)
{
    if (!(record_.flags & flag))
        return true;
    if (combo->currentText().trimmed().isEmpty()) {
        record_.flags &= ~flag;
        return true;
    }
    int32_t value = 0;
    if (!ExchangeIntInRange(combo->lineEdit(), &value, minimum, maximum))
        return false;
    *field = int16_t(value);
    return true;
}

void CDlgCharInfo::accept()
{
    ReadControls();
    // A size or shade is a whole number within its range, as the Other
    // Size and Other Shade prompts take it; anything else is refused with a
    // word and the dialog stays open. Left blank, the text keeps its own.
    if (!TakeNumber(size_, kCharSize, kMinFontSize, kMaxFontSize, &record_.size) ||
        !TakeNumber(shade_, kCharShade, 0, 100, &record_.shade))
        return;
    FontSpec fontSpec;
    if (record_.font >= 0 && fontList_ && document_.fonts && fontList_->GetFontSpec(record_.font, ANSI_CHARSET, &fontSpec)) {
        record_.font = int16_t(document_.fonts->GetFontId(&fontSpec));
    } else {
        // No font chosen over a selection of several: nothing to apply.
        record_.font = IsMixed(incomingFont_) ? incomingFont_ : int16_t(kCharMixed);
        record_.flags &= ~kCharFont;
    }
    QDialog::accept();
}
