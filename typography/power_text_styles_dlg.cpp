#include "typography/power_text_styles_dlg.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "foundation/alert_sink.h"
#include "foundation/cp1252.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"
#include "typography/button_bitmap.h"
#include "typography/glyph_combos.h"
#include "typography/glyph_effects_sheet.h"
#include "typography/glyph_preview.h"
#include "typography/power_text_styles.h"

const char* const kStylesFileErrorText = "Failed to load Power text styles. File Error.";
const char* const kStylesMemoryErrorText = "Failed to load Power text styles. Memory Error.";
const char* const kStylesAddErrorText = "Failed To Add Style. Not enough memory.";
const char* const kStylesSaveErrorText = "Failed to save Power text styles. File Error.";

namespace {

// The lines the dialog hands back hold at most this many characters.
constexpr int kLineLength = 61;
constexpr char kCustomTitle[] = "Custom Style";

const char* const kAlignmentNames[4] = {"Left", "Center", "Right", "Justified"};

QPushButton* Button(const QString& text, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

PowerTextStylesDlg::PowerTextStylesDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Text Effects"));
    line1_ = new QLineEdit(this);
    line1_->setObjectName(QStringLiteral("Line1"));
    line2_ = new QLineEdit(this);
    line2_->setObjectName(QStringLiteral("Line2"));
    for (QLineEdit* e : {line1_, line2_})
        e->setMaxLength(kLineLength);
    font_ = new QComboBox(this);
    font_->setObjectName(QStringLiteral("Font"));
    shape_ = new QComboBox(this);
    shape_->setObjectName(QStringLiteral("Shape"));
    for (int s = 1; s <= kGlyphShapeCount; ++s)
        shape_->addItem(QString::fromLatin1(GlyphShapeName(s)));
    alignment_ = new QComboBox(this);
    alignment_->setObjectName(QStringLiteral("Alignment"));
    FillNameCombo(alignment_, kAlignmentNames, 4);
    horizontal_ = new QRadioButton(QStringLiteral("Horizontal"), this);
    horizontal_->setObjectName(QStringLiteral("Horizontal"));
    vertical_ = new QRadioButton(QStringLiteral("Vertical"), this);
    vertical_->setObjectName(QStringLiteral("Vertical"));
    previous_ = Button(QString(), "L", this);
    SetButtonBitmap(previous_, 521);
    next_ = Button(QString(), "R", this);
    SetButtonBitmap(next_, 520);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("StyleLabel"));
    label_->setAlignment(Qt::AlignCenter);
    add_ = Button(QStringLiteral("Add Style"), "Add Style", this);
    delete_ = Button(QStringLiteral("Delete Style"), "Delete Style", this);
    custom_ = Button(QStringLiteral("Custom Style..."), "Custom Style...", this);
    previewArea_ = new QFrame(this);
    static_cast<QFrame*>(previewArea_)->setFrameShape(QFrame::Box);
    previewArea_->setObjectName(QStringLiteral("Preview"));
    previewArea_->setMinimumSize(320, 120);
    auto* previewLayout = new QVBoxLayout(previewArea_);
    previewLayout->setContentsMargins(2, 2, 2, 2);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Line 1"), line1_);
    form->addRow(QStringLiteral("Line 2"), line2_);
    form->addRow(QStringLiteral("Font"), font_);
    form->addRow(QStringLiteral("Shape"), shape_);
    form->addRow(QStringLiteral("Alignment"), alignment_);
    auto* orientation = new QHBoxLayout;
    orientation->addWidget(horizontal_);
    orientation->addWidget(vertical_);
    form->addRow(QString(), orientation);
    auto* stepper = new QHBoxLayout;
    stepper->addWidget(previous_);
    stepper->addWidget(label_, 1);
    stepper->addWidget(next_);
    auto* styleButtons = new QHBoxLayout;
    styleButtons->addWidget(add_);
    styleButtons->addWidget(delete_);
    styleButtons->addWidget(custom_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(previewArea_, 1);
    column->addLayout(stepper);
    column->addLayout(styleButtons);
    column->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &PowerTextStylesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(previous_, &QPushButton::clicked, this, [this] { OnPrevious(); });
    connect(next_, &QPushButton::clicked, this, [this] { OnNext(); });
    connect(add_, &QPushButton::clicked, this, [this] { OnAddStyle(); });
    connect(delete_, &QPushButton::clicked, this, [this] { OnDeleteStyle(); });
    connect(custom_, &QPushButton::clicked, this, [this] { OnCustomStyle(); });
    connect(font_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!initialised_)
            return;
        effect_.fontId = int16_t(index >= 0 ? font_->itemData(index).toInt() : 0);
        keepFont_ = false;
        Redraw();
    });
    connect(shape_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!initialised_ || index < 0)
            return;
        effect_.shape = uint16_t(index + 1);
        Redraw();
    });
    connect(alignment_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!initialised_ || index < 0)
            return;
        effect_.alignment = uint16_t(index + 1);
        Redraw();
    });
    connect(horizontal_, &QRadioButton::toggled, this, [this] { OnOrientation(); });
    // The preview follows the lines as they are typed.
    for (QLineEdit* e : {line1_, line2_}) {
        connect(e, &QLineEdit::textEdited, this, [this, e] {
            SetGlyphLine(e == line1_ ? effect_.line1 : effect_.line2, QStringToCp1252(e->text()), kLineLength);
            Redraw();
        });
    }
}

void PowerTextStylesDlg::SetEffect(const GlyphEffect* effect, Handle styles, const GlyphDocument& document)
{
    effect_ = effect ? *effect : GlyphEffect{};
    documentFontId_ = effect_.fontId;
    styles_ = styles;
    count_ = PowerTextStyleCount(styles_);
    document_ = document;
    if (PowerTextStylesPath(&path_) != kErrNone)
        path_ = PathRecord{};
}

void PowerTextStylesDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!initialised_)
        OnInitDialog();
}

void PowerTextStylesDlg::LoadStyles()
{
    if (!path_.name[0])
        return;
    // A missing file is first written from the built-in styles; when that
    // fails the list stays empty.
    EnsurePowerTextStylesFile(path_);
    if (!FileExists(&path_, 0))
        return;
    // A file that cannot be read is left as it is on OK too: writing back
    // what was read would lose the styles it holds.
    FileHandle file = kNoFile;
    if (FileOpen(&path_, kFileRead, &file) != kErrNone) {
        unreadable_ = true;
        ShowMessageBox(kStylesFileErrorText, kMbOk);
        return;
    }
    if (styles_ && ReadPowerTextStyles(file, styles_) != kErrNone) {
        unreadable_ = true;
        ShowMessageBox(kStylesMemoryErrorText, kMbOk);
    }
    FileClose(file);
    count_ = PowerTextStyleCount(styles_);
}

void PowerTextStylesDlg::SelectFont()
{
    const GlyphFontList* list = CurrentGlyphFontList();
    font_->clear();
    if (!list) {
        effect_.fontId = -1;
        return;
    }
    for (int32_t i = 0; i < list->Count(); ++i) {
        FontSpec face;
        if (list->GetFontSpec(i, DEFAULT_CHARSET, &face))
            font_->addItem(Cp1252ToQString(face.faceName), i);
    }
    int32_t index = -1;
    FontSpec face;
    if (effect_.fontId >= 0 && document_.fonts && document_.fonts->Lookup(effect_.fontId, &face)) {
        index = list->FindFont(face.faceName, face.type);
        // A document font this machine lacks shows as the first TrueType
        // font, but the record keeps it unless another is chosen.
        keepFont_ = index < 0;
    } else if (effect_.fontId >= 0) {
        index = list->FindFont("Arial", kFontTypeTrueType);
    }
    if (index < 0)
        index = list->FindFont("", kFontTypeTrueType);
    font_->setCurrentIndex(font_->findData(index));
    effect_.fontId = int16_t(index);
}

void PowerTextStylesDlg::OnInitDialog()
{
    LoadStyles();
    current_ = FindPowerTextStyle(styles_, effect_.style);
    preview_ = new CGlyphPreviewWnd(previewArea_);
    previewArea_->layout()->addWidget(preview_);
    previewArea_->layout()->activate();
    preview_->SetEffect(&effect_, document_.tints);
    preview_->show();
    SelectFont();
    if (effect_.alignment < 1)
        effect_.alignment = 1;
    if (effect_.shape < 1)
        effect_.shape = 1;
    shape_->setCurrentIndex(effect_.shape <= kGlyphShapeCount ? effect_.shape - 1 : -1);
    alignment_->setCurrentIndex(effect_.alignment <= 4 ? effect_.alignment - 1 : -1);
    if (GlyphIsHorizontal(effect_))
        horizontal_->setChecked(true);
    else
        vertical_->setChecked(true);
    UpdateLabel();
    line1_->setText(Cp1252ToQString(GlyphLineText(effect_.line1)));
    line2_->setText(Cp1252ToQString(GlyphLineText(effect_.line2)));
    initialised_ = true;
    UpdateButtons();
}

void PowerTextStylesDlg::UpdateLabel()
{
    label_->setText(current_ == -1 ? QStringLiteral("Custom") : QString::asprintf("%i of %i", current_, count_));
}

void PowerTextStylesDlg::UpdateButtons()
{
    const bool custom = current_ == -1;
    delete_->setEnabled(!custom && current_ >= 1);
    add_->setEnabled(custom);
    previous_->setEnabled(!custom && current_ >= 2);
    next_->setEnabled(!custom && current_ < count_);
    if (vertical_->isChecked()) {
        const QSignalBlocker block(shape_);
        shape_->setCurrentIndex(0);
        shape_->setEnabled(false);
        effect_.shape = 1;
    } else {
        shape_->setEnabled(true);
    }
}

void PowerTextStylesDlg::ShowStyle()
{
    GetPowerTextStyle(styles_, current_, &effect_.style);
    UpdateLabel();
    UpdateButtons();
    Redraw();
}

void PowerTextStylesDlg::Redraw()
{
    if (preview_)
        preview_->Redraw();
}

void PowerTextStylesDlg::OnPrevious()
{
    if (current_ < 2)
        return;
    --current_;
    ShowStyle();
}

void PowerTextStylesDlg::OnNext()
{
    if (current_ == -1 || current_ >= count_)
        return;
    ++current_;
    ShowStyle();
}

void PowerTextStylesDlg::OnAddStyle()
{
    if (!styles_ || count_ >= INT16_MAX ||
        HandleResize(styles_, int32_t((count_ + 1) * kGlyphStyleSize)) != 0) {
        ShowMessageBox(kStylesAddErrorText, kMbOk);
        return;
    }
    ++count_;
    current_ = int16_t(count_);
    SetPowerTextStyle(styles_, current_, effect_.style);
    UpdateLabel();
    UpdateButtons();
}

void PowerTextStylesDlg::OnDeleteStyle()
{
    if (current_ < 1 || current_ > count_)
        return;
    uint8_t* data = HandleData(styles_);
    const size_t at = size_t(current_ - 1) * kGlyphStyleSize;
    const size_t end = size_t(count_) * kGlyphStyleSize;
    std::copy(data + at + kGlyphStyleSize, data + end, data + at);
    if (current_ == count_)
        --current_;
    --count_;
    HandleResize(styles_, int32_t(count_ * kGlyphStyleSize));
    ShowStyle();
}

bool PowerTextStylesDlg::EditCustomStyle(GlyphEffect* effect)
{
    CDlgGlyphEffects sheet(QString::fromLatin1(kCustomTitle), this);
    sheet.SetEffect(effect, document_.tints);
    sheet.Prepare();
    if (sheet.exec() != QDialog::Accepted)
        return false;
    sheet.GetEffect(effect);
    return true;
}

void PowerTextStylesDlg::OnCustomStyle()
{
    GlyphEffect edited = effect_;
    if (!EditCustomStyle(&edited))
        return;
    effect_.style = edited.style;
    current_ = FindPowerTextStyle(styles_, effect_.style);
    UpdateLabel();
    UpdateButtons();
    Redraw();
}

void PowerTextStylesDlg::OnOrientation()
{
    if (!initialised_)
        return;
    if (horizontal_->isChecked())
        effect_.orientation |= kGlyphHorizontal;
    else
        effect_.orientation &= uint16_t(~kGlyphHorizontal);
    UpdateButtons();
    Redraw();
}

void PowerTextStylesDlg::accept()
{
    // Back to a document font; a font list index that names no font keeps
    // the font the record came with.
    const GlyphFontList* list = CurrentGlyphFontList();
    FontSpec face;
    int32_t id = -1;
    if (!keepFont_ && list && effect_.fontId >= 0 && effect_.fontId < list->Count() &&
        list->GetFontSpec(effect_.fontId, DEFAULT_CHARSET, &face) && document_.fonts)
        id = document_.fonts->GetFontId(face);
    effect_.fontId = int16_t(id >= 0 && id <= INT16_MAX ? id : documentFontId_);
    SetGlyphLine(effect_.line1, QStringToCp1252(line1_->text()), kLineLength);
    SetGlyphLine(effect_.line2, QStringToCp1252(line2_->text()), kLineLength);
    if (styles_ && !unreadable_ && (!path_.name[0] || SavePowerTextStyles(path_, styles_) != kErrNone))
        ShowMessageBox(kStylesSaveErrorText, kMbOk);
    QDialog::accept();
}
