// The program's three menu bars: 128 while no document is open, 129 over a
// card window and 130 over a database window. Each item carries its
// command id (records/command_ids.h, set as platform/menus.h says); the text after a tab names the item's
// keyboard shortcut.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/command_ids.h"

class QMenu;
class QWidget;

enum : int32_t {
    kMenuMain = 128,
    kMenuCard = 129,
    kMenuDatabase = 130,
};

// A key of a window's accelerator table that no menu item shows.
struct KeyOnlyCommand {
    const char* keys;  // in QKeySequence's portable form, "Ctrl+Alt+V"
    uint32_t id;
};

// The keys of the menu's window that carry a command without an item.
std::vector<KeyOnlyCommand> KeyOnlyCommands(int32_t resourceId);

// The top-level pop-ups of the menu, parented to owner; empty for an
// unknown id. Items get their shortcuts as actions of the menu.
std::vector<QMenu*> BuildMenuResource(int32_t resourceId, QWidget* owner);

// One line of a menu table: its depth (0 a top-level pop-up), its text
// (Windows-1252, null for a separator) and its command id. A line followed
// by deeper lines opens a submenu holding them.
struct MenuLine {
    int8_t depth;
    const char* text;
    uint32_t id;
};

// The top-level pop-ups of a table of lines, parented to owner.
std::vector<QMenu*> BuildMenuLines(const MenuLine* lines, size_t count, QWidget* owner);
