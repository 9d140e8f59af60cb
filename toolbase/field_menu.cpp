#include "toolbase/field_menu.h"

#include <algorithm>

#include <QAction>

#include "database/field_table.h"
#include "foundation/cp1252.h"
#include "platform/menus.h"

namespace {

constexpr int32_t kFieldColumns = 21;

QString FieldName(int32_t column)
{
    char name[kFieldTypeNameSize] = {};
    FieldTypeName(FieldIdByIndex(column), name, true, false);
    return Cp1252ToQString(name);
}

}  // namespace

void FieldMenu::CreateItems(uint32_t firstId, int32_t count)
{
    const int32_t n = std::clamp(count, 0, kFieldColumns);
    for (int32_t i = 0; i < n; ++i) {
        QAction* action = addAction(FieldName(i));
        MenuSetCommandId(action, firstId + uint32_t(i));
    }
}

void FieldMenu::UpdateFieldNames()
{
    const QList<QAction*> items = actions();
    for (qsizetype i = 0; i < items.size(); ++i)
        items[i]->setText(FieldName(int32_t(i)));
}
