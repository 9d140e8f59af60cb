// The program's three menu bars: 128 while no document is open, 129 over a
// card window and 130 over a database window. Each item carries its
// command id (records/command_ids.h, set as platform/menus.h says) and
// shows the command's key from records/command_keys.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/command_ids.h"

class QAction;
class QMenu;
class QWidget;

enum : int32_t {
    kMenuMain = 128,
    kMenuCard = 129,
    kMenuDatabase = 130,
};

// The commands that the menu's window reaches by their keys
// (records/command_keys.h) without an item.
std::vector<uint32_t> KeyOnlyCommands(int32_t resourceId);

// Shows the command's key after the item's text and makes it the action's
// shortcut; nothing for a command without a key.
void SetCommandKeys(QAction* action, uint32_t id);

// The top-level pop-ups of the menu, parented to owner; empty for an
// unknown id. Items get their shortcuts as actions of the menu.
std::vector<QMenu*> BuildMenuResource(int32_t resourceId, QWidget* owner);

// One line of a menu table: its depth (0 a top-level pop-up), its text
// (Windows-1252, null for a separator), its command id and whether it
// shows the command's key. A line followed by deeper lines opens a submenu
// holding them.
struct MenuLine {
    int8_t depth;
    const char* text;
    uint32_t id;
    bool showsKey = true;
};

// The top-level pop-ups of a table of lines, parented to owner.
std::vector<QMenu*> BuildMenuLines(const MenuLine* lines, size_t count, QWidget* owner);
