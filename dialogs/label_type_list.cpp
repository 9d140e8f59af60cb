#include "dialogs/label_type_list.h"

#include <functional>

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStyledItemDelegate>

#include "foundation/cp1252.h"
#include "foundation/cursors.h"
#include "records/label_stock_table.h"

namespace {

QFont ItemFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    font.setWeight(QFont::Normal);
    return font;
}

QString NameAt(const CDBLabel* base, int row)
{
    const LabelTypeRecord* r = base ? base->GetLabelType(row) : nullptr;
    return r ? Cp1252ToQString(LabelTypeName(*r)) : QString();
}

// Draws item i as the name of record i of the table.
class LabelItemDelegate : public QStyledItemDelegate {
public:
    LabelItemDelegate(std::function<const CDBLabel*()> base, QObject* parent)
        : QStyledItemDelegate(parent), base_(std::move(base))
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        painter->fillRect(option.rect, selected ? pal.highlight() : pal.base());
        if (selected && option.widget) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.backgroundColor = pal.highlight().color();
            option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
        }
        painter->setFont(ItemFont());
        painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        const QRect text = option.rect.adjusted(5, 0, 0, 0);
        // A combo filled with plain names has no table behind it.
        const CDBLabel* base = base_();
        const QString name = base ? NameAt(base, index.row()) : index.data().toString();
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), kLabelListItemHeight);
    }

private:
    std::function<const CDBLabel*()> base_;
};

}  // namespace

CLabelListBox::CLabelListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new LabelItemDelegate([this] { return base_; }, this));
}

void CLabelListBox::Refill()
{
    clear();
    const int32_t n = base_ ? base_->GetCount() : 0;
    for (int32_t i = 0; i < n; ++i)
        addItem(QStringLiteral("---"));
}

void CLabelListBox::SetLabelBase(CDBLabel* base)
{
    base_ = base;
    Refill();
    ready_ = base != nullptr;
}

int32_t CLabelListBox::GetCurLabel(LabelTypeRecord* out) const
{
    if (!ready_)
        return -1;
    const int32_t row = currentItem() && currentItem()->isSelected() ? currentRow() : -1;
    return (row >= 0 && base_->GetLabelType(row, out)) ? row : -1;
}

bool CLabelListBox::GetLabel(int32_t index, LabelTypeRecord* out) const
{
    return ready_ && base_->GetLabelType(index, out);
}

bool CLabelListBox::UpdateLabel(int32_t index, const LabelTypeRecord& record)
{
    if (!ready_ || index < 0 || index >= count() || !base_->SetLabelType(index, record))
        return false;
    viewport()->update();
    return true;
}

void CLabelListBox::SelectLabel(int32_t index)
{
    // Selected even when it already is the current row, as it is after the
    // row before it was deleted.
    if (index >= 0 && index < count())
        setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

bool CLabelListBox::InsertLabel(const LabelTypeRecord& record, int32_t index)
{
    if (!ready_ || !base_->InsertLabelType(index, record))
        return false;
    addItem(QStringLiteral("--"));
    viewport()->update();
    return true;
}

bool CLabelListBox::DeleteLabel(int32_t index)
{
    if (!ready_ || index < 0 || index >= count() || !base_->DeleteLabelType(index))
        return false;
    delete takeItem(index);
    viewport()->update();
    return true;
}

void CLabelListBox::SortLabels()
{
    if (!ready_)
        return;
    SetWaitCursor();
    int32_t selected = currentRow();
    base_->SortLabelTypes(&selected);
    RestoreSavedCursor();
    SelectLabel(selected);
    viewport()->update();
}

void CLabelListBox::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    if (!ready_ || event->button() != Qt::LeftButton)
        return;
    const int row = indexAt(event->position().toPoint()).row();
    if (row < 0)
        return;
    dragSource_ = row;
    dragCurrent_ = row;
    dragging_ = true;
}

void CLabelListBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_) {
        QListWidget::mouseMoveEvent(event);
        return;
    }
    // The dragged record moves one place at a time, so that the records it
    // passes each step back by one however far the pointer jumped.
    const int row = indexAt(event->position().toPoint()).row();
    if (row < 0 || row == dragCurrent_)
        return;
    const int step = row > dragCurrent_ ? 1 : -1;
    while (dragCurrent_ != row) {
        if (!base_->SwapLabelTypes(dragCurrent_, dragCurrent_ + step))
            break;
        dragCurrent_ += step;
    }
    setCurrentRow(dragCurrent_);
    viewport()->update();
}

void CLabelListBox::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    QListWidget::mouseReleaseEvent(event);
}

CLabelTypeComboBox::CLabelTypeComboBox(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new LabelItemDelegate([this] { return base_; }, this));
    setInsertPolicy(QComboBox::NoInsert);
}

void CLabelTypeComboBox::SetLabelBase(CDBLabel* base)
{
    base_ = base;
    const QString text = isEditable() ? currentText() : QString();
    const QSignalBlocker quiet(this);
    clear();
    const int32_t n = base ? base->GetCount() : 0;
    // The item texts are the names, so that the edit field shows the name
    // of the label type chosen.
    for (int32_t i = 0; i < n; ++i)
        addItem(NameAt(base, i));
    setCurrentIndex(-1);
    if (isEditable())
        setEditText(text);
    ready_ = base != nullptr;
}

int32_t CLabelTypeComboBox::GetCurLabel(LabelTypeRecord* out) const
{
    if (!ready_)
        return -1;
    const int32_t row = currentIndex();
    return (row >= 0 && base_->GetLabelType(row, out)) ? row : -1;
}
