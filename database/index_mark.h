// The mark a record file keeps of the index closed beside it, so that an
// index that does not belong to the records is known and built anew rather
// than trusted: one of another database, one kept from before another
// program changed the records, or a copy put back from a backup.
//
// The mark lives in header bytes the engine never used (offsets 44-55),
// which other programs keep as they find them: a check of the index file
// as that close left it (its tree, free blocks and header words, the
// sequence number advanced at every close), a check of the records then,
// and a check word, so that bytes put there by anything else are taken
// for no mark at all. Only the index and the records that mark names
// together are used: no other database, and no earlier state of this one,
// leaves the same two checks.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/file_io.h"

namespace dbh {
constexpr uint32_t kIndexMarkIndex = 44;    // u32
constexpr uint32_t kIndexMarkRecords = 48;  // u32
constexpr uint32_t kIndexMarkCheck = 52;    // u32
}  // namespace dbh

void PutIndexMark(uint8_t* header, uint32_t indexCheck, uint32_t recordsCheck);

// The check of the records of a record file: every byte from dataStart to
// its end. 0 or the code of a read that failed.
int32_t RecordsCheck(FileHandle file, uint32_t dataStart, uint32_t* check);

// Why an index closed in order does not belong to the record file whose
// header this is, in words for the user; empty when it does. The index
// must list as many records as the header counts, and be the one the
// mark names beside the records the mark names (those of records from
// dataStart, read only when the rest agrees).
std::string IndexMismatch(const uint8_t* header, int32_t indexEntries, uint32_t indexCheck, FileHandle records,
                          uint32_t dataStart);
