#include "typography/find_menu_item.h"

#include <string>

#include <QAction>
#include <QWidget>

#include "foundation/cp1252.h"
#include "platform/menus.h"

int32_t FindMenuItem(QWidget* menu, uint32_t id) { return MenuFindItem(menu, id); }

int32_t FindMenuItem(QWidget* menu, const char* text)
{
    if (!menu || !text)
        return -1;
    // Item texts are read into a buffer of 255 bytes.
    constexpr size_t kTextLimit = 254;
    const QList<QAction*> items = menu->actions();
    for (qsizetype i = 0; i < items.size(); ++i) {
        std::string itemText = QStringToCp1252(items[i]->text());
        if (itemText.size() > kTextLimit)
            itemText.resize(kTextLimit);
        if (itemText == text)
            return int32_t(i);
    }
    return -1;
}
