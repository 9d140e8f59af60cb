// The delegate of the owner-drawn lists and combos: each row is drawn
// through a Dc by its owner, at the owner's row height when it gives one.
#pragma once

#include <cstdint>
#include <functional>

#include <QStyle>
#include <QStyledItemDelegate>

#include "foundation/int_geometry.h"

class Dc;

class DcRowDelegate : public QStyledItemDelegate {
public:
    // The row's index and the item's state bits (selected, focused...).
    using DrawRow = std::function<void(Dc* dc, const IntRect& rect, int32_t row, QStyle::State state)>;
    using RowHeight = std::function<int()>;

    DcRowDelegate(QObject* owner, DrawRow draw, RowHeight height = {});

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    DrawRow draw_;
    RowHeight height_;
};
