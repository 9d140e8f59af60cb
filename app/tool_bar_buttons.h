// The buttons of the three tool bars (resources 196, 198 and 200): their
// command ids in order, 0 for a separator. The bars turn some slots into
// controls.
#pragma once

#include <cstdint>
#include <vector>

class QAction;
class QString;
class QToolBar;

enum : int32_t {
    kToolBarDatabase = 196,
    kToolBarText = 198,
    kToolBarDrawTools = 200,
};

struct ToolBarButton {
    uint32_t id;
    const char* label;  // what the button shows
};

// Empty for an unknown resource.
std::vector<ToolBarButton> ToolBarResource(int32_t resourceId);

// A button for the command: its label, and from the command's string its
// status-line prompt (first line) and tool tip (second line).
QAction* AddCommandButton(QToolBar* bar, const ToolBarButton& button);
// The prompt and tool tip of a command's string; empty when it has none.
void CommandStrings(uint32_t id, QString* prompt, QString* tip);
