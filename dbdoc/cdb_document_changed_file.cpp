// CDBDocument: a record file another program wrote while the window had
// it open (copied another database over it in place). The window writes
// nothing more into it: what the user was typing may go into a database of
// its own, and the window then shows what the file holds now.

#include <cstring>
#include <string>

#include "database/database_messages.h"
#include "database/database_session.h"
#include "database/record_file_format.h"
#include "dbdoc/cdb_document.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"

void CDBDocument::TakeFileChangedElsewhere()
{
    std::string text = Data().DatabaseName() + kChangedElsewhereText +
                       " Nothing was written to it, and this window will show what it holds now.";
    if (edited_.any()) {
        text += "\n\nSave the record you were editing in a new database first?";
        for (bool save = AlertConfirm(text.c_str(), 0) == 1; save;) {
            PathRecord target{};
            if (!ShellChooseNewDatabase("Save Record As:", &target)) {
                // The user meant to keep the edits: they go only once the
                // user has been told and agrees.
                save = AlertConfirm("The record you were editing has not been saved anywhere: its changes will be "
                                    "lost.\n\nSave it in a new database?",
                                    0) == 1;
            } else if (SaveEditedRecordAs(target)) {
                save = false;
            }
        }
    } else {
        AlertStop(text.c_str(), 0);
    }
    edited_.reset();
    pendingPosition_ = -1;
    if (!ReopenWithNewIndex()) {
        ShellCloseWindow();
        return;
    }
    refreshed_ = false;
    RefreshAfterViewsReady();
}

bool CDBDocument::SaveEditedRecordAs(const PathRecord& target)
{
    if (IsOpenDatabaseFile(target)) {
        DatabaseErrorBox(nullptr, 11);
        return false;
    }
    DatabaseSession out;
    if (!out.Create(target))
        return false;
    // This database's settings and field names; the new one selects its
    // every record.
    std::memcpy(out.Header(), Header(), kDbHeaderSize);
    PutU16LE(out.Header() + dbh::kActiveCriteria, 0);
    out.Header()[dbh::kCategoryFlags] = 1;
    out.Data().SetSortSpec(LoadSortSpec(out.Header() + dbh::kSortSpec));
    // The edits over the record as it was read, as a commit makes it.
    Data().RestoreUndoState(true);
    StoreEditsIntoRecord();
    CardRecord& record = out.Data().Current();
    const bool loaded = record.LoadImage(Data().Current().Image(), Data().Current().GetLength());
    Data().RestoreUndoState(true);
    // A record still marked new would be dropped at the next open.
    record.SetNew(false);
    const bool added = loaded && out.Data().AddRecord(false, false) >= 0;
    out.Close();
    return added;
}
