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
