#include "app/tool_bar_draw_tools.h"

#include "app/tool_bar_buttons.h"

CToolBarDrawTools::CToolBarDrawTools(QWidget* parent) : QToolBar(parent)
{
    setObjectName("ToolPalette");
    setWindowTitle("Tools");
    setAllowedAreas(Qt::AllToolBarAreas);
    setFloatable(true);
}

bool CToolBarDrawTools::Create(int32_t resourceId)
{
    const std::vector<ToolBarButton> buttons = ToolBarResource(resourceId);
    if (buttons.empty())
        return false;
    for (const ToolBarButton& b : buttons) {
        if (b.id == 0)
            addSeparator();
        else
            AddCommandButton(this, b)->setCheckable(true);
    }
    return true;
}
