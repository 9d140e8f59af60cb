// Repair of a damaged record file: every record that can be found again is
// kept, records whose lengths do not fit are cut until they do, and what
// cannot be read as a record is dropped, as is a record whose text holds
// control bytes (it is no record, and would print). A record whose write never
// finished (the start of a record at the end of the file, cut short) was
// never committed: it is no record to bring back, and goes too. The records are written packed
// into a new file that replaces the old one only once it is complete, so
// a failure or a crash during the repair leaves the file as it was.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/path_record.h"

struct RepairCounts {
    int32_t repaired = 0;  // records that had to be cut to fit
    int32_t lost = 0;      // candidates that could not be kept, or held control bytes
    uint32_t unfinished = 0;  // bytes of a record never completely written, cut off
};

// file is the open record file at path; after a repair it is the handle of
// the repaired file. Shows the count of repaired and lost records. Returns
// 0 on success; 1 for a file that is not open and after a write error (the
// file is then unchanged).
int32_t RepairDataFile(FileHandle* file, const PathRecord* path, uint32_t dataStart, int32_t storedCount,
                       RepairCounts* counts = nullptr);
