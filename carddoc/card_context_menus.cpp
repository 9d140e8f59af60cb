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
    {1, "&Font", kCmdFontItem},                               \
    {1, "&Size", 0},                                   \
    {2, "8", kCmdSizeFirst}, {2, "9", kCmdSizeFirst + 1}, {2, "10", kCmdSizeFirst + 2}, {2, "11", kCmdSizeFirst + 3}, {2, "12", kCmdSizeFirst + 4}, {2, "14", kCmdSizeFirst + 5}, \
    {2, "16", kCmdSizeFirst + 6}, {2, "18", kCmdSizeFirst + 7}, {2, "20", kCmdSizeFirst + 8}, {2, "22", kCmdSizeFirst + 9}, {2, "24", kCmdSizeFirst + 10},                \
    {2, "26", kCmdSizeFirst + 11}, {2, "28", kCmdSizeFirst + 12}, {2, "36", kCmdSizeFirst + 13}, {2, "48", kCmdSizeFirst + 14}, {2, "72", kCmdSizeLast},                \
    SEP(2),                                            \
    {2, "Larger", kCmdLarger},                              \
    {2, "Smaller", kCmdSmaller},                             \
    {2, "Other...", kCmdSizeOther},                            \
    {1, "S&tyle", 0},                                  \
    {2, "Plain", kCmdStylePlain},                               \
    {2, "Bold", kCmdStyleBold},                                \
    {2, "Italic", kCmdStyleItalic},                              \
    {2, "Underline", kCmdStyleUnderline},                           \
    {2, "All Caps", kCmdSmallCaps},                            \
    {2, "Superscript", kCmdSuperscript},                         \
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
    {1, "&Alignment", 0},
    {2, "Left", kCmdAlignFirst},
    {2, "Center", kCmdAlignFirst + 1},
    {2, "Right", kCmdAlignFirst + 2},
    {2, "Justified", kCmdAlignLast},
    {1, "&Line Spacing", 0},
    {2, "Single", kCmdSpacingSingle},
    {2, "One and a half", kCmdSpacingSingle + 1},
    {2, "Double", kCmdSpacingLast},
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
