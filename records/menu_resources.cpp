#include "records/menu_resources.h"

#include <QKeySequence>
#include <QMenu>

#include "foundation/cp1252.h"
#include "platform/menus.h"

namespace {

#define SEP(d) {d, nullptr, 0}

// The parts that all three bars share.
#define FILE_NEW_OPEN                                  \
    {1, "&New", 0},                                    \
    {2, "Data&base...\tCtrl+N", 32780},                \
    {2, "&Label...", 32781},                           \
    {2, "&Document...\tCtrl+Shift+N", 34032},          \
    {1, "&Open", 0},                                   \
    {2, "Data&base...\tCtrl+O", 32826},                \
    {2, "&Document...\tCtrl+Shift+O", 32827}

#define FILE_TAIL                                      \
    SEP(1),                                            \
    {1, "&Wizard...", 34045},                          \
    SEP(1),                                            \
    {1, "Recent File", kRecentFilePlaceholder},        \
    SEP(1),                                            \
    {1, "E&xit", 57665}

#define SHOW_TOOLS                                     \
    {1, "Show &Tools", 0},                             \
    {2, "&Database Toolbar", 32861},                   \
    {2, "D&ocument Toolbar", 32862},                   \
    {2, "&Floating Tool Palette", 32863},              \
    {2, "&Status Bar", 59393},                         \
    {1, "Show &Clipboard", 32864}

// The parts that the card and database bars share: the document's own
// file commands, the clipboard, the windows and help.
#define FILE_CLOSE_SAVE                                \
    {1, "&Close", 57602},                              \
    {1, "Close A&ll", 32828},                          \
    {1, "&Save\tCtrl+S", 57603},                       \
    {1, "Save &As...", 57604}

#define EDIT_CLIPBOARD                                 \
    {0, "&Edit", 0},                                   \
    {1, "&Undo\tCtrl+Z", 57643},                       \
    SEP(1),                                            \
    {1, "Cu&t\tCtrl+X", 57635},                        \
    {1, "&Copy\tCtrl+C", 57634},                       \
    {1, "&Paste\tCtrl+V", 57637},                      \
    {1, "Cl&ear", 57632},                              \
    {1, "Select &All\tCtrl+A", 32842},                 \
    SEP(1)

#define WINDOW_HELP                                    \
    {0, "&Window", 0},                                 \
    {1, "&Cascade", 57650},                            \
    {1, "&Tile", 57651},                               \
    {1, "&Arrange Icons", 57649},                      \
    {0, "&Help", 0},                                   \
    {1, "&About Tessaline...", 57664}

#define SHADES(first)                                                                                     \
    {2, "0%", first}, {2, "10%", first + 1}, {2, "20%", first + 2}, {2, "30%", first + 3},                  \
        {2, "40%", first + 4}, {2, "50%", first + 5}, {2, "60%", first + 6}, {2, "70%", first + 7},         \
        {2, "80%", first + 8}, {2, "90%", first + 9}, {2, "100%", first + 10}, {2, "Other...", first + 11}

const MenuLine kMainMenu[] = {
    {0, "&File", 0},
    FILE_NEW_OPEN,
    SEP(1),
    {1, "P&rint Setup...", 57606},
    FILE_TAIL,
    {0, "&View", 0},
    SHOW_TOOLS,
    {0, "&Help", 0},
    {1, "&About Tessaline...", 57664},
};

const MenuLine kCardMenu[] = {
    {0, "&File", 0},
    FILE_NEW_OPEN,
    FILE_CLOSE_SAVE,
    SEP(1),
    {1, "&Import Text...\tCtrl+M", 32833},
    {1, "Import &Graphics...\tCtrl+Shift+M", 32834},
    {1, "&Export", 0},
    {2, "Database...", 32830},
    {2, "Export As Picture...", 34017},
    SEP(1),
    {1, "Document Set&up...\tCtrl+L", 32835},
    {1, "Page Se&tup...", 32836},
    {1, "P&rint Setup...", 57606},
    {1, "Print Options...", 34041},
    {1, "&Print", 0},
    {2, "Document From Database...\tCtrl+P", 32837},
    {2, "Sheet of Active Document...", 32838},
    {2, "Default Card Info...", 33391},
    {1, "Print Pre&view...", 33441},
    FILE_TAIL,
    EDIT_CLIPBOARD,
    {1, "&Find/Replace...\tCtrl+F", 57636},
    SEP(1),
    {1, "Create Color...", 32952},
    {1, "Ruler Settings...", 32953},
    {1, "Guide Settings...", 32954},
    {1, "Preferences...\tCtrl+Y", 32955},
    {1, "Default Card Info...", 32846},
    SEP(1),
    {1, "Change &Layout and Design...", 34042},
    // The card window's page items follow the first nine items of the View
    // menu: the document puts the ones that fit its sides there.
    {0, "&View", 0},
    {1, "Show &Rulers", 32855},
    {1, "Show &Guides", 32856},
    {1, "Show &Nonprinting Areas", 32857},
    {1, "&Printable Backdrop", 34038},
    SEP(1),
    {1, "View Si&ze", 0},
    {2, "Fit in Window", 32848},
    {2, "25%", 32849},
    {2, "50%", 32850},
    {2, "75%", 32851},
    {2, "Actual Size 100%", 32852},
    {2, "200%", 32853},
    {2, "Other...", 32854},
    SHOW_TOOLS,
    SEP(1),
    {1, "&Insert Page...", 32858},
    {1, "&Delete Page...", 32859},
    {1, "G&oto Page...", 32860},
    {0, "&Object", 0},
    {1, "Object &Info...\tCtrl+I", 32881},
    {1, "&Frame Info...\tCtrl+Shift+F", 32882},
    {1, "Fill Info...", 32883},
    {1, "Text &Runaround...\tCtrl+R", 32884},
    SEP(1),
    {1, "&Duplicate\tCtrl+D", 32885},
    {1, "Delete", 32886},
    {1, "&Group\tCtrl+G", 32887},
    {1, "&UnGroup\tCtrl+U", 32888},
    {1, "Bring to Fron&t\tCtrl+]", 32889},
    {1, "Send to &Back\tCtrl+[", 32890},
    {1, "Shuffle Forward", 32891},
    {1, "&Align Object...\tCtrl+Shift+A", 32892},
    SEP(1),
    {1, "Place Barcode", 32893},
    {1, "Place Counter", 32894},
    {1, "Place &Quick Card...\tCtrl+Q", 32895},
    {1, "Make Object a Barcode", 32896},
    {1, "Place Database Field", 33141},
    {0, "&Graphics", 0},
    {1, "&Color", 33404},
    {1, "&Shade", 0},
    SHADES(33421),
    SEP(1),
    {1, "&Fill Color", 33138},
    {1, "Fill S&hade", 0},
    SHADES(32933),
    {1, "&Background Color", 33121},
    {1, "Fill &Pattern", 33216},
    SEP(1),
    {1, "&Line Style", 33217},
    {1, "Line &Width", 0},
    {2, "1 pt", 32945},
    {2, "2 pt", 32946},
    {2, "4 pt", 32948},
    {2, "8 pt", 32949},
    {2, "12 pt", 32950},
    {2, "Other Width...", 32951},
    {0, "&Text", 0},
    {1, "&Font", 33442},
    {1, "&Size", 0},
    {2, "8", 33443}, {2, "9", 33444}, {2, "10", 33445}, {2, "11", 33446}, {2, "12", 33447}, {2, "14", 33448},
    {2, "16", 33449}, {2, "18", 33450}, {2, "20", 33451}, {2, "22", 33452}, {2, "24", 33453}, {2, "26", 33454},
    {2, "28", 33455}, {2, "36", 33456}, {2, "48", 33457}, {2, "72", 33458},
    SEP(2),
    {2, "Larger\tCtrl+K", 33459},
    {2, "Smaller\tCtrl+Shift+K", 33460},
    {2, "Other...", 33461},
    {1, "S&tyle", 0},
    {2, "Plain\tCtrl+Shift+P", 33462},
    {2, "Bold\tCtrl+Shift+B", 33463},
    {2, "Italic\tCtrl+Shift+I", 33464},
    {2, "Underline\tCtrl+Shift+U", 33465},
    {2, "Small Caps", 33466},
    {2, "Superscript", 33467},
    {2, "Subscript", 33468},
    {1, "&Color", 33088},
    {1, "S&hade", 0},
    SHADES(32906),
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
    {1, "Ta&bs...\tCtrl+Shift+T", 32921},
    {1, "Character &Info...\tCtrl+Shift+H", 32928},
    {1, "&Paragraph Info...\tCtrl+Shift+G", 32929},
    {1, "Sp&elling", 0},
    {2, "Word", 32930},
    {2, "Paragraph", 32931},
    {2, "Story", 32932},
    {1, "Insert Page &Number", 0},
    {2, "1, 2, 3, 4", 33306},
    {2, "I, II, III, IV", 33308},
    {2, "i, ii, iii, iv", 33309},
    {2, "A, B, C, D", 33310},
    {2, "a, b, c, d", 33311},
    {1, "Insert &Database Field", 33143},
    WINDOW_HELP,
};

const MenuLine kDatabaseMenu[] = {
    {0, "&File", 0},
    FILE_NEW_OPEN,
    FILE_CLOSE_SAVE,
    SEP(1),
    {1, "&Import Database...", 32829},
    {1, "Import &Graphics...\tCtrl+Shift+M", 32834},
    {1, "&Export", 0},
    {2, "Database...", 32830},
    {2, "Database Report...", 32840},
    {1, "&Merge Database...", 32831},
    {1, "Spli&t Database...", 32832},
    SEP(1),
    {1, "P&rint Setup...", 57606},
    {1, "&Print", 0},
    {2, "Quick Database Report...", 33478},
    {2, "Print Database Bulk Mail Records", 33477},
    FILE_TAIL,
    EDIT_CLIPBOARD,
    {1, "Preferences...", 32955},
    {1, "Data Entry Options...", 32845},
    {1, "Create Custom Fields...", 32844},
    {1, "Default Card Info...", 32846},
    {0, "&View", 0},
    SHOW_TOOLS,
    {0, "&Database", 0},
    {1, "&Update Record\tEnter", 32866},
    {1, "&New Record\tShift+Enter", 32968},
    {1, "&Delete Record\tCtrl+Shift+D", 32867},
    {1, "Du&plicate Record\tCtrl+D", 32868},
    {1, "&Clear All Fields", 32869},
    SEP(1),
    {1, "&Sort...", 32808},
    {1, "&Find One...\tCtrl+F", 32874},
    {1, "Find &All...", 32875},
    {1, "Search All Fi&elds", 32876},
    {1, "&Query...\tCtrl+U", 32877},
    {1, "Show All &Records\tCtrl+R", 32878},
    {1, "Delete All Duplicate Records", 32970},
    SEP(1),
    {1, "&Browse Field", 32805},
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

// Keys typed into the database form (Enter, Shift+Enter) belong to its
// edits; only shortcuts with Ctrl become actions of the menu.
QKeySequence ShortcutOf(const QString& keys)
{
    if (!keys.contains("Ctrl"))
        return {};
    return QKeySequence(keys, QKeySequence::PortableText);
}

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
            const QString text = Cp1252ToQString(line.text);
            const qsizetype tab = text.indexOf('\t');
            QAction* action = menu->addAction(text);
            MenuSetCommandId(action, line.id);
            if (tab >= 0) {
                const QKeySequence keys = ShortcutOf(text.mid(tab + 1));
                if (!keys.isEmpty())
                    action->setShortcut(keys);
            }
        }
        i = next;
    }
}

}  // namespace

std::vector<KeyOnlyCommand> KeyOnlyCommands(int32_t resourceId)
{
    // The card window's backdrop keys: Set As BackDrop and Change Backdrop.
    if (resourceId == kMenuCard)
        return {{"Ctrl+Alt+V", 34023}, {"Ctrl+Alt+B", 34026}};
    return {};
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
