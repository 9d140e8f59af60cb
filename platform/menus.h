// Finding, enabling and refreshing items of the program's menus.
//
// A menu is a QMenu or a QMenuBar; its items are its actions, counted from 0
// in the order shown, separators included. An item's command id travels in
// QAction::data(); an item that opens a submenu has the id 0xFFFFFFFF and a
// separator or an item without an id has 0.
#pragma once

#include <cstdint>

class QAction;
class QMenu;
class QWidget;

constexpr uint32_t kMenuSubmenuId = 0xFFFFFFFF;

void MenuSetCommandId(QAction* action, uint32_t commandId);
uint32_t MenuGetCommandId(const QAction* action);

// The submenu whose item text equals title exactly, ampersands included
// ("&Help"), and its position; null and position -1 when there is none.
QMenu* MenuFindSubmenu(QWidget* menu, const char* title, int32_t* position);
// The position of the item with that command id; -1 when there is none.
int32_t MenuFindItem(QWidget* menu, uint32_t commandId);

// An item named by its menu and position, as the update handlers receive it.
struct MenuItemRef {
    QWidget* menu;
    int32_t position;
};
void MenuEnableItem(const MenuItemRef& item, bool enable);

// Lets every submenu of the menu run its update handlers (connected to
// QMenu::aboutToShow) now, so that item states are current without the
// submenu being opened.
void MenuRefreshStates(QWidget* menu);

// The names the main frame knows these by.
QMenu* FindSubMenuByText(QWidget* menu, const char* text, int32_t* position);
int32_t FindMenuItemPosition(QWidget* menu, uint32_t commandId);
