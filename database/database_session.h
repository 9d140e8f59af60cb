// A database opened and closed as a whole, in the order the database
// document follows: the header image beside the record engine, the damage
// check with the offer to repair, the selection built at open, and the
// header written back at close.
#pragma once

#include <cstdint>

#include "database/data_file.h"
#include "database/record_file_format.h"
#include "foundation/path_record.h"

class DatabaseSession {
public:
    DatabaseSession();
    ~DatabaseSession();
    DatabaseSession(const DatabaseSession&) = delete;
    DatabaseSession& operator=(const DatabaseSession&) = delete;

    // A new database file with the default preferences (an existing file
    // is emptied). False after telling the user.
    bool Create(const PathRecord& path);
    // Opens an existing database. A damaged one is repaired when the user
    // agrees to it; a refused or failed repair, like any other error, gives
    // false after telling the user.
    // rebuild off leaves the selection to the caller (the index is then
    // new and empty unless an existing one was kept). readOnly: for callers
    // that only read; nothing is written to or beside the file, and a file
    // that would need writing to open (too short for a database, damaged,
    // or with a change to undo) is refused.
    bool Open(const PathRecord& path, bool rebuild = true, bool readOnly = false);
    // Writes the counters and the header back and closes the record file,
    // packing it when due. Nothing happens when it is not open.
    void Close();
    // Closes without writing anything: for callers that only read.
    void CloseUnchanged();
    bool IsOpen() const { return open_; }
    // Why the last Open or Create failed: the record file itself could not
    // be opened, or something after that.
    enum class Failure { None, File, Other };
    Failure LastFailure() const { return failure_; }

    uint8_t* Header() { return header_; }
    DataFile& Data() { return data_; }
    // Rebuilds the selection from the header's category flags and criteria.
    int32_t Rebuild();

private:
    // The index just opened beside the records does not belong to them.
    bool IndexStale(DataFile& data) const;

    DataFile data_;
    uint8_t header_[kDbHeaderSize] = {};
    bool open_ = false;
    Failure failure_ = Failure::None;
};
