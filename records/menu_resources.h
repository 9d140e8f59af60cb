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

// Makes the command's key the action's shortcut, which the menu shows
// beside the item; nothing for a command without a key.
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

// The text items that the card window's Text menu and the text context
// menus share, as lines of a menu table: Font, the Size and Style
// submenus up to Underline, and the Alignment and Line Spacing submenus.
#define MENU_TEXT_FONT_SIZE_STYLE                                                                                 \
    {1, "&Font", kCmdFontItem}, {1, "&Size", 0}, {2, "8", kCmdSizeFirst}, {2, "9", kCmdSizeFirst + 1},           \
        {2, "10", kCmdSizeFirst + 2}, {2, "11", kCmdSizeFirst + 3}, {2, "12", kCmdSizeFirst + 4},                 \
        {2, "14", kCmdSizeFirst + 5}, {2, "16", kCmdSizeFirst + 6}, {2, "18", kCmdSizeFirst + 7},                 \
        {2, "20", kCmdSizeFirst + 8}, {2, "22", kCmdSizeFirst + 9}, {2, "24", kCmdSizeFirst + 10},                \
        {2, "26", kCmdSizeFirst + 11}, {2, "28", kCmdSizeFirst + 12}, {2, "36", kCmdSizeFirst + 13},              \
        {2, "48", kCmdSizeFirst + 14}, {2, "72", kCmdSizeLast}, {2, nullptr, 0}, {2, "Larger", kCmdLarger},       \
        {2, "Smaller", kCmdSmaller}, {2, "Other...", kCmdSizeOther}, {1, "S&tyle", 0},                           \
        {2, "Plain", kCmdStylePlain}, {2, "Bold", kCmdStyleBold}, {2, "Italic", kCmdStyleItalic},                \
        {2, "Underline", kCmdStyleUnderline}

#define MENU_TEXT_ALIGNMENT_SPACING                                                                               \
    {1, "&Alignment", 0}, {2, "Left", kCmdAlignFirst}, {2, "Center", kCmdAlignFirst + 1},                        \
        {2, "Right", kCmdAlignFirst + 2}, {2, "Justified", kCmdAlignLast}, {1, "&Line Spacing", 0},              \
        {2, "Single", kCmdSpacingSingle}, {2, "One and a half", kCmdSpacingSingle + 1},                          \
        {2, "Double", kCmdSpacingLast}
