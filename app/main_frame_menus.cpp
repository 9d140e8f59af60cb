// The pop-ups the card and database menus gain the first time a window of
// their kind is activated, and the Help menu's own items.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/main_frame.h"
#include "app/tool_bar_db.h"
#include "app/tool_bar_draw.h"
#include "foundation/cp1252.h"
#include "foundation/string_table.h"
#include "graphics/fill_pattern_strip.h"
#include "graphics/fill_patterns.h"
#include "platform/menus.h"
#include "platform/profile.h"
#include "records/command_ids.h"
#include "records/menu_resources.h"
#include "toolbase/field_menu.h"
#include "typography/color_menu.h"
#include "typography/font_list.h"
#include "typography/icon_menu.h"
#include "typography/icon_menu2.h"
#include "typography/menu_bitmaps.h"
#include "typography/std_font_menu.h"

namespace {

constexpr int32_t kCellWidth = 60;
constexpr int32_t kCellHeight = 20;
constexpr int32_t kFieldItems = 21;

struct ColourMenuRange {
    uint32_t placeholder;
    uint32_t first;
    uint32_t last;
};
// Text colour, fill colour, background colour, graphics colour.
const ColourMenuRange kColourMenus[4] = {
    {kCmdTextColourMenu, kCmdTextColourFirst, kCmdTextColourLast},
    {kCmdFillColourMenu, kCmdFillColourFirst, kCmdFillColourLast},
    {kCmdBackgroundMenu, kCmdBackgroundFirst, kCmdBackgroundLast},
    {kCmdBorderColourMenu, kCmdBorderColourFirst, kCmdBorderColourLast}};

// The menu (the given one or one of its submenus) that holds the item of
// the command; null when none does.
QMenu* MenuHolding(QMenu* menu, uint32_t id)
{
    for (QAction* action : menu->actions()) {
        if (MenuGetCommandId(action) == id)
            return menu;
        if (QMenu* sub = action->menu())
            if (QMenu* found = MenuHolding(sub, id))
                return found;
    }
    return nullptr;
}

}  // namespace

bool CMainFrame::ReplaceItemByPopup(const std::vector<QMenu*>& menus, uint32_t id, QMenu* popup)
{
    for (QMenu* top : menus) {
        QMenu* holder = MenuHolding(top, id);
        if (!holder)
            continue;
        QAction* item = nullptr;
        for (QAction* action : holder->actions())
            if (MenuGetCommandId(action) == id)
                item = action;
        popup->setTitle(item->text().left(256));
        MenuSetCommandId(popup->menuAction(), kMenuSubmenuId);
        holder->insertMenu(item, popup);
        holder->removeAction(item);
        delete item;
        return true;
    }
    return false;
}

void CMainFrame::BuildDatabaseMenus()
{
    if (databaseMenusBuilt_)
        return;
    fieldMenus_[0] = new FieldMenu(this);
    fieldMenus_[0]->CreateItems(kCmdBrowseFieldFirst, kFieldItems);
    ReplaceItemByPopup(MenuSet(kMenuDatabase), kCmdBrowseFieldMenu, fieldMenus_[0]);
    databaseMenusBuilt_ = true;
}

void CMainFrame::BuildCardMenus()
{
    if (cardMenusBuilt_)
        return;
    for (int32_t i = 0; i < 4; ++i) {
        colorMenus_[i] = new ColorMenu(this);
        colorMenus_[i]->Build(&colours_, kCellWidth, kCellHeight, kMenuCheckIcon, kColourMenus[i].first,
                              kColourMenus[i].last, 1);
    }
    fieldMenus_[1] = new FieldMenu(this);
    fieldMenus_[1]->CreateItems(kCmdPlaceFieldFirst, kFieldItems);
    fieldMenus_[2] = new FieldMenu(this);
    fieldMenus_[2]->CreateItems(kCmdInsertFieldFirst, kFieldItems);

    patternMenu_ = new IconMenu(this);
    patternMenu_->AddIconItem(MakeFillPatternStrip(kCellWidth, kCellHeight), GetFillPatternCount(), kCellWidth,
                              kCellHeight, kMenuCheckIcon, kCmdPatternFirst, kCmdPatternLast, true);
    lineMenu_ = new IconMenu2(this);
    lineMenu_->Create(9, kCmdLineStyleFirst, kMenuCheckIcon, kCellWidth, kCellHeight, true);

    fontMenu_ = new StdFontMenu(this);
    fontMenu_->CreateFontMenu(kCmdFontListFirst, 0, 0);
    connect(fontMenu_, &StdFontMenu::FontChosen, this, [this](const FontChoice& choice) {
        if (choice.index >= 0)
            RouteCommand(kCmdFontListFirst + uint32_t(choice.index));
    });

    const std::vector<QMenu*>& card = MenuSet(kMenuCard);
    for (int32_t i = 0; i < 4; ++i)
        ReplaceItemByPopup(card, kColourMenus[i].placeholder, colorMenus_[i]);
    ReplaceItemByPopup(card, kCmdPlaceFieldMenu, fieldMenus_[1]);
    ReplaceItemByPopup(card, kCmdInsertFieldMenu, fieldMenus_[2]);
    ReplaceItemByPopup(card, kCmdPatternMenu, patternMenu_);
    ReplaceItemByPopup(card, kCmdLineStyleMenu, lineMenu_);
    ReplaceItemByPopup(card, kCmdFontItem, fontMenu_);
    // The wizard's data is maintained only in master mode.
    if (IsMasterMode()) {
        for (QMenu* top : card) {
            if (top->title() != "&Edit")
                continue;
            const QList<QAction*> items = top->actions();
            if (items.isEmpty() || MenuGetCommandId(items.back()) != kCmdWizardSetup)
                MenuSetCommandId(top->addAction("Wizard Setup..."), kCmdWizardSetup);
        }
    }
    cardMenusBuilt_ = true;
}

void CMainFrame::RefreshFieldNames()
{
    for (FieldMenu* menu : fieldMenus_)
        if (menu)
            menu->UpdateFieldNames();
    if (dbBar_)
        dbBar_->RefreshFieldCombos();
}

void CMainFrame::OnFontChange()
{
    if (drawBar_)
        drawBar_->SaveFontSelection();
    LogFont filter;
    filter.weight = 0;
    filter.outPrecision = 0;
    filter.charSet = DEFAULT_CHARSET;
    GetGlobalFontList()->Build(&filter);
    if (drawBar_)
        drawBar_->RestoreFontSelection();
}
