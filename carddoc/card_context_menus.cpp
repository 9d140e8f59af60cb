#include "carddoc/card_context_menus.h"

#include <iterator>

#include <QMenu>

#include "frames/frame_obj.h"
#include "platform/menus.h"
#include "records/command_ids.h"
#include "records/menu_resources.h"
#include "typography/std_font_menu.h"

namespace {

#define SEP(d) {d, nullptr, 0}

#define OBJECT_ITEMS                                   \
    {1, "Cu&t", kCmdEditCut},                                 \
    {1, "&Copy", kCmdEditCopy},                               \
    {1, "&Paste", kCmdEditPaste},                             \
    {1, "&Delete", kCmdDelete},                           \
    SEP(1),                                            \
    {1, "D&uplicate", kCmdDuplicate},                     \
    {1, "Bring to &Front", kCmdBringToFront},             \
    {1, "Send to &Back", kCmdSendToBack},                 \
    SEP(1),                                            \
    {1, "&Object Info...", kCmdObjectInfo},               \
    {1, "F&rame Info...", kCmdFrameInfo},                 \
    {1, "F&ill Info...", kCmdFillInfo}

#define TEXT_FORMAT_ITEMS                              \
    MENU_TEXT_FONT_SIZE_STYLE,                         \
    {2, "All Caps", kCmdSmallCaps},                    \
    {2, "Superscript", kCmdSuperscript},               \
    {2, "Subscript", kCmdSubscript}

const MenuLine kCounterMenu[] = {
    {0, "__Counter__", 0},
    {1, "Counter &Info...", kCmdCounterInfo},
    SEP(1),
    OBJECT_ITEMS,
};

const MenuLine kFieldBarcodeMenu[] = {
    {0, "__DB Field__", 0},
    {1, "Barcode &Info...", kCmdBarcodeInfo},
    SEP(1),
    TEXT_FORMAT_ITEMS,
    SEP(1),
    OBJECT_ITEMS,
};

const MenuLine kQuickCardMenu[] = {
    {0, "__Quick Adress__", 0},
    {1, "Quick Card &Info...", kCmdQuickCardInfo},
    SEP(1),
    TEXT_FORMAT_ITEMS,
    SEP(1),
    OBJECT_ITEMS,
};

const MenuLine kBarcodeMenu[] = {
    {0, "__Barcode__", 0},
    {1, "Barcode &Info...", kCmdBarcodeInfo},
    SEP(1),
    OBJECT_ITEMS,
};

const MenuLine kObjectsMenu[] = {
    {0, "__Simple Objects__", 0},
    OBJECT_ITEMS,
    {1, "Text R&unaround...", kCmdTextRunaround},
    SEP(1),
    {1, "&Group", kCmdGroup},
    {1, "U&nGroup", kCmdUngroup},
    {1, "&Align Object...", kCmdAlignObjects},
};

const MenuLine kEmptyMenu[] = {
    {0, "__Empty Selection__", 0},
    {1, "&Paste", kCmdEditPaste},
    {1, "P&references...", kCmdPreferences},
    {1, "Select &All", kCmdEditSelectAll},
};

const MenuLine kTextMenu[] = {
    {0, "__Text__", 0},
    {1, "Cu&t", kCmdEditCut},
    {1, "&Copy", kCmdEditCopy},
    {1, "&Paste", kCmdEditPaste},
    {1, "Select &All", kCmdEditSelectAll},
    SEP(1),
    TEXT_FORMAT_ITEMS,
    MENU_TEXT_ALIGNMENT_SPACING,
    SEP(1),
    {1, "Character &Info...", kCmdCharacterInfo},
    {1, "Pa&ragraph Info...", kCmdParagraphInfo},
    {1, "Ta&bs...", kCmdTabs},
};

const MenuLine kStarMenu[] = {
    {0, "__Star__", 0},
    {1, "Star &Info...", kCmdStarInfo},
    SEP(1),
    OBJECT_ITEMS,
};

const MenuLine kPowerTextMenu[] = {
    {0, "__Power Text__", 0},
    {1, "Power Text &Info...", kCmdPowerTextInfo},
    SEP(1),
    OBJECT_ITEMS,
};

#undef SEP
#undef OBJECT_ITEMS
#undef TEXT_FORMAT_ITEMS

struct MenuTable {
    const MenuLine* lines;
    size_t count;
};

MenuTable TableOf(int32_t resourceId)
{
    switch (resourceId) {
    case kContextMenuCounter: return {kCounterMenu, std::size(kCounterMenu)};
    case kContextMenuFieldBarcode: return {kFieldBarcodeMenu, std::size(kFieldBarcodeMenu)};
    case kContextMenuQuickCard: return {kQuickCardMenu, std::size(kQuickCardMenu)};
    case kContextMenuBarcode: return {kBarcodeMenu, std::size(kBarcodeMenu)};
    case kContextMenuObjects: return {kObjectsMenu, std::size(kObjectsMenu)};
    case kContextMenuEmpty: return {kEmptyMenu, std::size(kEmptyMenu)};
    case kContextMenuText: return {kTextMenu, std::size(kTextMenu)};
    case kContextMenuStar: return {kStarMenu, std::size(kStarMenu)};
    case kContextMenuPowerText: return {kPowerTextMenu, std::size(kPowerTextMenu)};
    default: return {nullptr, 0};
    }
}

// The "Font" item becomes the font list's pop-up, keeping the item's text.
void AttachFontMenu(QMenu* menu)
{
    for (QAction* item : menu->actions()) {
        if (MenuGetCommandId(item) != kCmdFontItem)
            continue;
        auto* fonts = new StdFontMenu(menu);
        fonts->CreateFontMenu(kCmdFontListFirst, 0, 0);
        fonts->setTitle(item->text());
        MenuSetCommandId(fonts->menuAction(), kMenuSubmenuId);
        menu->insertMenu(item, fonts);
        menu->removeAction(item);
        delete item;
        return;
    }
}

}  // namespace

int32_t ContextMenuForSelection(int16_t count, int16_t sharedType)
{
    if (count <= 0)
        return kContextMenuEmpty;
    switch (sharedType) {
    case kFrameCounterBarcode: return kContextMenuCounter;
    case kFrameFieldBarcode: return kContextMenuFieldBarcode;
    case kFrameBarcode13:
    case kFrameBarcode18: return kContextMenuQuickCard;
    case kFrameBarcode: return kContextMenuBarcode;
    case kFrameStar: return kContextMenuStar;
    case kFramePowerText: return kContextMenuPowerText;
    default: return kContextMenuObjects;
    }
}

CardContextMenus::CardContextMenus() = default;

CardContextMenus::~CardContextMenus() = default;

QMenu* CardContextMenus::Popup(int32_t resourceId)
{
    if (auto found = menus_.find(resourceId); found != menus_.end())
        return found->second.get();
    const MenuTable table = TableOf(resourceId);
    if (!table.lines)
        return nullptr;
    std::vector<QMenu*> built = BuildMenuLines(table.lines, table.count, nullptr);
    if (built.empty())
        return nullptr;
    QMenu* popup = built.front();
    for (size_t i = 1; i < built.size(); ++i)
        delete built[i];
    AttachFontMenu(popup);
    menus_[resourceId].reset(popup);
    return popup;
}
