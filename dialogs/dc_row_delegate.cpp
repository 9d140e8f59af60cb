#include "dialogs/dc_row_delegate.h"

#include <utility>

#include "dialogs/object_dialog_kit.h"

DcRowDelegate::DcRowDelegate(QObject* owner, DrawRow draw, RowHeight height)
    : QStyledItemDelegate(owner), draw_(std::move(draw)), height_(std::move(height))
{
}

void DcRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    PaintWithDc(painter, option.rect, [&](Dc* dc, const IntRect& r) { draw_(dc, r, index.row(), option.state); });
}

QSize DcRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (height_)
        size.setHeight(height_());
    return size;
}
