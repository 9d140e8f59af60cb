// The card view's context menus. A right click shows one pop-up: the Text
// tool's while it is current, else the one made for the Object tool's
// selection (by the type its frames share). Their items send the commands
// of the card window's menus, so they are enabled, checked and carried out
// exactly as those are.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

class QMenu;

enum : int32_t {
    kContextMenuCounter = 530,
    kContextMenuFieldBarcode = 531,
    kContextMenuQuickCard = 532,
    kContextMenuBarcode = 533,
    kContextMenuObjects = 534,
    kContextMenuEmpty = 535,
    kContextMenuText = 536,
    kContextMenuStar = 537,
    kContextMenuPowerText = 538,
};

// The menu for the Object tool's selection: the number of selected frames
// and the type they all share (0 when they differ).
int32_t ContextMenuForSelection(int16_t count, int16_t sharedType);

// A document's context menus, built the first time each is wanted.
class CardContextMenus {
public:
    CardContextMenus();
    ~CardContextMenus();
    CardContextMenus(const CardContextMenus&) = delete;
    CardContextMenus& operator=(const CardContextMenus&) = delete;

    // The pop-up of menu 530-538; null for another id. The Text, Quick
    // Card and field barcode menus carry the font list under "Font".
    QMenu* Popup(int32_t resourceId);

private:
    std::map<int32_t, std::unique_ptr<QMenu>> menus_;
};
