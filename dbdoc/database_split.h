// Split: the records of the current selection are written, as they are
// stored, into a new record file that starts with this database's header.
// The open database keeps every record.
#pragma once

#include <cstdint>

#include "foundation/path_record.h"

class DbDocument;

struct SplitResult {
    int32_t written = 0;
    bool aborted = false;
};

// Writes the selection to target in the browser's order, after the
// document committed its edits. The new file carries this database's
// settings with counters that describe what it holds, and no index: its
// first open builds one. It is written beside target and replaces it when
// whole, so a file error leaves target as it was; when the user stops the
// split, the records written so far make the file. 1 when a file was
// written; 0 when there was nothing to split (database message 18) or
// target is an open database (database message 17); -1 after a file error.
int32_t SplitDatabase(DbDocument& document, const PathRecord& target, SplitResult* result);
