#include "dialogs/sheet_preview_wnd.h"

#include <algorithm>
#include <cmath>

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "graphics/rect_ops.h"
#include "platform/dc.h"

namespace {

constexpr int32_t kBorder = 15;
constexpr uint32_t kGridHeader = 12;
constexpr ColorRef kLightGrey = 0xC0C0C0;
constexpr ColorRef kGreen = 0x00FF00;

int32_t Trunc(double v) { return TruncToInt32(v); }

bool Contains(const IntRect& r, const IntPoint& p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

uint8_t* GridWord(Handle grid, uint32_t index) { return HandleData<uint8_t>(grid) + 4 * index; }

}  // namespace

DoublePoint CentredLabelOrigin(const SheetLabelLayout& layout, double pageWidth, double pageHeight)
{
    const double width = layout.columns * layout.cardWidth + (layout.columns - 1) * layout.horizontalGap;
    const double height = layout.rows * layout.cardHeight + (layout.rows - 1) * layout.verticalGap;
    return DoublePoint{(pageWidth - width) / 2, (pageHeight - height) / 2};
}

bool SkipGridShape(Handle grid, int32_t* columns, int32_t* rows)
{
    const uint32_t size = HandleGetSize(grid);
    if (size < kGridHeader)
        return false;
    const uint32_t count = GetU32LE(GridWord(grid, 0));
    const uint32_t c = GetU32LE(GridWord(grid, 1));
    const uint32_t r = GetU32LE(GridWord(grid, 2));
    if (c == 0 || r == 0 || c > 0x7FFF || r > 0x7FFF || count != c * r || (size - kGridHeader) / 4 < count)
        return false;
    *columns = int32_t(c);
    *rows = int32_t(r);
    return true;
}

uint32_t SkipGridFlag(Handle grid, int32_t column, int32_t row)
{
    int32_t columns = 0;
    int32_t rows = 0;
    if (!SkipGridShape(grid, &columns, &rows) || column < 0 || row < 0 || column >= columns || row >= rows)
        return 1;
    return GetU32LE(GridWord(grid, 3 + uint32_t(row * columns + column)));
}

CSheetPreviewWnd::CSheetPreviewWnd(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("sheetPreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CSheetPreviewWnd::~CSheetPreviewWnd() { HandleFree(skipGrid_); }

int32_t CSheetPreviewWnd::CreateInPlace(QWidget* placeholder)
{
    if (!placeholder || !placeholder->parentWidget())
        return 1;
    setParent(placeholder->parentWidget());
    QRect r = placeholder->geometry();
    r.adjust(2, 2, -2, -2);
    setGeometry(r);
    show();
    HandleFree(skipGrid_);
    skipGrid_ = HandleNew(0);
    return 0;
}

void CSheetPreviewWnd::SetSheetSize(IntSize paper, const IntRect* printable)
{
    sheetRect_.right = sheetRect_.left + paper.width;
    sheetRect_.bottom = sheetRect_.top + paper.height;
    printableRect_ = printable ? *printable : IntRect{0, 0, paper.width, paper.height};
    RectOffset(&printableRect_, sheetRect_.left, sheetRect_.top);
}

void CSheetPreviewWnd::SetLabelType(const SheetLabelLayout& layout)
{
    label_ = layout;
    labelSet_ = true;
    RebuildSkipGrid();
}

void CSheetPreviewWnd::SetLabelTypeAndFirstCard(const SheetLabelLayout& layout, const int32_t firstCard[2])
{
    SetLabelType(layout);
    firstCard_[0] = firstCard[0];
    firstCard_[1] = firstCard[1];
}

void CSheetPreviewWnd::SetMode(int32_t mode, Handle grid)
{
    mode_ = mode;
    if (mode_ == kSheetSkipCards) {
        HandleFree(skipGrid_);
        skipGrid_ = grid;
        if (skipGrid_ && HandleDuplicate(&skipGrid_) != 0)
            skipGrid_ = nullptr;
    }
    RebuildSkipGrid();
}

void CSheetPreviewWnd::GetFirstCard(int32_t out[2]) const
{
    out[0] = firstCard_[0];
    out[1] = firstCard_[1];
}

Handle CSheetPreviewWnd::GetSkipGrid() const
{
    if (mode_ != kSheetSkipCards || !skipGrid_)
        return nullptr;
    Handle copy = skipGrid_;
    if (HandleDuplicate(&copy) != 0)
        return nullptr;
    return copy;
}

void CSheetPreviewWnd::RebuildSkipGrid()
{
    const int32_t columns = label_.columns;
    const int32_t rows = label_.rows;
    if (columns <= 0 || rows <= 0 || mode_ != kSheetSkipCards || !labelSet_) {
        HandleFree(skipGrid_);
        skipGrid_ = nullptr;
        return;
    }
    int32_t oldColumns = 0;
    int32_t oldRows = 0;
    const bool whole = SkipGridShape(skipGrid_, &oldColumns, &oldRows);
    if (whole && oldColumns == columns && oldRows == rows)
        return;
    const uint32_t count = uint32_t(columns) * uint32_t(rows);
    Handle grid = HandleNew(kGridHeader + 4 * count);
    if (!grid)
        return;
    PutU32LE(GridWord(grid, 0), count);
    PutU32LE(GridWord(grid, 1), uint32_t(columns));
    PutU32LE(GridWord(grid, 2), uint32_t(rows));
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < columns; ++c)
            PutU32LE(GridWord(grid, 3 + uint32_t(r * columns + c)), whole ? SkipGridFlag(skipGrid_, c, r) : 1);
    }
    HandleFree(skipGrid_);
    skipGrid_ = grid;
}

bool CSheetPreviewWnd::Layout()
{
    const double sheetWidth = double(sheetRect_.right) - sheetRect_.left;
    const double sheetHeight = double(sheetRect_.bottom) - sheetRect_.top;
    const double printableWidth = double(printableRect_.right) - printableRect_.left;
    const double printableHeight = double(printableRect_.bottom) - printableRect_.top;
    const int32_t clientWidth = width();
    const int32_t clientHeight = height();
    // A window without room inside its border, or a sheet without size,
    // shows nothing rather than dividing by it.
    if (clientWidth <= 2 * kBorder || clientHeight <= 2 * kBorder || sheetWidth <= 0 || sheetHeight <= 0) {
        sheetImage_ = printableImage_ = IntRect{};
        return false;
    }
    scale_ = std::max(sheetWidth / (clientWidth - 2 * kBorder), sheetHeight / (clientHeight - 2 * kBorder));
    sheetImage_.left = Trunc((clientWidth - sheetWidth / scale_) / 2);
    sheetImage_.top = Trunc((clientHeight - sheetHeight / scale_) / 2);
    sheetImage_.right = Trunc(sheetImage_.left + sheetWidth / scale_);
    sheetImage_.bottom = Trunc(sheetImage_.top + sheetHeight / scale_);
    RectOffset(&sheetImage_, -1, -1);
    printableImage_ = sheetImage_;
    RectInset(&printableImage_, Trunc((sheetWidth - printableWidth) / (2 * scale_)),
              Trunc((sheetHeight - printableHeight) / (2 * scale_)));
    return true;
}

bool CSheetPreviewWnd::GetCellRect(int32_t column, int32_t row, IntRect* out) const
{
    DoublePoint offset{0, 0};
    if (label_.centred)
        offset = CentredLabelOrigin(label_, double(sheetRect_.right) - sheetRect_.left,
                                    double(sheetRect_.bottom) - sheetRect_.top);
    const double left = offset.x + label_.leftMargin;
    const double top = offset.y + label_.topMargin;
    const double columnStep = label_.cardWidth + label_.horizontalGap;
    const double rowStep = label_.cardHeight + label_.verticalGap;
    const int32_t dx = Trunc(column * columnStep / scale_);
    const int32_t dy = Trunc(row * rowStep / scale_);
    out->left = Trunc(left / scale_) + dx;
    out->top = Trunc(top / scale_) + dy;
    out->right = Trunc((left + label_.cardWidth) / scale_) + dx;
    out->bottom = Trunc((top + label_.cardHeight) / scale_) + dy;
    RectOffset(out, sheetImage_.left, sheetImage_.top);
    IntRect common;
    return RectIntersect(*out, sheetImage_, &common) != 0;
}

bool CSheetPreviewWnd::HitTest(const IntPoint& point, int32_t out[2]) const
{
    const double columnStep = label_.cardWidth + label_.horizontalGap;
    const double rowStep = label_.cardHeight + label_.verticalGap;
    const int32_t sheetWidth = sheetImage_.right - sheetImage_.left;
    const int32_t sheetHeight = sheetImage_.bottom - sheetImage_.top;
    // Only the label type's own cards: a position past them has no flag.
    for (int32_t c = 0; c < label_.columns && Trunc(c * columnStep / scale_) <= sheetWidth; ++c) {
        for (int32_t r = 0; r < label_.rows && Trunc(r * rowStep / scale_) <= sheetHeight; ++r) {
            IntRect cell;
            GetCellRect(c, r, &cell);
            if (Contains(cell, point)) {
                out[0] = c;
                out[1] = r;
                return true;
            }
        }
    }
    return false;
}

ColorRef CSheetPreviewWnd::WindowColour() const { return FromQColor(palette().color(QPalette::Base)); }

void CSheetPreviewWnd::DrawSheet(Dc* dc)
{
    const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 1, kBlack});
    if (!Layout()) {
        dc->selectPen(oldPen);
        return;
    }
    const IntRect& s = sheetImage_;
    const IntRect& p = printableImage_;
    if (!RectEqual(s, p)) {
        const IntPoint band[10] = {{s.left + 1, s.top + 1}, {s.right - 1, s.top + 1}, {s.right - 1, s.bottom - 1},
                                   {s.left + 1, s.bottom - 1}, {s.left + 1, s.top + 1}, {p.left, p.top},
                                   {p.right, p.top},          {p.right, p.bottom},     {p.left, p.bottom},
                                   {p.left, p.top}};
        dc->fillRgn(Region::FromPolygon(band, 10, ALTERNATE), Brush::Solid(kLightGrey));
    }
    dc->fillRect(p, Brush::Solid(WindowColour()));
    dc->frameRect(s, Brush::Solid(kBlack));
    dc->selectPen(Pen{PS_SOLID, 2, kBlack});
    dc->moveTo(s.left + 2, s.bottom);
    dc->lineTo(s.right, s.bottom);
    dc->lineTo(s.right, s.top + 2);
    dc->selectPen(oldPen);
}

void CSheetPreviewWnd::DrawCell(Dc* dc, int32_t column, int32_t row, const IntRect& cell)
{
    dc->fillRect(cell, Brush::Solid(WindowColour()));
    dc->frameRect(cell, Brush::Solid(kGreen));
    if (mode_ == kSheetSkipCards && SkipGridFlag(skipGrid_, column, row) == 0) {
        const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 1, kBlack});
        dc->moveTo(cell.left, cell.top);
        dc->lineTo(cell.right, cell.bottom);
        dc->moveTo(cell.right - 1, cell.top + 1);
        dc->lineTo(cell.left, cell.bottom);
        dc->selectPen(oldPen);
    }
}

void CSheetPreviewWnd::DrawCells(Dc* dc)
{
    if (!labelSet_ || label_.columns <= 0 || label_.rows <= 0 || label_.cardWidth <= 0 || label_.cardHeight <= 0 ||
        RectEqual(sheetImage_, IntRect{}))
        return;
    const int32_t saved = dc->saveDc();
    IntRect clip = printableImage_;
    RectInset(&clip, -1, -1);
    dc->intersectClipRect(clip.left, clip.top, clip.right, clip.bottom);
    for (int32_t c = 0; c < label_.columns; ++c) {
        IntRect cell;
        bool visible = false;
        for (int32_t r = 0; r < label_.rows; ++r) {
            visible = GetCellRect(c, r, &cell);
            if (visible)
                DrawCell(dc, c, r, cell);
        }
        if (!visible && cell.left >= printableImage_.right)
            break;
    }
    dc->restoreDc(saved);
}

void CSheetPreviewWnd::Draw(Dc* dc)
{
    const ColorRef background =
        mode_ == kSheetSkipCards ? FromQColor(palette().color(QPalette::Button)) : WindowColour();
    dc->fillRect(IntRect{0, 0, width(), height()}, Brush::Solid(background));
    DrawSheet(dc);
    DrawCells(dc);
}

void CSheetPreviewWnd::paintEvent(QPaintEvent*)
{
    QImage surface(size(), QImage::Format_RGB32);
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
        Draw(dc.get());
    }
    QPainter(this).drawImage(0, 0, surface);
}

void CSheetPreviewWnd::Redraw() { repaint(); }

void CSheetPreviewWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && labelSet_ && Layout()) {
        const IntPoint point{int32_t(event->position().x()), int32_t(event->position().y())};
        int32_t hit[2] = {0, 0};
        if (HitTest(point, hit) && Contains(sheetImage_, point)) {
            if (mode_ == kSheetFirstCard) {
                firstCard_[0] = hit[0] + 1;
                firstCard_[1] = hit[1] + 1;
                update();
            } else if (mode_ == kSheetSkipCards && skipGrid_) {
                int32_t columns = 0;
                int32_t rows = 0;
                if (SkipGridShape(skipGrid_, &columns, &rows)) {
                    uint8_t* flag = GridWord(skipGrid_, 3 + uint32_t(hit[1] * columns + hit[0]));
                    PutU32LE(flag, GetU32LE(flag) == 0 ? 1 : 0);
                    update();
                }
            }
        }
    }
    QWidget::mousePressEvent(event);
}
