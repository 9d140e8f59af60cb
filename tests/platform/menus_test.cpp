#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "platform/menus.h"

namespace {

struct MainMenu {
    QMenuBar bar;
    QMenu* file = bar.addMenu("&File");
    QMenu* help = bar.addMenu("&Help");
    QMenu* recent = nullptr;

    MainMenu()
    {
        MenuSetCommandId(file->addAction("&New"), 57600);
        file->addSeparator();
        MenuSetCommandId(file->addAction("&Open..."), 57601);
        recent = file->addMenu("Recent");
    }
};

TEST(Menus, FindSubmenuByExactTextAndItemsByCommandId)
{
    MainMenu m;
    int32_t position = 99;
    EXPECT_EQ(FindSubMenuByText(&m.bar, "&Help", &position), m.help);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(MenuFindSubmenu(&m.bar, "Help", &position), nullptr);
    EXPECT_EQ(position, -1);
    EXPECT_EQ(MenuFindSubmenu(m.file, "&New", &position), nullptr);  // no submenu
    EXPECT_EQ(MenuFindSubmenu(m.file, "Recent", &position), m.recent);
    EXPECT_EQ(position, 3);

    EXPECT_EQ(FindMenuItemPosition(m.file, 57601), 2);  // the separator counts
    EXPECT_EQ(MenuFindItem(m.file, 12345), -1);
    MenuEnableItem({m.file, 2}, false);
    EXPECT_FALSE(m.file->actions()[2]->isEnabled());
    MenuEnableItem({m.file, 17}, false);
}

TEST(Menus, RefreshRunsTheUpdateHandlersOfEachSubmenu)
{
    MainMenu m;
    int fileUpdates = 0, helpUpdates = 0, recentUpdates = 0;
    QObject::connect(m.file, &QMenu::aboutToShow, [&] { ++fileUpdates; });
    QObject::connect(m.help, &QMenu::aboutToShow, [&] { ++helpUpdates; });
    QObject::connect(m.recent, &QMenu::aboutToShow, [&] { ++recentUpdates; });
    MenuRefreshStates(&m.bar);
    EXPECT_EQ(fileUpdates, 1);
    EXPECT_EQ(helpUpdates, 1);
    EXPECT_EQ(recentUpdates, 0);  // updates when it opens
}

}  // namespace
