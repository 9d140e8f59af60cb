// Databases written by the Macintosh program: the same layout as ours, but
// every number big-endian, the header's texts length-prefixed and some
// numbers counted from 1. Such a file is never changed; it is converted
// into a copy beside it, which is then opened instead.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/path_record.h"

// Decides before a database is opened whether path is a Macintosh
// database. 0: open path as it is now (a native database, or the
// converted copy, whose name then replaces path). 1: the open stops; the
// user was told why (not a database, too old or too new, damaged, a
// refused conversion, a file error).
int32_t CheckMacintoshDatabase(PathRecord* path);

// A Macintosh header (4152 bytes) becomes a native one in place: numbers
// in our byte order, texts zero-terminated, the 1-based numbers from 0,
// the format mark 200.
void ConvertMacHeader(uint8_t* header);

// A Macintosh record head (33 bytes) in our byte order, in place. The
// record's length when the head is that of a sound record, else 0.
uint32_t ConvertMacRecordHead(uint8_t* head);

struct MacConversion {
    int32_t records = 0;  // records copied
    int32_t deleted = 0;
    int32_t fresh = 0;    // records still marked new
};

// Writes the converted database to target: the header (already converted)
// and every record of the Macintosh file from offset 6000. The target is
// written beside its place and put there only when the whole file is
// written, so a damaged source, a file error or an abort leaves nothing
// behind. 0 on success; 1 after telling the user (database message 8 for
// a damaged record, the file-error box for a file error, each naming the
// source by sourceName); 2 when the user stopped it.
int32_t ConvertMacDatabase(FileHandle source, const char* sourceName, const uint8_t* header,
                           const PathRecord& target, MacConversion* result);
