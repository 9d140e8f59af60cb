// The buttons of the three tool bars (resources 196, 198 and 200): their
// command ids in order, 0 for a separator. The bars turn some slots into
// controls.
#pragma once

#include <cstdint>
#include <vector>

class QAction;
class QIcon;
class QString;
class QToolBar;

enum : int32_t {
    kToolBarDatabase = 196,
    kToolBarText = 198,
    kToolBarDrawTools = 200,
};

struct ToolBarButton {
    uint32_t id;
    const char* label;  // the button's name, its tool tip where the command has none
    // Its picture: cell `image` (16 x 15) of the bar's bitmap strip, which
    // has one cell per button and none for separators.
    int32_t bar = 0;
    int32_t image = -1;
};

enum : int32_t {
    kToolBarImageWidth = 16,
    kToolBarImageHeight = 15,
};

// Empty for an unknown resource.
std::vector<ToolBarButton> ToolBarResource(int32_t resourceId);
// Cell `image` of the bar's strip with the button face keyed out; null for
// a separator or a missing picture.
QIcon ToolBarButtonIcon(int32_t bar, int32_t image);

// A button for the command: its picture, and from the command's string its
// status-line prompt (first line) and tool tip (second line; the button's
// label when the string has none).
QAction* AddCommandButton(QToolBar* bar, const ToolBarButton& button);
// A blank of the width (pixels) where the bar's resource has a separator.
void AddToolBarGap(QToolBar* bar, int32_t width);
// The prompt and tool tip of a command's string; empty when it has none.
void CommandStrings(uint32_t id, QString* prompt, QString* tip);
