#include "carddoc/card_context_menus.h"

#include <iterator>

#include <QMenu>

#include "frames/frame_obj.h"
#include "platform/menus.h"
#include "records/menu_resources.h"
#include "typography/std_font_menu.h"

namespace {

// Commands of the card window's menus the context menus reuse.
enum : uint32_t {
    kCut = 57635,
    kCopy = 57634,
    kPaste = 57637,
    kSelectAll = 32842,
    kPreferences = 32955,
    kObjectInfo = 32881,
    kFrameInfo = 32882,
    kFillInfo = 32883,
    kRunaround = 32884,
    kDuplicate = 32885,
    kDelete = 32886,
    kGroup = 32887,
    kUngroup = 32888,
    kBringToFront = 32889,
    kSendToBack = 32890,
    kAlign = 32892,
    kBarcodeInfo = 33280,
    kQuickCardInfo = 33281,
    kCounterInfo = 33474,
    kStarInfo = 34014,
    kPowerTextInfo = 34016,
    kFont = 33442,
};

#define SEP(d) {d, nullptr, 0}

#define OBJECT_ITEMS                                   \
    {1, "Cu&t\tCtrl+X", kCut},                                 \
    {1, "&Copy\tCtrl+C", kCopy},                               \
    {1, "&Paste\tCtrl+V", kPaste},                             \
    {1, "&Delete", kDelete},                           \
    SEP(1),                                            \
    {1, "D&uplicate\tCtrl+D", kDuplicate},                     \
    {1, "Bring to &Front\tCtrl+]", kBringToFront},             \
    {1, "Send to &Back\tCtrl+[", kSendToBack},                 \
    SEP(1),                                            \
    {1, "&Object Info...\tCtrl+I", kObjectInfo},               \
    {1, "F&rame Info...\tCtrl+Shift+F", kFrameInfo},                 \
    {1, "F&ill Info...", kFillInfo}

#define TEXT_FORMAT_ITEMS                              \
    {1, "&Font", kFont},                               \
    {1, "&Size", 0},                                   \
    {2, "8", 33443}, {2, "9", 33444}, {2, "10", 33445}, {2, "11", 33446}, {2, "12", 33447}, {2, "14", 33448}, \
    {2, "16", 33449}, {2, "18", 33450}, {2, "20", 33451}, {2, "22", 33452}, {2, "24", 33453},                \
    {2, "26", 33454}, {2, "28", 33455}, {2, "36", 33456}, {2, "48", 33457}, {2, "72", 33458},                \
    SEP(2),                                            \
    {2, "Larger\tCtrl+K", 33459},                              \
    {2, "Smaller\tCtrl+Shift+K", 33460},                             \
    {2, "Other...", 33461},                            \
    {1, "S&tyle", 0},                                  \
    {2, "Plain\tCtrl+Shift+P", 33462},                               \
    {2, "Bold\tCtrl+Shift+B", 33463},                                \
    {2, "Italic\tCtrl+Shift+I", 33464},                              \
    {2, "Underline\tCtrl+Shift+U", 33465},                           \
    {2, "All Caps", 33466},                            \
    {2, "Superscript", 33467},                         \
    {2, "Subscript", 33468}

const MenuLine kCounterMenu[] = {
    {0, "__Counter__", 0},
    {1, "Counter &Info...", kCounterInfo},
    SEP(1),
    OBJECT_ITEMS,
};

const MenuLine kFieldBarcodeMenu[] = {
    {0, "__DB Field__", 0},
    {1, "Barcode &Info...", kBarcodeInfo},
    SEP(1),
    TEXT_FORMAT_ITEMS,
    SEP(1),
    OBJECT_ITEMS,
};

const MenuLine kQuickCardMenu[] = {
    {0, "__Quick Adress__", 0},
    {1, "Quick Card &Info...", kQuickCardInfo},
    SEP(1),
    TEXT_FORMAT_ITEMS,
    SEP(1),
    OBJECT_ITEMS,
};

const MenuLine kBarcodeMenu[] = {
    {0, "__Barcode__", 0},
    {1, "Barcode &Info...", kBarcodeInfo},
    SEP(1),
    OBJECT_ITEMS,
};

const MenuLine kObjectsMenu[] = {
    {0, "__Simple Objects__", 0},
    OBJECT_ITEMS,
    {1, "Text R&unaround...\tCtrl+R", kRunaround},
    SEP(1),
    {1, "&Group\tCtrl+G", kGroup},
    {1, "U&nGroup\tCtrl+U", kUngroup},
    {1, "&Align Object...\tCtrl+Shift+A", kAlign},
};

const MenuLine kEmptyMenu[] = {
    {0, "__Empty Selection__", 0},
    {1, "&Paste\tCtrl+V", kPaste},
    {1, "P&references...\tCtrl+Y", kPreferences},
    {1, "Select &All\tCtrl+A", kSelectAll},
};

const MenuLine kTextMenu[] = {
    {0, "__Text__", 0},
    {1, "Cu&t\tCtrl+X", kCut},
    {1, "&Copy\tCtrl+C", kCopy},
    {1, "&Paste\tCtrl+V", kPaste},
    {1, "Select &All\tCtrl+A", kSelectAll},
    SEP(1),
    TEXT_FORMAT_ITEMS,
    {1, "&Alignment", 0},
    {2, "Left\tCtrl+Shift+L", 33434},
    {2, "Center\tCtrl+Shift+C", 33435},
    {2, "Right\tCtrl+Shift+R", 33436},
    {2, "Justified\tCtrl+Shift+J", 33437},
    {1, "&Line Spacing", 0},
    {2, "Single", 32923},
    {2, "One and a half", 32924},
    {2, "Double", 32925},
    SEP(1),
    {1, "Character &Info...\tCtrl+Shift+H", 32928},
    {1, "Pa&ragraph Info...\tCtrl+Shift+G", 32929},
    {1, "Ta&bs...\tCtrl+Shift+T", 32921},
};

const MenuLine kStarMenu[] = {
    {0, "__Star__", 0},
    {1, "Star &Info...", kStarInfo},
    SEP(1),
    OBJECT_ITEMS,
};

const MenuLine kPowerTextMenu[] = {
    {0, "__Power Text__", 0},
    {1, "Power Text &Info...", kPowerTextInfo},
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
        if (MenuGetCommandId(item) != kFont)
            continue;
        auto* fonts = new StdFontMenu(menu);
        fonts->CreateFontMenu(kFirstFontMenuCommand, 0, 0);
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
