// The program's three menu bars: 128 while no document is open, 129 over a
// card window and 130 over a database window. Each item carries its
// command id (foundation/menus.h); the text after a tab names the item's
// keyboard shortcut.
#pragma once

#include <cstdint>
#include <vector>

class QMenu;
class QWidget;

enum : int32_t {
    kMenuMain = 128,
    kMenuCard = 129,
    kMenuDatabase = 130,
};

// The placeholder of the recent-file entries in the File menu.
constexpr uint32_t kRecentFilePlaceholder = 57616;

// The top-level pop-ups of the menu, parented to owner; empty for an
// unknown id. Items get their shortcuts as actions of the menu.
std::vector<QMenu*> BuildMenuResource(int32_t resourceId, QWidget* owner);
