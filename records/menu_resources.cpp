#include "records/menu_resources.h"

#include <QAction>
#include <QMenu>

#include "foundation/cp1252.h"
#include "platform/menus.h"
#include "records/command_keys.h"

namespace {

#define SEP(d) {d, nullptr, 0}

// The parts that all three bars share.
#define FILE_NEW_OPEN                                  \
    {1, "&New", 0},                                    \
    {2, "Data&base...", kCmdNewDatabase},                \
    {2, "&Label...", kCmdCreateNewLabel},                           \
    {2, "&Document...", kCmdNewDocument},          \
    {1, "&Open", 0},                                   \
    {2, "Data&base...", kCmdOpenDatabase},                \
    {2, "&Document...", kCmdOpenDocument}

#define FILE_TAIL                                      \
    SEP(1),                                            \
    {1, "&Wizard...", kCmdWizard},                          \
    SEP(1),                                            \
    {1, "Recent File", kCmdRecentFile1},        \
    SEP(1),                                            \
    {1, "E&xit", kCmdAppExit}

#define SHOW_TOOLS                                     \
    {1, "Show &Tools", 0},                             \
    {2, "&Database Toolbar", kCmdToggleDatabaseBar},                   \
    {2, "D&ocument Toolbar", kCmdToggleDocumentBar},                   \
    {2, "&Floating Tool Palette", kCmdToggleToolPalette},              \
    {2, "&Status Bar", kCmdViewStatusBar},                         \
    {1, "Show &Clipboard", kCmdShowClipboard}

// The parts that the card and database bars share: the document's own
// file commands, the clipboard, the windows and help.
#define FILE_CLOSE_SAVE                                \
    {1, "&Close", kCmdFileClose},                              \
    {1, "Close A&ll", kCmdCloseAll},                          \
    {1, "&Save", kCmdFileSave},                       \
    {1, "Save &As...", kCmdFileSaveAs}

#define EDIT_CLIPBOARD                                 \
    {0, "&Edit", 0},                                   \
    {1, "&Undo", kCmdEditUndo},                       \
    SEP(1),                                            \
    {1, "Cu&t", kCmdEditCut},                        \
    {1, "&Copy", kCmdEditCopy},                       \
    {1, "&Paste", kCmdEditPaste},                      \
    {1, "Cl&ear", kCmdEditClear},                              \
    {1, "Select &All", kCmdEditSelectAll},                 \
    SEP(1)

#define WINDOW_HELP                                    \
    {0, "&Window", 0},                                 \
    {1, "&Cascade", kCmdWindowCascade},                            \
    {1, "&Tile", kCmdWindowTile},                               \
    {1, "&Arrange Icons", kCmdWindowArrange},                      \
    {0, "&Help", 0},                                   \
    {1, "&About Tessaline...", kCmdAppAbout}

#define SHADES(first)                                                                                     \
    {2, "0%", first}, {2, "10%", first + 1}, {2, "20%", first + 2}, {2, "30%", first + 3},                  \
        {2, "40%", first + 4}, {2, "50%", first + 5}, {2, "60%", first + 6}, {2, "70%", first + 7},         \
        {2, "80%", first + 8}, {2, "90%", first + 9}, {2, "100%", first + 10}, {2, "Other...", first + 11}

const MenuLine kMainMenu[] = {
    {0, "&File", 0},
    FILE_NEW_OPEN,
    SEP(1),
    {1, "P&rint Setup...", kCmdFilePrintSetup},
    FILE_TAIL,
    {0, "&View", 0},
    SHOW_TOOLS,
    {0, "&Help", 0},
    {1, "&About Tessaline...", kCmdAppAbout},
};

const MenuLine kCardMenu[] = {
    {0, "&File", 0},
    FILE_NEW_OPEN,
    FILE_CLOSE_SAVE,
    SEP(1),
    {1, "&Import Text...", kCmdImportText},
    {1, "Import &Graphics...", kCmdImportGraphics},
    {1, "&Export", 0},
    {2, "Database...", kCmdExportDatabase},
    {2, "Export As Picture...", kCmdExportPicture},
    SEP(1),
    {1, "Document Set&up...", kCmdDocumentSetup},
    {1, "Page Se&tup...", kCmdPageSetup},
    {1, "P&rint Setup...", kCmdFilePrintSetup},
    {1, "Print Options...", kCmdPrintOptions},
    {1, "&Print", 0},
    {2, "Document From Database...", kCmdPrintFromDatabase},
    {2, "Sheet of Active Document...", kCmdPrintSheet},
    {2, "Default Card Info...", kCmdPrintDefaultCardInfo},
    {1, "Print Pre&view...", kCmdPrintPreview},
    FILE_TAIL,
    EDIT_CLIPBOARD,
    {1, "&Find/Replace...", kCmdEditFind},
    SEP(1),
    {1, "Create Color...", kCmdCreateColor},
    {1, "Ruler Settings...", kCmdRulerSettings},
    {1, "Guide Settings...", kCmdGuideSettings},
    {1, "Preferences...", kCmdPreferences},
    {1, "Default Card Info...", kCmdDefaultCardInfo},
    SEP(1),
    {1, "Change &Layout and Design...", kCmdChangeLayout},
    // The card window's page items follow the first nine items of the View
    // menu: the document puts the ones that fit its sides there.
    {0, "&View", 0},
    {1, "Show &Rulers", kCmdShowRulers},
    {1, "Show &Guides", kCmdShowGuides},
    {1, "Show &Nonprinting Areas", kCmdShowNonPrinting},
    {1, "&Printable Backdrop", kCmdPrintableBackdrop},
    SEP(1),
    {1, "View Si&ze", 0},
    {2, "Fit in Window", kCmdFirstZoom},
    {2, "25%", kCmdFirstZoom + 1},
    {2, "50%", kCmdFirstZoom + 2},
    {2, "75%", kCmdFirstZoom + 3},
    {2, "Actual Size 100%", kCmdFirstZoom + 4},
    {2, "200%", kCmdFirstZoom + 5},
    {2, "Other...", kCmdLastZoom},
    SHOW_TOOLS,
    SEP(1),
    {1, "&Insert Page...", kCmdInsertPage},
    {1, "&Delete Page...", kCmdDeletePage},
    {1, "G&oto Page...", kCmdGotoPage},
    {0, "&Object", 0},
    {1, "Object &Info...", kCmdObjectInfo},
    {1, "&Frame Info...", kCmdFrameInfo},
    {1, "Fill Info...", kCmdFillInfo},
    {1, "Text &Runaround...", kCmdTextRunaround},
    SEP(1),
    {1, "&Duplicate", kCmdDuplicate},
    {1, "Delete", kCmdDelete},
    {1, "&Group", kCmdGroup},
    {1, "&UnGroup", kCmdUngroup},
    {1, "Bring to Fron&t", kCmdBringToFront},
    {1, "Send to &Back", kCmdSendToBack},
    {1, "Shuffle Forward", kCmdShuffleForward},
    {1, "&Align Object...", kCmdAlignObjects},
    SEP(1),
    {1, "Place Barcode", kCmdPlaceBarcode},
    {1, "Place Counter", kCmdPlaceCounter},
    {1, "Place &Quick Card...", kCmdPlaceQuickCard},
    {1, "Make Object a Barcode", kCmdBarcodeMark},
    {1, "Place Database Field", kCmdPlaceFieldMenu},
    {0, "&Graphics", 0},
    {1, "&Color", kCmdBorderColourMenu},
    {1, "&Shade", 0},
    SHADES(kCmdBorderShadeFirst),
    SEP(1),
    {1, "&Fill Color", kCmdFillColourMenu},
    {1, "Fill S&hade", 0},
    SHADES(kCmdFillShadeFirst),
    {1, "&Background Color", kCmdBackgroundMenu},
    {1, "Fill &Pattern", kCmdPatternMenu},
    SEP(1),
    {1, "&Line Style", kCmdLineStyleMenu},
    {1, "Line &Width", 0},
    {2, "1 pt", kCmdLineWidthFirst},
    {2, "2 pt", kCmdLineWidthFirst + 1},
    {2, "4 pt", kCmdLineWidthFirst + 3},
    {2, "8 pt", kCmdLineWidthFirst + 4},
    {2, "12 pt", kCmdLineWidthLast},
    {2, "Other Width...", kCmdLineWidthOther},
    {0, "&Text", 0},
    MENU_TEXT_FONT_SIZE_STYLE,
    {2, "Small Caps", kCmdSmallCaps},
    {2, "Superscript", kCmdSuperscript},
    {2, "Subscript", kCmdSubscript},
    {1, "&Color", kCmdTextColourMenu},
    {1, "S&hade", 0},
    SHADES(kCmdTextShadeFirst),
    MENU_TEXT_ALIGNMENT_SPACING,
    SEP(1),
    {1, "Ta&bs...", kCmdTabs},
    {1, "Character &Info...", kCmdCharacterInfo},
    {1, "&Paragraph Info...", kCmdParagraphInfo},
    {1, "Sp&elling", 0},
    {2, "Word", kCmdSpellWord},
    {2, "Paragraph", kCmdSpellWord + 1},
    {2, "Story", kCmdSpellLast},
    {1, "Insert Page &Number", 0},
    {2, "1, 2, 3, 4", kCmdPageNumberFirst},
    {2, "I, II, III, IV", kCmdPageNumberFirst + 2},
    {2, "i, ii, iii, iv", kCmdPageNumberFirst + 3},
    {2, "A, B, C, D", kCmdPageNumberFirst + 4},
    {2, "a, b, c, d", kCmdPageNumberLast},
    {1, "Insert &Database Field", kCmdInsertFieldMenu},
    WINDOW_HELP,
};

const MenuLine kDatabaseMenu[] = {
    {0, "&File", 0},
    FILE_NEW_OPEN,
    FILE_CLOSE_SAVE,
    SEP(1),
    {1, "&Import Database...", kCmdImportDatabase},
    {1, "Import &Graphics...", kCmdImportGraphics},
    {1, "&Export", 0},
    {2, "Database...", kCmdExportDatabase},
    {2, "Database Report...", kCmdExportReport},
    {1, "&Merge Database...", kCmdMergeDatabase},
    {1, "Spli&t Database...", kCmdSplitDatabase},
    SEP(1),
    {1, "P&rint Setup...", kCmdFilePrintSetup},
    {1, "&Print", 0},
    {2, "Quick Database Report...", kCmdQuickReport},
    {2, "Print Database Bulk Mail Records", kCmdPrintDatabaseBulkMail},
    FILE_TAIL,
    EDIT_CLIPBOARD,
    // The database window's item has never shown a key.
    {1, "Preferences...", kCmdPreferences, false},
    {1, "Data Entry Options...", kCmdDataEntryOptions},
    {1, "Create Custom Fields...", kCmdCreateCustomFields},
    {1, "Default Card Info...", kCmdDefaultCardInfo},
    {0, "&View", 0},
    SHOW_TOOLS,
    {0, "&Database", 0},
    {1, "&Update Record", kCmdUpdateRecord},
    {1, "&New Record", kCmdNewRecord},
    {1, "&Delete Record", kCmdDeleteRecord},
    {1, "Du&plicate Record", kCmdDuplicateRecord},
    {1, "&Clear All Fields", kCmdClearAllFields},
    SEP(1),
    {1, "&Sort...", kCmdSort},
    {1, "&Find One...", kCmdFindOne},
    {1, "Find &All...", kCmdFindAll},
    {1, "Search All Fi&elds", kCmdSearchAllFields},
    {1, "&Query...", kCmdQuery},
    {1, "Show All &Records", kCmdShowAllRecords},
    {1, "Delete All Duplicate Records", kCmdDeleteDuplicates},
    SEP(1),
    {1, "&Browse Field", kCmdBrowseFieldMenu},
    WINDOW_HELP,
};

#undef SEP
#undef FILE_NEW_OPEN
#undef FILE_TAIL
#undef FILE_CLOSE_SAVE
#undef EDIT_CLIPBOARD
#undef SHOW_TOOLS
#undef WINDOW_HELP
#undef SHADES

// Builds the lines [begin, end) that are one level below the line that
// opened them.
void BuildItems(const MenuLine* lines, size_t begin, size_t end, QMenu* menu)
{
    size_t i = begin;
    while (i < end) {
        const MenuLine& line = lines[i];
        size_t next = i + 1;
        while (next < end && lines[next].depth > line.depth)
            ++next;
        if (!line.text) {
            MenuSetCommandId(menu->addSeparator(), 0);
        } else if (next > i + 1) {
            QMenu* sub = menu->addMenu(Cp1252ToQString(line.text));
            MenuSetCommandId(sub->menuAction(), kMenuSubmenuId);
            BuildItems(lines, i + 1, next, sub);
        } else {
            QAction* action = menu->addAction(Cp1252ToQString(line.text));
            MenuSetCommandId(action, line.id);
            if (line.showsKey)
                SetCommandKeys(action, line.id);
        }
        i = next;
    }
}

}  // namespace

std::vector<uint32_t> KeyOnlyCommands(int32_t resourceId)
{
    // The card window's backdrop keys: Set As BackDrop and Change Backdrop.
    if (resourceId == kMenuCard)
        return {kCmdSetAsBackdrop, kCmdChangeBackdrop};
    return {};
}

void SetCommandKeys(QAction* action, uint32_t id)
{
    const char* keys = CommandKeys(id);
    if (!keys)
        return;
    // Qt draws the shortcut at the item's right, in context menus too.
    action->setShortcut(QKeySequence(QString::fromLatin1(keys), QKeySequence::PortableText));
    action->setShortcutVisibleInContextMenu(true);
    // The database form's Enter and Shift+Enter belong to its edits: those
    // keys are only shown. A widget shortcut of an action that lives only
    // in menus never matches, as no menu takes the focus as a widget.
    if (CommandShortcut(id).isEmpty())
        action->setShortcutContext(Qt::WidgetShortcut);
}

std::vector<QMenu*> BuildMenuResource(int32_t resourceId, QWidget* owner)
{
    const MenuLine* lines = nullptr;
    size_t count = 0;
    switch (resourceId) {
    case kMenuMain:
        lines = kMainMenu;
        count = std::size(kMainMenu);
        break;
    case kMenuCard:
        lines = kCardMenu;
        count = std::size(kCardMenu);
        break;
    case kMenuDatabase:
        lines = kDatabaseMenu;
        count = std::size(kDatabaseMenu);
        break;
    default:
        return {};
    }
    return BuildMenuLines(lines, count, owner);
}

std::vector<QMenu*> BuildMenuLines(const MenuLine* lines, size_t count, QWidget* owner)
{
    std::vector<QMenu*> menus;
    size_t i = 0;
    while (i < count) {
        size_t next = i + 1;
        while (next < count && lines[next].depth > 0)
            ++next;
        auto* menu = new QMenu(Cp1252ToQString(lines[i].text), owner);
        MenuSetCommandId(menu->menuAction(), kMenuSubmenuId);
        BuildItems(lines, i + 1, next, menu);
        menus.push_back(menu);
        i = next;
    }
    return menus;
}
