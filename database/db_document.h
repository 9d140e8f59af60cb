// The database document without its windows: one open card database (the
// record file, its index and the header image), made new or opened (a
// Macintosh database through a converted copy), entered in the open-database
// registry while it is open. Text import and export, the reports, merge and
// split work on it.
//
// The document of the user interface derives from this class and overrides
// the hooks below, through which these commands and the card side reach its
// edits and its list.
#pragma once

#include <cstdint>

#include "database/data_file.h"
#include "database/database_session.h"
#include "database/record_file_format.h"
#include "foundation/path_record.h"

// What is said, after the file's name, of a database another program has
// written since the document read it.
inline constexpr const char* kChangedElsewhereText =
    " has been changed by another program since this window read it: it now holds what that program put "
    "there.";

class DbDocument {
public:
    DbDocument();
    virtual ~DbDocument();
    DbDocument(const DbDocument&) = delete;
    DbDocument& operator=(const DbDocument&) = delete;

    // A new database at path; an existing file there is emptied, unless it
    // is a database open in this program (database message 11). False after
    // telling the user.
    bool New(const PathRecord& path);
    // Opens the database at path and builds its selection. A Macintosh
    // database is converted into a copy beside it first (when the user
    // agrees) and the copy is opened; Path() then names the copy. False
    // after telling the user. readOnly: for callers that only read the
    // records (an export from the command line); nothing is ever written
    // to or beside the database, which may be one the user cannot change.
    bool Open(const PathRecord& path, bool readOnly = false);
    // Writes the header back and closes the database, leaving the registry.
    // Nothing happens when it is not open.
    void Close();

    // Lets the index go unwritten and opens the database again, building
    // the index anew from the records: for an index found not to belong to
    // them while the document was open. False after telling the user (the
    // document is then closed).
    bool ReopenWithNewIndex();
    bool IsOpen() const { return session_.IsOpen(); }
    // Opened only to be read: nothing is written to or beside the file.
    bool ReadOnly() const { return readOnly_; }
    const PathRecord& Path() const { return path_; }
    DataFile& Data() { return session_.Data(); }
    const DataFile& Data() const { return const_cast<DatabaseSession&>(session_).Data(); }
    uint8_t* Header() { return session_.Header(); }
    const uint8_t* Header() const { return const_cast<DatabaseSession&>(session_).Header(); }
    bool InBulkMailMode() const { return Data().GetSortSpec().bulkMail != 0; }
    // Rebuilds the selection from the header's category flags and criteria.
    int32_t RebuildSelection() { return session_.Rebuild(); }
    // Inside a change that added records: writes the counts into the
    // header on the disk as part of it, so that the change is kept with its
    // count or not at all. False after the change was marked to be taken
    // back (the disk refused; the engine has said why).
    bool StoreCountsInChange();

    // Every command that reads or adds records first stores what the user
    // typed into the record being edited.
    virtual void CommitEdits() {}
    // Records were appended by import or merge; the list grows by count.
    virtual void RecordsAppended(int32_t /*count*/) {}
    // The card side steps the rows of the list.
    virtual int32_t RowCount() const;
    virtual bool GotoRow(int32_t row);
    // The sort commands (mode 2: bulk-mail sort); 1 when nothing was
    // applied. Without a user interface there is nothing to ask.
    virtual int32_t SortRecords(int32_t mode);

private:
    DatabaseSession session_;
    PathRecord path_{};
    bool readOnly_ = false;
};

// False when the user may read the database at path but not change it: the
// file may not be written, or its folder may not (a change keeps its
// journal there, to be whole or undone after a crash). Says nothing; a file
// that cannot be opened at all is left to the open to report.
bool MayChangeDatabase(const PathRecord& path);

// True when path names the record file or the index file of a database
// open in this program (registered or not): no command may write there,
// nor read a file the engine is changing under it.
bool IsOpenDatabaseFile(const PathRecord& path);
