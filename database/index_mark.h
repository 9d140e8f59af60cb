// The mark a record file keeps of the index closed beside it, so that an
// index that no longer belongs to the records is known and built anew
// rather than trusted: one kept from before another program changed the
// records, or a copy put back from a backup.
//
// The mark lives in header bytes the engine never used (offsets 44-55),
// which other programs keep as they find them: the index's next sequence
// number at that close (advanced at every close, so no two closes leave the
// same), the record file's size then, and a check word, so that bytes put
// there by anything else are taken for no mark at all.
#pragma once

#include <cstdint>
#include <string>

namespace dbh {
constexpr uint32_t kIndexMarkSequence = 44;  // u32
constexpr uint32_t kIndexMarkDataSize = 48;  // u32
constexpr uint32_t kIndexMarkCheck = 52;     // u32
}  // namespace dbh

void PutIndexMark(uint8_t* header, uint32_t indexSequence, uint32_t dataSize);

// Why an index closed in order does not belong to the record file whose
// header this is (the file now dataSize bytes long), in words for the user;
// empty when it does. The index must list as many records as the header
// counts; where the header holds a mark, the index must be the one that
// close left, and the record file as long as it was then.
std::string IndexMismatch(const uint8_t* header, uint32_t dataSize, int32_t indexEntries, uint32_t indexSequence);
