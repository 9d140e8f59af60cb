#include "dbdoc/data_entry_sheet.h"

#include <algorithm>
#include <cstring>

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "database/database_header.h"
#include "dbdoc/db_dialogs.h"
#include "dbdoc/field_form.h"
#include "dbdoc/filtered_edit.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"

namespace {

// What a default value keeps of what was typed.
constexpr size_t kDefaultValueLength = 62;

}  // namespace

CFieldListBox::CFieldListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    QFont italic("Arial");
    italic.setItalic(true);
    italic.setPointSize(font().pointSize());
    setFont(italic);
}

void CFieldListBox::Init(int32_t count, const QStringList* names, int16_t* order)
{
    count_ = count;
    names_ = names;
    order_ = order;
    clear();
    for (int32_t i = 0; i < count; ++i)
        addItem("---");
    Refresh();
}

QString CFieldListBox::RowText(int32_t row) const
{
    if (!order_ || row < 0 || row >= count_)
        return {};
    const int32_t index = std::abs(order_[row]) - 1;
    return names_ && index >= 0 && index < names_->size() ? names_->at(index) : QString();
}

bool CFieldListBox::RowSkipped(int32_t row) const
{
    return order_ && row >= 0 && row < count_ && order_[row] < 0;
}

void CFieldListBox::Refresh()
{
    for (int32_t row = 0; row < count_ && row < QListWidget::count(); ++row) {
        QListWidgetItem* it = item(row);
        it->setText(RowText(row));
        if (RowSkipped(row))
            it->setForeground(QColor(255, 0, 0));
        else
            it->setForeground(palette().color(QPalette::Text));
    }
}

void CFieldListBox::DragTo(int32_t row)
{
    if (!order_ || dragSource_ < 0 || row < 0 || row >= count_ || row == dragSource_)
        return;
    // One place at a time, so that the field passes every row between.
    const int32_t step = row > dragSource_ ? 1 : -1;
    while (dragSource_ != row) {
        std::swap(order_[dragSource_], order_[dragSource_ + step]);
        dragSource_ += step;
    }
    dragCurrent_ = row;
    Refresh();
    setCurrentRow(row);
}

void CFieldListBox::ToggleSkip(int32_t row)
{
    if (!order_ || row < 0 || row >= count_)
        return;
    order_[row] = int16_t(-order_[row]);
    Refresh();
}

void CFieldListBox::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    const int32_t row = indexAt(event->position().toPoint()).row();
    if (row < 0)
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

CPSDataEntry::CPSDataEntry(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Data Entry Options");
    auto* outer = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    auto* defaults = new QWidget(tabs_);
    QLabel* labels[6] = {};
    BuildFieldForm(defaults, FieldEditKind::Text, defaults_, labels);
    tabs_->addTab(defaults, "  Default Data  ");
    auto* orderPage = new QWidget(tabs_);
    auto* orderLayout = new QVBoxLayout(orderPage);
    orderLayout->addWidget(new QLabel("Drag the Fields into the Sequence You Prefer for Entry.", orderPage));
    list_ = new CFieldListBox(orderPage);
    orderLayout->addWidget(list_);
    tabs_->addTab(orderPage, "  Field Order  ");
    outer->addWidget(tabs_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    outer->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CPSDataEntry::SetData(const uint8_t* header)
{
    std::memcpy(header_, header, kDbHeaderSize);
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        char text[dbh::kDefaultValueSize] = {};
        HeaderText(header_, dbh::kDefaultValues + uint32_t(column) * dbh::kDefaultValueSize, dbh::kDefaultValueSize,
                   text);
        defaults_[column]->Setup(Cp1252ToQString(text), int32_t(FieldMaxLength(FieldIdByIndex(column))), QString(), 0,
                                 nullptr);
    }
    names_.clear();
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        names_.append(ColumnFieldName(column));
        order_[column] = int16_t(GetU16LE(header_ + dbh::kEntryOrder + 2 * uint32_t(column)));
    }
    list_->Init(kEntryColumnCount, &names_, order_);
}

void CPSDataEntry::accept()
{
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        const std::string text = QStringToCp1252(defaults_[column]->text());
        uint8_t* slot = header_ + dbh::kDefaultValues + uint32_t(column) * dbh::kDefaultValueSize;
        std::memset(slot, 0, dbh::kDefaultValueSize);
        std::memcpy(slot, text.data(), std::min(text.size(), kDefaultValueLength));
    }
    for (int32_t column = 0; column < kEntryColumnCount; ++column)
        PutU16LE(header_ + dbh::kEntryOrder + 2 * uint32_t(column), uint16_t(order_[column]));
    QDialog::accept();
}

void CPSDataEntry::GetData(uint8_t* header) const
{
    std::memcpy(header, header_, kDbHeaderSize);
}
