// Merge: the live records of another record file are appended to the open
// database as they are stored, without converting any field.
#pragma once

#include <cstdint>

#include "foundation/path_record.h"

class DbDocument;

struct MergeResult {
    int32_t appended = 0;
    bool aborted = false;
    // A record could not be read or added: none were (the user was told).
    bool failed = false;
    // The merge was refused before a record was read: the source is
    // missing, no database, damaged or open here, or the database is in
    // bulk-mail mode (the user was told why).
    bool refused = false;
};

// Appends the records of source that are neither deleted nor still new.
// Refused with a beep in bulk-mail mode, and with database message 16 when
// source is a database open in this program (the database itself
// included). A source that is not a sound database of our version is not
// read at all (its header check's message, or database message 8 for a
// damaged one). Appending stops at the end of the source or when the user
// stops it (what was appended stays, each record whole); at a damaged
// record of the source (message 8) or a record that cannot be added, every
// record of the merge is taken back and the user is told so. The source is
// only read. The number of records appended.
int32_t MergeDatabase(DbDocument& document, const PathRecord& source, MergeResult* result);
