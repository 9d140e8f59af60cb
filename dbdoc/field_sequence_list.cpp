#include "dbdoc/field_sequence_list.h"

#include <cstdlib>

#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

class SequenceRowDelegate : public QStyledItemDelegate {
public:
    explicit SequenceRowDelegate(FieldSequenceList* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        painter->save();
        painter->fillRect(option.rect, pal.color(selected ? QPalette::Highlight : QPalette::Base));
        QColor ink = pal.color(selected ? QPalette::HighlightedText : QPalette::Text);
        if (list_->RowSkipped(index.row()))
            ink = QColor(255, 0, 0);
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(option.font.pointSizeF());
        font.setItalic(true);
        painter->setFont(font);
        painter->setPen(ink);
        painter->drawText(option.rect.adjusted(5, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                          list_->RowText(index.row()));
        if (selected) {
            painter->setPen(QPen(pal.color(QPalette::HighlightedText), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

private:
    FieldSequenceList* list_;
};

}  // namespace

FieldSequenceList::FieldSequenceList(QWidget* parent) : QListWidget(parent)
{
    setObjectName(QStringLiteral("fieldSequence"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new SequenceRowDelegate(this));
}

void FieldSequenceList::Init(int32_t count, const QStringList* names, int16_t* order)
{
    count_ = count;
    names_ = names;
    order_ = order;
    clear();
    for (int32_t i = 0; i < count; ++i)
        addItem(QStringLiteral("---"));
}

QString FieldSequenceList::RowText(int32_t row) const
{
    if (!order_ || row < 0 || row >= count_)
        return QString();
    const int32_t field = std::abs(order_[row]) - 1;
    return names_ && field >= 0 && field < names_->size() ? names_->at(field) : QString();
}

bool FieldSequenceList::RowSkipped(int32_t row) const { return order_ && row >= 0 && row < count_ && order_[row] < 0; }

void FieldSequenceList::Redraw(int32_t row) { viewport()->update(visualItemRect(item(row))); }

void FieldSequenceList::DragTo(int32_t row)
{
    if (dragSource_ < 0)
        dragSource_ = currentRow();
    if (!order_ || row < 0 || row >= count_ || dragSource_ < 0 || row == dragSource_)
        return;
    // One place at a time, so the field passes every row on its way.
    const int32_t step = row > dragSource_ ? 1 : -1;
    while (dragSource_ != row) {
        std::swap(order_[dragSource_], order_[dragSource_ + step]);
        Redraw(dragSource_);
        dragSource_ += step;
    }
    setCurrentRow(row);
    Redraw(row);
}

void FieldSequenceList::ToggleSkip(int32_t row)
{
    if (!order_ || row < 0 || row >= count_)
        return;
    order_[row] = int16_t(-order_[row]);
    Redraw(row);
}

void FieldSequenceList::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    const int32_t row = indexAt(event->position().toPoint()).row();
    if (event->button() != Qt::LeftButton || row < 0)
        return;
    dragSource_ = row;
    dragging_ = true;
}

void FieldSequenceList::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    const int32_t row = indexAt(event->position().toPoint()).row();
    if (row >= 0)
        DragTo(row);
}

void FieldSequenceList::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    QListWidget::mouseReleaseEvent(event);
}

void FieldSequenceList::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    ToggleSkip(indexAt(event->position().toPoint()).row());
}
