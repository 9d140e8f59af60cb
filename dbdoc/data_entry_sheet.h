// The "Data Entry Options" sheet: the default values new records start
// with, and the order in which Tab visits the form's fields. It works on
// a copy of the header image that reaches the document only on OK.
#pragma once

#include <cstdint>

#include <QDialog>
#include <QStringList>

#include "database/field_table.h"
#include "database/record_file_format.h"
#include "dbdoc/field_list_box.h"
#include "dialogs/filtered_edit.h"

class QTabWidget;

class CPSDataEntry : public QDialog {
public:
    explicit CPSDataEntry(QWidget* parent = nullptr);
    void SetData(const uint8_t* header);
    void GetData(uint8_t* header) const;
    CFilteredEdit* DefaultEdit(int32_t column) const { return defaults_[column]; }
    CFieldListBox* FieldOrderList() const { return list_; }

    void accept() override;

private:
    uint8_t header_[kDbHeaderSize] = {};
    QTabWidget* tabs_ = nullptr;
    CFilteredEdit* defaults_[kEntryColumnCount] = {};
    QStringList names_;
    int16_t order_[kEntryColumnCount] = {};
    CFieldListBox* list_ = nullptr;
};
