#include "dialogs/fill_info_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/color_combo_box.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/style_list_box.h"
#include "graphics/brush_state.h"
#include "graphics/fill_patterns.h"
#include "graphics/pen_state.h"
#include "platform/dc.h"
#include "typography/color_table.h"

namespace {

constexpr ColorRef kSilver = 0xC0C0C0;

}  // namespace

CFillPreviewWnd::CFillPreviewWnd(QWidget* parent) : SamplePane(111, 61, parent) {}

void CFillPreviewWnd::SetData(FillInfoRecord* record, const ColorTable* table)
{
    record_ = record;
    table_ = table;
}

void CFillPreviewWnd::Draw(Dc* dc, const IntRect& c)
{
    dc->fillRect(c, Brush::Solid(kWhite));
    if (!record_)
        return;
    const ColorTable& table = TableOrDefaults(table_);
    PenState pen(dc);
    BrushState brush(dc);
    pen.SetPen(kBlack, 2, PenState::kSetColour | PenState::kSetWidth);
    brush.SetSolid(kSilver);
    dc->rectangle(c.left + 70, c.top + 35, c.right - 5, c.bottom - 5);

    if (!IsFillPattern(record_->pattern))
        record_->pattern = kFillHollow;
    const bool opaque = record_->opaque > 0;
    const ColorRef back = opaque ? Tint(table, record_->background, 100) : kWhite;
    const int32_t oldRop = dc->setRop2(opaque ? R2_COPYPEN : R2_MASKPEN);
    const ColorRef fore = Tint(table, record_->colour, record_->shade);
    brush.Set(fore, back, record_->pattern, BrushState::kSetText | BrushState::kSetBackground);
    dc->rectangle(c.left + 5, c.top + 5, c.right - 50, c.bottom - 15);
    dc->setRop2(oldRop);
}

CDlgFillInfo::CDlgFillInfo(QWidget* parent) : RecordDialog("Fill Information", "fillInfoDialog", parent)
{
    patterns_ = Named(new CStyleListBox(this), "pattern");
    colour_ = Named(new CColorComboBox(this), "colour");
    background_ = Named(new CColorComboBox(this), "background");
    shade_ = NumberCombo("shade", this);
    opaque_ = new QRadioButton(QStringLiteral("Opaque"), this);
    clear_ = new QRadioButton(QStringLiteral("Clear"), this);
    sample_ = new CFillPreviewWnd(this);

    auto* patternBox = new QGroupBox(QStringLiteral("Pattern"), this);
    auto* patternLayout = new QVBoxLayout(patternBox);
    patternLayout->addWidget(patterns_);
    auto* visibility = new QGroupBox(QStringLiteral("Visibility"), this);
    auto* visibilityLayout = new QVBoxLayout(visibility);
    visibilityLayout->addWidget(opaque_);
    visibilityLayout->addWidget(clear_);
    auto* form = FormRows({{"Color :", colour_}, {"Background :", background_}, {"Shade :", shade_}});
    auto* sampleBox = new QGroupBox(QStringLiteral("Sample"), this);
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    sampleLayout->addWidget(sample_);
    auto* grid = new QGridLayout;
    grid->addWidget(patternBox, 0, 0, 2, 1);
    grid->addWidget(sampleBox, 0, 1);
    grid->addLayout(form, 1, 1);
    grid->addWidget(visibility, 2, 1);
    SetBody(grid);

    connect(opaque_, &QRadioButton::clicked, this, [this] { VisibilityClicked(false); });
    connect(clear_, &QRadioButton::clicked, this, [this] { VisibilityClicked(true); });
    connect(colour_, &QComboBox::activated, this, [this](int index) {
        if (!ready_)
            return;
        record_.colour = index;
        record_.flags |= kFieldFillColour;
        sample_->Redraw();
    });
    connect(background_, &QComboBox::activated, this, [this](int index) {
        if (!ready_)
            return;
        record_.background = index;
        record_.flags |= kFieldBackground;
        sample_->Redraw();
    });
    connect(shade_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!ready_)
            return;
        record_.flags |= kFieldFillShade;
        record_.shade = PercentOfText(text);
        sample_->Redraw();
    });
    connect(shade_, &QComboBox::activated, this, [this](int index) {
        record_.shade = PercentOfText(shade_->itemText(index));
        record_.flags |= kFieldFillShade;
        sample_->Redraw();
    });
    connect(patterns_, &QListWidget::itemSelectionChanged, this, [this] {
        const int row = SelectedRow(patterns_);
        if (!ready_ || row < 0)
            return;
        record_.pattern = row;
        record_.flags |= kFieldFillPattern;
        sample_->Redraw();
    });
}

void CDlgFillInfo::Open()
{
    ready_ = false;
    const ColorTable& table = TableOrDefaults(record_.colorTable);
    patterns_->Init(CStyleListBox::kModePatterns, GetFillPatternCount(), 20, 246);
    colour_->SetColors(table);
    background_->SetColors(table);
    FillShadeCombo(shade_);
    sample_->SetData(&record_, record_.colorTable);

    if (record_.flags & kFieldFillPattern) {
        patterns_->setCurrentRow(record_.pattern);
    } else {
        record_.pattern = 0;
        patterns_->setCurrentRow(-1);
    }
    if (!(record_.flags & kFieldFillColour))
        record_.colour = 0;
    colour_->setCurrentIndex(record_.colour);
    if (!(record_.flags & kFieldBackground))
        record_.background = 0;
    background_->setCurrentIndex(record_.background);
    if (record_.flags & kFieldOpaque) {
        opaque_->setChecked(record_.opaque > 0);
        clear_->setChecked(record_.opaque <= 0);
    } else {
        // Radio buttons of one parent keep one checked; none is until the
        // user chooses.
        opaque_->setAutoExclusive(false);
        clear_->setAutoExclusive(false);
        opaque_->setChecked(false);
        clear_->setChecked(false);
        opaque_->setAutoExclusive(true);
        clear_->setAutoExclusive(true);
    }
    ShowComboNumber(shade_, record_.flags & kFieldFillShade, record_.shade);
    shown_ = record_.flags;
    record_.flags = 0;
    ready_ = true;
}

void CDlgFillInfo::VisibilityClicked(bool clear)
{
    record_.opaque = opaque_->isChecked() ? 1 : 0;
    if (clear) {
        record_.pattern = kFillHollow;
        const bool wasReady = ready_;
        ready_ = false;
        patterns_->setCurrentRow(kFillHollow);
        ready_ = wasReady;
        record_.flags |= kFieldFillPattern;
    }
    record_.flags |= kFieldOpaque;
    sample_->Redraw();
}
