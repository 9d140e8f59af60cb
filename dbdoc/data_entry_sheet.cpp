#include "dbdoc/data_entry_sheet.h"

#include <algorithm>
#include <cstring>

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "database/database_header.h"
#include "dbdoc/db_dialogs.h"
#include "dbdoc/field_form.h"
#include "dialogs/filtered_edit.h"
#include "dialogs/object_dialog_kit.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"

namespace {

// What a default value keeps of what was typed.
constexpr size_t kDefaultValueLength = 62;

}  // namespace

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
    outer->addWidget(OkCancelBox(this));
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
