// Checking a record file without changing it: the header, and every
// record from the data start to the end of the file.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"

struct VerifyReport {
    int32_t records = 0;
    int32_t deleted = 0;
    int32_t fresh = 0;         // still marked new
    int32_t badOffset = -1;    // first place without a sound record, -1 none
    int32_t ioError = 0;
    uint32_t unfinished = 0;   // bytes of a record never completely written, at the end
};

// True when every record is sound and the last one ends at the end of the
// file, or is followed only by a record whose write never finished (which
// the next open cuts off).
bool VerifyDataFile(FileHandle file, uint32_t dataStart, VerifyReport* report);

// The header counts more records than the file holds: records were lost
// (the file was cut short or overwritten), which is damage. The counts are
// written when the database closes, so after a crash the file may hold more
// records than counted, never fewer; a record whose write never finished at
// the end of the file may be the last one counted.
bool HeaderCountsMissingRecords(const uint8_t* header, const VerifyReport& report);
