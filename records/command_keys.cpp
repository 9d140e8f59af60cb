#include "records/command_keys.h"

#include <iterator>

#include <QString>

namespace {

struct CommandKey {
    uint32_t id;
    const char* keys;
};

constexpr CommandKey kCommandKeys[] = {
    // The file and clipboard commands.
    {kCmdNewDatabase, "Ctrl+N"},
    {kCmdNewDocument, "Ctrl+Shift+N"},
    {kCmdOpenDatabase, "Ctrl+O"},
    {kCmdOpenDocument, "Ctrl+Shift+O"},
    {kCmdFileSave, "Ctrl+S"},
    {kCmdImportText, "Ctrl+M"},
    {kCmdImportGraphics, "Ctrl+Shift+M"},
    {kCmdDocumentSetup, "Ctrl+L"},
    {kCmdPrintFromDatabase, "Ctrl+P"},
    {kCmdEditUndo, "Ctrl+Z"},
    {kCmdEditCut, "Ctrl+X"},
    {kCmdEditCopy, "Ctrl+C"},
    {kCmdEditPaste, "Ctrl+V"},
    {kCmdEditSelectAll, "Ctrl+A"},
    {kCmdEditFind, "Ctrl+F"},
    {kCmdPreferences, "Ctrl+Y"},
    // The card's objects.
    {kCmdObjectInfo, "Ctrl+I"},
    {kCmdFrameInfo, "Ctrl+Shift+F"},
    {kCmdTextRunaround, "Ctrl+R"},
    {kCmdDuplicate, "Ctrl+D"},
    {kCmdGroup, "Ctrl+G"},
    {kCmdUngroup, "Ctrl+U"},
    {kCmdBringToFront, "Ctrl+]"},
    {kCmdSendToBack, "Ctrl+["},
    {kCmdAlignObjects, "Ctrl+Shift+A"},
    {kCmdPlaceQuickCard, "Ctrl+Q"},
    {kCmdSetAsBackdrop, "Ctrl+Alt+V"},
    {kCmdChangeBackdrop, "Ctrl+Alt+B"},
    {kCmdLoadTemplateFromFile, "Ctrl+Alt+L"},
    {kCmdAddTemplateToWizard, "Ctrl+Alt+A"},
    {kCmdChangeTemplateInWizard, "Ctrl+Alt+C"},
    // The text.
    {kCmdLarger, "Ctrl+K"},
    {kCmdSmaller, "Ctrl+Shift+K"},
    {kCmdStylePlain, "Ctrl+Shift+P"},
    {kCmdStyleBold, "Ctrl+Shift+B"},
    {kCmdStyleItalic, "Ctrl+Shift+I"},
    {kCmdStyleUnderline, "Ctrl+Shift+U"},
    {kCmdAlignFirst, "Ctrl+Shift+L"},
    {kCmdAlignFirst + 1, "Ctrl+Shift+C"},
    {kCmdAlignFirst + 2, "Ctrl+Shift+R"},
    {kCmdAlignLast, "Ctrl+Shift+J"},
    {kCmdTabs, "Ctrl+Shift+T"},
    {kCmdCharacterInfo, "Ctrl+Shift+H"},
    {kCmdParagraphInfo, "Ctrl+Shift+G"},
    // The database form.
    {kCmdUpdateRecord, "Enter"},
    {kCmdNewRecord, "Shift+Enter"},
    {kCmdDeleteRecord, "Ctrl+Shift+D"},
    {kCmdDuplicateRecord, "Ctrl+D"},
    {kCmdFindOne, "Ctrl+F"},
    {kCmdQuery, "Ctrl+U"},
    {kCmdShowAllRecords, "Ctrl+R"},
};

}  // namespace

const char* CommandKeys(uint32_t id)
{
    for (const CommandKey& key : kCommandKeys) {
        if (key.id == id)
            return key.keys;
    }
    return nullptr;
}

QKeySequence CommandShortcut(uint32_t id)
{
    const char* keys = CommandKeys(id);
    if (!keys || !QByteArray(keys).contains("Ctrl"))
        return {};
    return QKeySequence(QString::fromLatin1(keys), QKeySequence::PortableText);
}
