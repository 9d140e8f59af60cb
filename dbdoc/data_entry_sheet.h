// The "Data Entry Options" sheet: the default values new records start
// with, and the order in which Tab visits the form's fields. It works on
// a copy of the header image that reaches the document only on OK.
#pragma once

#include <cstdint>

#include <QDialog>
#include <QListWidget>
#include <QStringList>

#include "database/field_table.h"
#include "database/record_file_format.h"
#include "dbdoc/filtered_edit.h"

class QTabWidget;

// The owner-drawn list that orders fields: each row shows the field of an
// order entry; a negative entry is a skipped field, drawn in red. Dragging
// moves the field one place at a time, double-clicking skips or restores
// it. The entries are changed in place.
class CFieldListBox : public QListWidget {
public:
    explicit CFieldListBox(QWidget* parent = nullptr);
    void Init(int32_t count, const QStringList* names, int16_t* order);
    // Moves the dragged entry from one row to the next; what a drag does
    // as the pointer passes each row.
    void DragTo(int32_t row);
    void ToggleSkip(int32_t row);
    int32_t Count() const { return count_; }
    QString RowText(int32_t row) const;
    bool RowSkipped(int32_t row) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Refresh();

    int32_t dragSource_ = -1;
    int32_t dragCurrent_ = -1;
    bool dragging_ = false;
    int32_t count_ = 0;
    const QStringList* names_ = nullptr;
    int16_t* order_ = nullptr;
};

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
