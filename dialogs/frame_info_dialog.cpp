#include "dialogs/frame_info_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/color_combo_box.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/style_list_box.h"
#include "graphics/brush_state.h"
#include "graphics/fill_patterns.h"
#include "graphics/pen_state.h"
#include "graphics/placement_records.h"
#include "graphics/rect_shape.h"
#include "platform/dc.h"
#include "typography/color_table.h"

namespace {

constexpr ColorRef kSilver = 0xC0C0C0;
constexpr int16_t kWidestSample = 20;

}  // namespace

CFramePreviewWnd::CFramePreviewWnd(QWidget* parent) : SamplePane(106, 63, parent) {}

void CFramePreviewWnd::SetData(FrameInfoRecord* record, const ColorTable* table)
{
    record_ = record;
    table_ = table;
}

void CFramePreviewWnd::Draw(Dc* dc, const IntRect& client)
{
    dc->fillRect(client, Brush::Solid(kWhite));
    if (!record_)
        return;
    const FrameInfoRecord& r = *record_;
    const ColorTable& table = TableOrDefaults(table_);
    int32_t w = r.width < 21 ? r.width : kWidestSample;
    if (w <= 0)
        w = 2;
    const IntRect c{client.left + 3, client.top + 3, client.right - 3, client.bottom - 3};
    PenState pen(dc);
    BrushState brush(dc);
    pen.SetPen(kBlack, 2, PenState::kSetColour | PenState::kSetWidth);
    brush.SetSolid(kSilver);
    dc->rectangle(c.left + 70, c.top + 35, c.right - 5, c.bottom - 5);

    IntRect front{c.left + 5, c.top + 5, c.right - 35, c.bottom - 15};
    if (r.opaque)
        dc->fillRect(front, Brush::Solid(kWhite));
    const ColorRef border = Tint(table, r.colour, r.shade);
    const int32_t fillPattern = IsFillPattern(r.fillPattern) ? int32_t(r.fillPattern) : int32_t(kFillSolid);

    brush.Set(border, kWhite, r.borderPattern, BrushState::kSetText | BrushState::kSetBackground);
    pen.SetPen(border, 1, PenState::kSetColour | PenState::kSetWidth);
    const int32_t oldRop = dc->setRop2(R2_COPYPEN);
    PlacementBlock shape;
    shape.x = front.left;
    shape.y = front.top;
    shape.width = int16_t(front.right - front.left);
    shape.height = int16_t(front.bottom - front.top);
    shape.lineWidth = int16_t(w);
    shape.lineStyle = r.borderStyle;
    shape.sides = uint8_t((r.above ? kSideTop : 0) | (r.right ? kSideRight : 0) | (r.below ? kSideBottom : 0) |
                          (r.left ? kSideLeft : 0));
    DrawRectShape(dc, shape);

    if (r.left)
        front.left += w;
    if (r.above)
        front.top += w;
    if (r.right)
        front.right -= w;
    if (r.below)
        front.bottom -= w;
    const ColorRef back = r.opaque ? Tint(table, r.background, 100) : kWhite;
    dc->setRop2(r.opaque ? R2_COPYPEN : R2_MASKPEN);
    brush.Set(Tint(table, r.fillColour, r.fillShade), back, fillPattern,
              BrushState::kSetText | BrushState::kSetBackground);
    if (front.right > front.left && front.bottom > front.top)
        dc->paintRgn(Region::FromRect(front));
    dc->setRop2(oldRop);
}

CDlgFrameInfo::CDlgFrameInfo(QWidget* parent) : RecordDialog("Frame Information", "frameInfoDialog", parent)
{
    styles_ = Named(new CStyleListBox(this), "borderStyle");
    patterns_ = Named(new CStyleListBox(this), "pattern");
    colour_ = Named(new CColorComboBox(this), "colour");
    width_ = NumberCombo("width", this);
    shade_ = NumberCombo("shade", this);
    above_ = TriStateBox("Above", this);
    below_ = TriStateBox("Below", this);
    left_ = TriStateBox("Left", this);
    right_ = TriStateBox("Right", this);
    sample_ = new CFramePreviewWnd(this);

    auto* styleBox = GroupAround("Border Style", styles_, this);
    auto* patternBox = GroupAround("Pattern", patterns_, this);
    auto* form = FormRows({{"Color :", colour_}, {"Shade :", shade_}, {"Width :", width_}});
    auto* sides = new QGridLayout;
    sides->addWidget(above_, 0, 0);
    sides->addWidget(below_, 1, 0);
    sides->addWidget(left_, 0, 1);
    sides->addWidget(right_, 1, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(sample_);
    right->addLayout(form);
    right->addLayout(sides);
    auto* top = new QGridLayout;
    top->addWidget(styleBox, 0, 0);
    top->addWidget(patternBox, 0, 1);
    top->addLayout(right, 0, 2);
    SetBody(top);

    connect(above_, &QCheckBox::clicked, this, [this] { SideClicked(above_, &record_.above, kFieldAbove); });
    connect(below_, &QCheckBox::clicked, this, [this] { SideClicked(below_, &record_.below, kFieldBelow); });
    connect(left_, &QCheckBox::clicked, this, [this] { SideClicked(left_, &record_.left, kFieldLeftSide); });
    connect(right_, &QCheckBox::clicked, this, [this] { SideClicked(right_, &record_.right, kFieldRightSide); });
    connect(colour_, &QComboBox::activated, this, [this](int index) {
        if (!ready_)
            return;
        record_.colour = int16_t(index);
        record_.flags |= kFieldLineColour;
        sample_->Redraw();
    });
    connect(shade_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        record_.shade = int16_t(PercentOfText(text));
        record_.flags |= kFieldLineShade;
        sample_->Redraw();
    });
    connect(shade_, &QComboBox::activated, this, [this](int index) {
        record_.shade = int16_t(PercentOfText(shade_->itemText(index)));
        record_.flags |= kFieldLineShade;
        sample_->Redraw();
    });
    connect(width_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!ready_)
            return;
        record_.width = int16_t(PercentOfText(text));
        record_.flags |= kFieldLineWidth;
    });
    connect(width_, &QComboBox::activated, this, [this](int index) {
        record_.width = int16_t(PercentOfText(width_->itemText(index)));
        record_.flags |= kFieldLineWidth;
        sample_->Redraw();
    });
    connect(styles_, &QListWidget::itemSelectionChanged, this, [this] {
        const int row = SelectedRow(styles_);
        if (!ready_ || row < 0)
            return;
        record_.borderStyle = int16_t(row + 1);
        record_.flags |= kFieldBorderStyle;
        sample_->Redraw();
    });
    connect(patterns_, &QListWidget::itemSelectionChanged, this, [this] {
        const int row = SelectedRow(patterns_);
        if (!ready_ || row < 0)
            return;
        record_.borderPattern = int16_t(row);
        record_.flags |= kFieldBorderPattern;
        sample_->Redraw();
    });
}

void CDlgFrameInfo::Open()
{
    ready_ = false;
    const ColorTable& table = TableOrDefaults(record_.colorTable);
    const uint32_t known = record_.flags;
    styles_->Init(CStyleListBox::kModeBorderStyles, record_.sidesAllowed == 0 ? 6 : 9, 20, 208);
    patterns_->Init(CStyleListBox::kModePatterns, GetFillPatternCount(), 20, 246);
    colour_->SetColors(table);
    FillShadeCombo(shade_);
    FillLineWidthCombo(width_);
    sample_->SetData(&record_, record_.colorTable);

    if (known & kFieldBorderStyle)
        styles_->setCurrentRow(record_.borderStyle - 1);
    else
        record_.borderStyle = 1;
    if (known & kFieldBorderPattern)
        patterns_->setCurrentRow(record_.borderPattern);
    else
        record_.borderPattern = 0;
    if (!(known & kFieldLineColour))
        record_.colour = 0;
    colour_->setCurrentIndex(record_.colour);
    ShowComboNumber(shade_, known & kFieldLineShade, record_.shade);
    if (!(known & kFieldLineShade))
        record_.shade = 100;
    ShowComboNumber(width_, known & kFieldLineWidth, record_.width);
    if (!(known & kFieldLineWidth))
        record_.width = 1;

    const struct {
        QCheckBox* box;
        uint8_t* side;
        uint32_t bit;
    } sides[] = {{above_, &record_.above, kFieldAbove},
                 {below_, &record_.below, kFieldBelow},
                 {left_, &record_.left, kFieldLeftSide},
                 {right_, &record_.right, kFieldRightSide}};
    for (const auto& s : sides) {
        SetBoxState(s.box, known & s.bit ? (*s.side ? kBoxOn : kBoxOff) : kBoxMixed);
        if (record_.sidesAllowed == 0) {
            s.box->setEnabled(false);
            *s.side = 1;
            SetBoxState(s.box, kBoxOn);
        }
    }

    if (!(known & kFieldFillColour))
        record_.fillColour = 0;
    if (!(known & kFieldFillShade))
        record_.fillShade = 100;
    if (!(known & kFieldBackground))
        record_.background = 0;
    if (!(known & kFieldFillPattern))
        record_.fillPattern = 0;
    shown_ = known;
    record_.flags = 0;
    ready_ = true;
}

void CDlgFrameInfo::SideClicked(QCheckBox* box, uint8_t* side, uint32_t bit)
{
    if (!ready_)
        return;
    record_.flags |= bit;
    if (box->checkState() == Qt::PartiallyChecked)
        record_.flags &= ~bit;
    else
        *side = box->checkState() == Qt::Checked ? 1 : 0;
    sample_->Redraw();
}
