#include "dialogs/line_info_dialog.h"

#include <cstring>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "dialogs/color_combo_box.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/style_list_box.h"
#include "foundation/alerts.h"
#include "graphics/brush_state.h"
#include "graphics/fill_patterns.h"
#include "graphics/frame_border.h"
#include "graphics/pen_state.h"
#include "platform/dc.h"
#include "platform/menus.h"
#include "resources/artwork_resources.h"
#include "typography/icon_menu.h"
#include "typography/menu_bitmaps.h"

namespace {

constexpr int32_t kCapCount = 7;
constexpr int32_t kCapCellWidth = 25;
constexpr int32_t kCapCellHeight = 20;
constexpr int16_t kPaneLineWidth = 10;

CFloatEdit* PointEdit(int32_t id, const char* name, QWidget* parent)
{
    auto* edit = new CFloatEdit(parent);
    edit->SetControlId(id);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

}  // namespace

// Bitmaps 26020 (left ends) and 179 (right ends): the seven caps, one
// 25 x 20 cell each, top to bottom.
QImage CapMenuStrip(bool leftEnd)
{
    const QImage strip = LoadResourceBitmap(leftEnd ? 26020 : 179);
    return strip.isNull() ? strip : strip.convertToFormat(QImage::Format_RGB32);
}

// --- CLineCapsWnd ---------------------------------------------------------

CLineCapsWnd::CLineCapsWnd(QWidget* parent) : SamplePane(100, 56, parent)
{
    setObjectName(QStringLiteral("capsPane"));
    setCursor(Qt::PointingHandCursor);
}

void CLineCapsWnd::Setup(const IntRect& leftArea, const IntRect& rightArea, const ColorTable* table)
{
    left_ = leftArea;
    right_ = rightArea;
    table_ = table;
    font_ = LogFont{};
    font_.height = 14;
    font_.weight = FW_NORMAL;
    font_.charSet = ANSI_CHARSET;
    std::strcpy(font_.faceName, "Arial");
}

void CLineCapsWnd::SetData(const LineInfoRecord* record)
{
    if (record)
        record_ = *record;
}

void CLineCapsWnd::Draw(Dc* dc, const IntRect& c)
{
    const ColorRef window = PaletteColour(this, QPalette::Base);
    dc->fillRect(c, Brush::Solid(window));
    const LogFont oldFont = dc->selectFont(font_);
    const TextMetrics metrics = dc->getTextMetrics();
    const uint32_t oldAlign = dc->setTextAlign(TA_CENTER | TA_BOTTOM);
    const int32_t oldMode = dc->setBkMode(TRANSPARENT);
    const ColorRef oldText = dc->setTextColor(PaletteColour(this, QPalette::Text));
    dc->textOut((c.left + c.right) / 2, c.bottom - 5 - metrics.externalLeading, "Click Left\\Right Caps");
    dc->setTextColor(oldText);
    dc->setBkMode(oldMode);
    dc->setTextAlign(oldAlign);
    dc->selectFont(oldFont);

    const ColorTable& table = TableOrDefaults(table_);
    const ColorRef colour = Tint(table, record_.colour, record_.shade);
    PenState pen(dc);
    BrushState brush(dc);
    pen.SetPen(colour, 1, PenState::kSetColour | PenState::kSetWidth);
    brush.Set(colour, window, IsFillPattern(record_.pattern) ? record_.pattern : int32_t(kFillSolid),
              BrushState::kSetText | BrushState::kSetBackground);
    LineRecord line;
    const int32_t y = c.bottom / 2 + 7;
    line.start = IntPoint{c.left + 7, y};
    line.end = IntPoint{c.right - 7, y};
    line.leftCap = uint8_t(record_.leftCap & 0xF);
    line.rightCap = uint8_t(record_.rightCap & 0xF);
    line.lineWidth = kPaneLineWidth;
    line.lineStyle = int16_t(record_.borderStyle);
    DrawFrameBorder(dc, line, 0);
}

void CLineCapsWnd::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    lastClick_ = mapToGlobal(p);
    // The left area ends where the right one starts.
    if (p.x() >= left_.left && p.x() < left_.right && p.y() >= left_.top && p.y() < left_.bottom)
        Q_EMIT CapsClicked(lastClick_, true);
    else if (p.x() >= right_.left && p.x() < right_.right && p.y() >= right_.top && p.y() < right_.bottom)
        Q_EMIT CapsClicked(lastClick_, false);
    SamplePane::mousePressEvent(event);
}

// --- CDlgLineInfo -----------------------------------------------------------

CDlgLineInfo::CDlgLineInfo(QWidget* parent) : RecordDialog("Line Information", "lineInfoDialog", parent)
{
    styles_ = Named(new CStyleListBox(this), "style");
    patterns_ = Named(new CStyleListBox(this), "pattern");
    colour_ = Named(new CColorComboBox(this), "colour");
    shade_ = NumberCombo("shade", this);
    width_ = NumberCombo("width", this);
    printable_ = TriStateBox("Printable", this);
    locked_ = TriStateBox("Locked", this);
    visible_ = TriStateBox("Visible", this);
    units_ = Named(new QComboBox(this), "units");
    leftAcross_ = PointEdit(1241, "leftAcross", this);
    leftDown_ = PointEdit(1242, "leftDown", this);
    rightAcross_ = PointEdit(1243, "rightAcross", this);
    rightDown_ = PointEdit(1244, "rightDown", this);
    caps_ = new CLineCapsWnd(this);
    leftMenu_ = new IconMenu(this);
    rightMenu_ = new IconMenu(this);

    auto* styleBox = GroupAround("Style", styles_, this);
    auto* patternBox = GroupAround("Pattern", patterns_, this);
    auto* capsBox = GroupAround("Caps && Way", caps_, this);
    auto* attributes = FormRows({{"Color :", colour_}, {"Shade :", shade_}, {"Width :", width_}, {"Units :", units_}});
    auto* leftEnd = new QGroupBox(QStringLiteral("Left End Point"), this);
    auto* leftForm = new QFormLayout(leftEnd);
    leftForm->addRow(QStringLiteral("Across :"), leftAcross_);
    leftForm->addRow(QStringLiteral("Down :"), leftDown_);
    auto* rightEnd = new QGroupBox(QStringLiteral("Right End Point"), this);
    auto* rightForm = new QFormLayout(rightEnd);
    rightForm->addRow(QStringLiteral("Across :"), rightAcross_);
    rightForm->addRow(QStringLiteral("Down :"), rightDown_);
    auto* boxes = new QVBoxLayout;
    boxes->addWidget(printable_);
    boxes->addWidget(locked_);
    boxes->addWidget(visible_);
    auto* grid = new QGridLayout;
    grid->addWidget(styleBox, 0, 0, 2, 1);
    grid->addWidget(patternBox, 0, 1, 2, 1);
    grid->addWidget(capsBox, 0, 2);
    grid->addLayout(attributes, 1, 2);
    grid->addWidget(leftEnd, 2, 0);
    grid->addWidget(rightEnd, 2, 1);
    grid->addLayout(boxes, 2, 2);
    SetBody(grid);

    fields_.AddLength(rightDown_, &record_.rightDown, 4);
    fields_.AddLength(rightAcross_, &record_.rightAcross, 8);
    fields_.AddLength(leftDown_, &record_.leftDown, kFieldOriginDown);
    fields_.AddLength(leftAcross_, &record_.leftAcross, kFieldOriginAcross);

    for (CFloatEdit* e : {leftAcross_, leftDown_, rightAcross_, rightDown_})
        connect(e, &CFilteredEdit::EditChanged, this, [this] {
            record_.flags |= fields_.ReadModified();
            UpdatePane();
        });
    connect(caps_, &CLineCapsWnd::CapsClicked, this,
            [this](QPoint at, bool leftEnd) { OpenCapMenu(at + QPoint(5, 5), leftEnd); });
    for (IconMenu* menu : {leftMenu_, rightMenu_})
        connect(menu, &QMenu::triggered, this, [this](QAction* action) { CapCommand(MenuGetCommandId(action)); });
    connect(units_, &QComboBox::activated, this, [this](int index) { UnitsChosen(index); });
    connect(styles_, &QListWidget::itemSelectionChanged, this, [this] {
        const int row = SelectedRow(styles_);
        if (!ready_ || row < 0)
            return;
        record_.borderStyle = row + 1;
        record_.flags |= kFieldBorderStyle;
        UpdatePane();
    });
    connect(patterns_, &QListWidget::itemSelectionChanged, this, [this] {
        const int row = SelectedRow(patterns_);
        if (!ready_ || row < 0)
            return;
        record_.pattern = row;
        record_.flags |= kFieldBorderPattern;
        UpdatePane();
    });
    connect(colour_, &QComboBox::activated, this, [this](int index) {
        if (!ready_)
            return;
        record_.colour = index;
        record_.flags |= kFieldLineColour;
        UpdatePane();
    });
    const auto shadeText = [this](const QString& text) {
        if (!ready_)
            return;
        record_.shade = PercentOfText(text);
        record_.flags |= kFieldLineShade;
        UpdatePane();
    };
    connect(shade_->lineEdit(), &QLineEdit::textEdited, this, shadeText);
    connect(shade_, &QComboBox::activated, this, [this, shadeText](int i) { shadeText(shade_->itemText(i)); });
    const auto widthText = [this](const QString& text) {
        if (!ready_)
            return;
        record_.width = PercentOfText(text);
        record_.flags |= kFieldLineWidth;
    };
    connect(width_->lineEdit(), &QLineEdit::textEdited, this, widthText);
    connect(width_, &QComboBox::activated, this, [this, widthText](int i) { widthText(width_->itemText(i)); });
    connect(printable_, &QCheckBox::clicked, this, [this] { BoxClicked(printable_, kFieldPrintable); });
    connect(locked_, &QCheckBox::clicked, this, [this] { BoxClicked(locked_, kFieldLocked); });
    connect(visible_, &QCheckBox::clicked, this, [this] { BoxClicked(visible_, kFieldVisible); });
}

void CDlgLineInfo::Open()
{
    ready_ = false;
    const uint32_t known = record_.flags;
    FillUnitsCombo(units_);
    units_->setCurrentIndex(record_.units >= 0 && record_.units < units_->count() ? record_.units : 0);
    fields_.SetPointsPerUnit(PointsPerUnit(record_.units));
    styles_->Init(CStyleListBox::kModeBorderStyles, 9, 20, 208);
    patterns_->Init(CStyleListBox::kModePatterns, GetFillPatternCount(), 20, 246);
    colour_->SetColors(table_);
    FillShadeCombo(shade_);
    FillLineWidthCombo(width_);

    if (known & kFieldBorderStyle)
        styles_->setCurrentRow(record_.borderStyle - 1);
    else
        record_.borderStyle = 1;
    if (known & kFieldBorderPattern)
        patterns_->setCurrentRow(record_.pattern);
    else
        record_.pattern = 0;
    if (!(known & kFieldLineColour))
        record_.colour = 0;
    colour_->setCurrentIndex(record_.colour);

    const int32_t half = caps_->width() / 2;
    caps_->Setup(IntRect{0, 0, half, caps_->height()}, IntRect{half, 0, caps_->width(), caps_->height()}, &table_);
    caps_->SetData(&record_);

    const bool leftBuilt =
        leftMenu_->AddIconItem(CapMenuStrip(true), kCapCount, kCapCellWidth, kCapCellHeight, kMenuCheckIcon,
                               kCapCommandFirst, kCapCommandLast, true) != 0;
    const bool rightBuilt =
        rightMenu_->AddIconItem(CapMenuStrip(false), kCapCount, kCapCellWidth, kCapCellHeight, kMenuCheckIcon,
                                kCapCommandFirst, kCapCommandLast, true) != 0;
    if (!leftBuilt || !rightBuilt)
        AlertNote("Popup Initialization failed", 0);
    for (IconMenu* menu : {leftMenu_, rightMenu_})
        for (QAction* action : menu->actions())
            action->setCheckable(true);

    fields_.SetupAll();
    fields_.BlankUnknown(known);
    ShowComboNumber(shade_, known & kFieldLineShade, record_.shade);
    ShowComboNumber(width_, known & kFieldLineWidth, record_.width);
    SetBoxState(printable_, known & kFieldPrintable ? record_.printable : kBoxMixed);
    SetBoxState(locked_, known & kFieldLocked ? record_.locked : kBoxMixed);
    SetBoxState(visible_, known & kFieldVisible ? record_.visible : kBoxMixed);
    if (record_.endPointLock > 1) {
        rightAcross_->setEnabled(false);
        rightDown_->setEnabled(false);
    }
    shown_ = known;
    record_.flags = 0;
    ready_ = true;
}

void CDlgLineInfo::UpdatePane()
{
    caps_->SetData(&record_);
    caps_->Redraw();
}

void CDlgLineInfo::OpenCapMenu(QPoint screenPoint, bool leftEnd)
{
    IconMenu* menu = leftEnd ? leftMenu_ : rightMenu_;
    menuEnd_ = leftEnd ? 1 : 2;
    const int32_t cap = leftEnd ? record_.leftCap : record_.rightCap;
    for (QAction* action : menu->actions())
        action->setChecked(MenuGetCommandId(action) == kCapCommandFirst + uint32_t(cap));
    menu->popup(screenPoint);
}

bool CDlgLineInfo::CapCommand(uint32_t id)
{
    if (menuEnd_ == 0 || id < kCapCommandFirst || id > kCapCommandLast)
        return false;
    const int32_t cap = int32_t(id - kCapCommandFirst);
    if (menuEnd_ == 1) {
        record_.leftCap = cap;
        record_.flags |= kFieldLeftSide;
    } else {
        record_.rightCap = cap;
        record_.flags |= kFieldRightSide;
    }
    menuEnd_ = 0;
    UpdatePane();
    return true;
}

void CDlgLineInfo::UnitsChosen(int index)
{
    if (index < 0 || index == record_.units)
        return;
    record_.units = index;
    fields_.SetPointsPerUnit(PointsPerUnit(index));
    record_.flags |= kFieldUnitsChanged;
    shown_ |= record_.flags;
    const bool wasReady = ready_;
    ready_ = false;
    fields_.ShowLengths(shown_);
    ready_ = wasReady;
}

void CDlgLineInfo::BoxClicked(QCheckBox* box, uint32_t bit)
{
    if (ready_)
        NoteBoxClick(box, bit, &record_.flags);
}

void CDlgLineInfo::accept()
{
    record_.printable = BoxState(printable_);
    record_.locked = BoxState(locked_);
    record_.visible = BoxState(visible_);
    record_.units = units_->currentIndex();
    QDialog::accept();
}
