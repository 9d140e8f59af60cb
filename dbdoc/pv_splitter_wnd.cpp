#include "dbdoc/pv_splitter_wnd.h"

#include <algorithm>

CPVSplitterWnd::CPVSplitterWnd(QWidget* parent) : QSplitter(Qt::Horizontal, parent)
{
    setObjectName("CPVSplitterWnd");
    // Qt would fold a pane away when dragged past its minimum; the columns
    // here must stay.
    setChildrenCollapsible(false);
    connect(this, &QSplitter::splitterMoved, this, &CPVSplitterWnd::Moved);
}

void CPVSplitterWnd::Moved(int position, int index)
{
    // splitterMoved names the handle before widget index; the column left
    // of it is index - 1.
    TrackColumnSize(position, index - 1);
}

void CPVSplitterWnd::TrackColumnSize(int32_t x, int32_t column)
{
    if (column < 0 || column >= count())
        return;
    QWidget* pane = widget(column);
    const int32_t ideal = x - pane->mapTo(this, QPoint(0, 0)).x();
    const int32_t minimum = std::max(pane->minimumSizeHint().width(), pane->minimumWidth());
    QList<int> sizes = this->sizes();
    if (ideal < minimum) {
        const int32_t freed = sizes[column] - minimum;
        sizes[column] = minimum;
        if (column + 1 < sizes.size())
            sizes[column + 1] += freed;
        setSizes(sizes);
        return;
    }
    if (column + 1 >= count())
        return;
    QWidget* next = widget(column + 1);
    const int32_t nextMinimum = std::max(next->minimumSizeHint().width(), next->minimumWidth());
    if (sizes[column] + sizes[column + 1] < ideal + nextMinimum && dynamic_)
        next->hide();
}

QSize CPVSplitterWnd::CalcTotalSize() const
{
    const int32_t columns = orientation() == Qt::Horizontal ? count() : 1;
    const int32_t rows = orientation() == Qt::Vertical ? count() : 1;
    const int32_t gap = handleWidth();
    // The border and its share each side.
    return QSize(std::max(columns - 1, 0) * gap + 4 * border_, std::max(rows - 1, 0) * gap + 4 * border_);
}

CTransparentStatic::CTransparentStatic(QWidget* parent) : QLabel(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    setMouseTracking(true);
}
