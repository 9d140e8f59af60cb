// The database document without its windows: one open card database (the
// record file, its index and the header image), made new, opened (a
// Macintosh database through a converted copy), saved under another name
// and closed, and entered in the open-database registry while it is open.
//
// The database document of the user interface derives from this class; it
// adds the views, the edits and the dialogs, and overrides the hooks below
// through which the card side reaches its list.
#pragma once

#include <cstdint>

#include "database/data_file.h"
#include "database/database_session.h"
#include "database/record_file_format.h"
#include "foundation/path_record.h"

// How the document came to be open.
enum : int16_t {
    kDbOpenNone = 0,
    kDbOpenNew = 1,        // a new, empty database
    kDbOpenNewIndex = 2,   // opened; the index is new and the selection must be built
    kDbOpenKeptIndex = 3,  // opened with its existing index
};

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
    // Opens the database at path. A Macintosh database is converted into a
    // copy first (when the user agrees) and the copy is opened; Path() then
    // names the copy. False after telling the user.
    bool Open(const PathRecord& path);
    // What the views need once they exist: the selection of a database
    // opened without its index is built, and the record that was current
    // when it was closed becomes current again. Nothing for a new database.
    void LoadSelection();
    // Copies the database to target and goes on with the copy. The target
    // must not be a database open in this program (database message 12). A
    // failed copy leaves the document on its old file and the target as it
    // was (database message 7 with the code). True on success.
    bool SaveAs(const PathRecord& target);
    // Writes the header back and closes the database, leaving the registry.
    // Nothing happens when it is not open.
    void Close();

    bool IsOpen() const { return session_.IsOpen(); }
    int16_t OpenMode() const { return openMode_; }
    const PathRecord& Path() const { return path_; }
    DataFile& Data() { return session_.Data(); }
    const DataFile& Data() const { return const_cast<DatabaseSession&>(session_).Data(); }
    uint8_t* Header() { return session_.Header(); }
    const uint8_t* Header() const { return const_cast<DatabaseSession&>(session_).Header(); }
    bool InBulkMailMode() const { return Data().GetSortSpec().bulkMail != 0; }

    // The active criteria: up to three decimal digits, each a criterion
    // code, the most recent last.
    void AddCriterion(int32_t code);
    bool HasCriterion(int32_t code) const;
    // Clears the current record and fills its 21 column fields with the
    // header's default card values; the record counts as unchanged.
    void FillRecordWithDefaults();
    // The header's custom field names into the field table, after making
    // the browse column one that exists.
    void ApplyCustomFieldNames();

    // Hooks for the card side (through the registry); the user interface
    // overrides them to go through its list.
    virtual int32_t RowCount() const;
    virtual bool GotoRow(int32_t row);
    // The sort commands (mode 2: bulk-mail sort); 1 when nothing was
    // applied. Without a user interface there is nothing to ask.
    virtual int32_t SortRecords(int32_t mode);

private:

    DatabaseSession session_;
    PathRecord path_{};
    int16_t openMode_ = kDbOpenNone;
};

// True when path names the record file or the index file of a database
// open in this program (registered or not): no command may write there.
bool IsOpenDatabaseFile(const PathRecord& path);
