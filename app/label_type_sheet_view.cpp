#include "app/label_type_sheet_view.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

#include "foundation/int_math.h"

namespace {

constexpr int kBorder = 15;

}  // namespace

LabelSheetView::LabelSheetView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    Layout();
}

void LabelSheetView::SetSheetSize(IntSize paper, const IntRect* printable)
{
    sheet_.right = sheet_.left + paper.width;
    sheet_.bottom = sheet_.top + paper.height;
    if (printable) {
        printable_ = IntRect{printable->left + sheet_.left, printable->top + sheet_.top,
                             printable->right + sheet_.left, printable->bottom + sheet_.top};
    }
    Layout();
}

void LabelSheetView::SetLabelType(const LabelTypeRecord* record)
{
    labelSet_ = record != nullptr;
    if (record)
        label_ = *record;
}

void LabelSheetView::Redraw()
{
    Layout();
    repaint();
}

void LabelSheetView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Layout();
}

void LabelSheetView::Layout()
{
    const double w = std::max(1, sheet_.right - sheet_.left);
    const double h = std::max(1, sheet_.bottom - sheet_.top);
    const double pw = printable_.right - printable_.left;
    const double ph = printable_.bottom - printable_.top;
    const int cw = std::max(width() - 2 * kBorder, 1);
    const int ch = std::max(height() - 2 * kBorder, 1);
    scale_ = std::max(w / cw, h / ch);
    const int left = TruncToInt32((width() - w / scale_) / 2);
    const int top = TruncToInt32((height() - h / scale_) / 2);
    const int right = left + TruncToInt32(w / scale_);
    const int bottom = top + TruncToInt32(h / scale_);
    sheetImage_ = QRect(QPoint(left - 1, top - 1), QPoint(right - 1, bottom - 1));
    const int dx = TruncToInt32((w - pw) / (2 * scale_));
    const int dy = TruncToInt32((h - ph) / (2 * scale_));
    printableImage_ = sheetImage_.adjusted(dx, dy, -dx, -dy);
}

bool LabelSheetView::GetCellRect(int column, int row, QRect* out) const
{
    double ox = 0;
    double oy = 0;
    if (label_.centering)
        CenterLabelGrid(&label_, sheet_.right - sheet_.left, sheet_.bottom - sheet_.top, &ox, &oy);
    const double left = ox + label_.leftMargin;
    const double top = oy + label_.topMargin;
    const int dx = TruncToInt32(column * (label_.cardWidth + label_.horizontalSpacing) / scale_);
    const int dy = TruncToInt32(row * (label_.cardHeight + label_.verticalSpacing) / scale_);
    const QPoint topLeft(TruncToInt32(left / scale_) + dx, TruncToInt32(top / scale_) + dy);
    const QPoint bottomRight(TruncToInt32((left + label_.cardWidth) / scale_) + dx,
                             TruncToInt32((top + label_.cardHeight) / scale_) + dy);
    *out = QRect(topLeft, bottomRight - QPoint(1, 1)).translated(sheetImage_.topLeft());
    return out->intersects(sheetImage_);
}

void LabelSheetView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor window = palette().base().color();
    p.fillRect(rect(), window);

    // The margin the printer cannot reach, grey around the printable area.
    if (sheetImage_ != printableImage_) {
        QPainterPath band;
        band.addRect(sheetImage_.adjusted(1, 1, 0, 0));
        band.addRect(printableImage_);
        p.fillPath(band, QColor(192, 192, 192));
    }
    p.fillRect(printableImage_, window);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(sheetImage_);
    p.setPen(QPen(Qt::black, 2));
    p.drawPolyline(QPolygon({QPoint(sheetImage_.left() + 2, sheetImage_.bottom() + 1),
                             QPoint(sheetImage_.right() + 1, sheetImage_.bottom() + 1),
                             QPoint(sheetImage_.right() + 1, sheetImage_.top() + 2)}));

    // A layout no sheet can have (a document may carry anything) shows no
    // cards rather than a loop over thousands of them.
    if (!labelSet_ || !LabelTypeIsSane(label_) || label_.columns == 0 || label_.rows == 0 ||
        label_.cardWidth == 0 || label_.cardHeight == 0)
        return;
    p.setClipRect(printableImage_.adjusted(-1, -1, 1, 1));
    p.setPen(QPen(QColor(0, 255, 0), 1));
    p.setBrush(window);
    for (int c = 0; c < label_.columns; ++c) {
        QRect cell;
        bool visible = false;
        for (int r = 0; r < label_.rows; ++r) {
            visible = GetCellRect(c, r, &cell);
            if (visible)
                p.drawRect(cell);
        }
        if (!visible && cell.left() > printableImage_.right())
            break;
    }
}
