// FieldMenu: a menu naming the card database's fields, one item per field
// column.
#pragma once

#include <cstdint>

#include <QMenu>

class FieldMenu : public QMenu {
public:
    explicit FieldMenu(QWidget* parent = nullptr) : QMenu(parent) {}

    // At most 21 items; item i names the field of column i and sends
    // firstId + i.
    void CreateItems(uint32_t firstId, int32_t count);
    // Renames every item, by position, to the field names as they are now.
    void UpdateFieldNames();
};
