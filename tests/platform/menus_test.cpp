#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "foundation/menus.h"

namespace {

struct MainMenu {
    QMenuBar bar;
    QMenu* file;
    QMenu* help;
    QMenu* recent;

    MainMenu()
    {
        file = bar.addMenu("&File");
        MenuSetCommandId(file->addAction("&New"), 57600);
        file->addSeparator();
        MenuSetCommandId(file->addAction("&Open..."), 57601);
        recent = file->addMenu("Recent");
        help = bar.addMenu("&Help");
        MenuSetCommandId(help->addAction("&About"), 57664);
    }
};

TEST(Menus, SubmenuFoundByExactText)
{
    MainMenu m;
    int32_t position = 99;
    EXPECT_EQ(MenuFindSubmenu(&m.bar, "&Help", &position), m.help);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(MenuFindSubmenu(&m.bar, "Help", &position), nullptr);
    EXPECT_EQ(position, -1);
    EXPECT_EQ(FindSubMenuByText(m.file, "Recent", &position), m.recent);
    EXPECT_EQ(position, 3);
    // An item with the text but without a submenu is not a submenu.
    EXPECT_EQ(MenuFindSubmenu(m.file, "&New", &position), nullptr);
}

TEST(Menus, ItemPositionsCountSeparators)
{
    MainMenu m;
    EXPECT_EQ(MenuFindItem(m.file, 57600), 0);
    EXPECT_EQ(FindMenuItemPosition(m.file, 57601), 2);
    EXPECT_EQ(MenuFindItem(m.file, 12345), -1);
    EXPECT_EQ(MenuGetCommandId(m.file->actions()[3]), kMenuSubmenuId);
    EXPECT_EQ(MenuGetCommandId(m.file->actions()[1]), 0u);
}

TEST(Menus, EnableItemByPosition)
{
    MainMenu m;
    MenuEnableItem({m.file, 2}, false);
    EXPECT_FALSE(m.file->actions()[2]->isEnabled());
    EXPECT_TRUE(m.file->actions()[0]->isEnabled());
    MenuEnableItem({m.file, 2}, true);
    EXPECT_TRUE(m.file->actions()[2]->isEnabled());
    MenuEnableItem({m.file, 17}, false);  // no such item: nothing happens
    MenuEnableItem({nullptr, 0}, false);
}

TEST(Menus, RefreshRunsTheUpdateHandlersOfEachSubmenu)
{
    MainMenu m;
    int fileUpdates = 0, helpUpdates = 0, recentUpdates = 0;
    QObject::connect(m.file, &QMenu::aboutToShow, [&] {
        ++fileUpdates;
        m.file->actions()[2]->setEnabled(false);
    });
    QObject::connect(m.help, &QMenu::aboutToShow, [&] { ++helpUpdates; });
    QObject::connect(m.recent, &QMenu::aboutToShow, [&] { ++recentUpdates; });
    MenuRefreshStates(&m.bar);
    EXPECT_EQ(fileUpdates, 1);
    EXPECT_EQ(helpUpdates, 1);
    EXPECT_EQ(recentUpdates, 0);  // a submenu's own submenus update when they open
    EXPECT_FALSE(m.file->actions()[2]->isEnabled());
}

}  // namespace
