#include "dbdoc/field_list_box.h"

#include <cstdlib>
#include <utility>

#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kTextIndent = 5;

class FieldRowDelegate : public QStyledItemDelegate {
public:
    explicit FieldRowDelegate(CFieldListBox* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int32_t row = index.row();
        if (row >= list_->Count())
            return;
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        painter->save();
        painter->fillRect(option.rect, pal.color(selected ? QPalette::Highlight : QPalette::Base));
        // A skipped field stays red while it is selected and dragged, so the
        // user sees what moves.
        QColor ink = pal.color(selected ? QPalette::HighlightedText : QPalette::Text);
        if (list_->RowSkipped(row))
            ink = QColor(255, 0, 0);
        painter->setFont(list_->DrawingFont());
        painter->setPen(ink);
        painter->drawText(option.rect.adjusted(kTextIndent, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                          list_->RowText(row));
        if (selected) {
            painter->setPen(QPen(pal.color(QPalette::HighlightedText), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

private:
    CFieldListBox* list_;
};

}  // namespace

CFieldListBox::CFieldListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new FieldRowDelegate(this));
    font_ = font();
}

void CFieldListBox::Init(int32_t count, const QStringList* names, int16_t* order)
{
    count_ = count;
    names_ = names;
    order_ = order;
    dragSource_ = dragCurrent_ = -1;
    dragging_ = false;
    font_ = QFont(QStringLiteral("Arial"));
    if (font().pixelSize() > 0)
        font_.setPixelSize(font().pixelSize());
    else
        font_.setPointSizeF(font().pointSizeF());
    font_.setWeight(font().weight());
    font_.setItalic(true);
    clear();
    for (int32_t i = 0; i < count; ++i)
        addItem(QStringLiteral("---"));
}

QString CFieldListBox::RowText(int32_t row) const
{
    if (!order_ || row < 0 || row >= count_)
        return QString();
    const int32_t field = std::abs(order_[row]) - 1;
    return names_ && field >= 0 && field < names_->size() ? names_->at(field) : QString();
}

bool CFieldListBox::RowSkipped(int32_t row) const { return order_ && row >= 0 && row < count_ && order_[row] < 0; }

void CFieldListBox::Redraw(int32_t row)
{
    if (QListWidgetItem* it = item(row))
        viewport()->update(visualItemRect(it));
}

void CFieldListBox::DragTo(int32_t row)
{
    if (dragSource_ < 0)
        dragSource_ = currentRow();
    if (!order_ || row < 0 || row >= count_ || dragSource_ < 0 || dragSource_ >= count_ || row == dragSource_)
        return;
    const int32_t step = row > dragSource_ ? 1 : -1;
    while (dragSource_ != row) {
        std::swap(order_[dragSource_], order_[dragSource_ + step]);
        Redraw(dragSource_);
        dragSource_ += step;
    }
    dragCurrent_ = row;
    setCurrentRow(row);
    Redraw(row);
}

void CFieldListBox::ToggleSkip(int32_t row)
{
    if (!order_ || row < 0 || row >= count_)
        return;
    order_[row] = int16_t(-order_[row]);
    Redraw(row);
}

void CFieldListBox::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    const int32_t row = indexAt(event->position().toPoint()).row();
    if (event->button() != Qt::LeftButton || row < 0)
        return;
    dragSource_ = dragCurrent_ = row;
    dragging_ = true;
}

void CFieldListBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    const int32_t row = indexAt(event->position().toPoint()).row();
    if (row >= 0)
        DragTo(row);
}

void CFieldListBox::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    QListWidget::mouseReleaseEvent(event);
}

void CFieldListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    ToggleSkip(indexAt(event->position().toPoint()).row());
}
