#include "platform/menus.h"

#include <QAction>
#include <QMenu>
#include <QVariant>

#include "foundation/cp1252.h"

void MenuSetCommandId(QAction* action, uint32_t commandId) { action->setData(QVariant::fromValue(commandId)); }

uint32_t MenuGetCommandId(const QAction* action)
{
    if (QMenu::menuInAction(action))
        return kMenuSubmenuId;
    return action->data().toUInt();
}

QMenu* MenuFindSubmenu(QWidget* menu, const char* title, int32_t* position)
{
    if (position)
        *position = -1;
    if (!menu || !title)
        return nullptr;
    const QString text = Cp1252ToQString(title);
    const QList<QAction*> items = menu->actions();
    for (qsizetype i = 0; i < items.size(); ++i) {
        QMenu* submenu = QMenu::menuInAction(items[i]);
        if (submenu && items[i]->text() == text) {
            if (position)
                *position = int32_t(i);
            return submenu;
        }
    }
    return nullptr;
}

int32_t MenuFindItem(QWidget* menu, uint32_t commandId)
{
    if (!menu)
        return -1;
    const QList<QAction*> items = menu->actions();
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (MenuGetCommandId(items[i]) == commandId)
            return int32_t(i);
    }
    return -1;
}

void MenuEnableItem(const MenuItemRef& item, bool enable)
{
    if (!item.menu)
        return;
    const QList<QAction*> items = item.menu->actions();
    if (item.position >= 0 && item.position < items.size())
        items[item.position]->setEnabled(enable);
}

void MenuRefreshStates(QWidget* menu)
{
    if (!menu)
        return;
    for (QAction* action : menu->actions()) {
        if (QMenu* submenu = QMenu::menuInAction(action))
            Q_EMIT submenu->aboutToShow();
    }
}

QMenu* FindSubMenuByText(QWidget* menu, const char* text, int32_t* position)
{
    return MenuFindSubmenu(menu, text, position);
}

int32_t FindMenuItemPosition(QWidget* menu, uint32_t commandId) { return MenuFindItem(menu, commandId); }
