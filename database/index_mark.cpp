#include "database/index_mark.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

#include "database/db_file_io.h"
#include "database/record_file_format.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"

namespace {

// Unlike the seed of the mark earlier versions wrote (sequence, size), so
// that theirs reads as no mark and their index is built anew once.
constexpr uint32_t kCheckSeed = FourCC("IXm2");

uint32_t CheckWord(uint32_t indexCheck, uint32_t recordsCheck)
{
    return (indexCheck * 2654435761u) ^ (recordsCheck * 40503u + 0x9E37u) ^ kCheckSeed;
}

}  // namespace

void PutIndexMark(uint8_t* header, uint32_t indexCheck, uint32_t recordsCheck)
{
    PutU32LE(header + dbh::kIndexMarkIndex, indexCheck);
    PutU32LE(header + dbh::kIndexMarkRecords, recordsCheck);
    PutU32LE(header + dbh::kIndexMarkCheck, CheckWord(indexCheck, recordsCheck));
}

int32_t RecordsCheck(FileHandle file, uint32_t dataStart, uint32_t* check)
{
    uint32_t size = 0;
    int32_t err = DbGetSize(file, &size);
    uLong crc = crc32_z(0, nullptr, 0);
    std::vector<uint8_t> piece(size_t(256) << 10);
    for (uint32_t at = dataStart; err == kErrNone && at < size;) {
        const uint32_t n = std::min<uint32_t>(uint32_t(piece.size()), size - at);
        err = DbReadAt(file, at, piece.data(), n);
        crc = crc32_z(crc, piece.data(), n);
        at += n;
    }
    // The size goes in too: records cut off at a piece's end are a change.
    const uint8_t sizeBytes[4] = {uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16), uint8_t(size >> 24)};
    *check = uint32_t(crc32_z(crc, sizeBytes, sizeof sizeBytes));
    return err;
}

std::string IndexMismatch(const uint8_t* header, int32_t indexEntries, uint32_t indexCheck, FileHandle records,
                          uint32_t dataStart)
{
    const int32_t live = GetI32LE(header + dbh::kLiveCount);
    if (indexEntries != live)
        return "it lists " + std::to_string(indexEntries) + " records where the database counts " +
               std::to_string(live);
    const uint32_t markedIndex = GetU32LE(header + dbh::kIndexMarkIndex);
    const uint32_t markedRecords = GetU32LE(header + dbh::kIndexMarkRecords);
    if (GetU32LE(header + dbh::kIndexMarkCheck) != CheckWord(markedIndex, markedRecords))
        return "the database keeps no mark of the index it was last closed with";
    if (markedIndex != indexCheck)
        return "it is not the index this database was last closed with";
    uint32_t check = 0;
    if (RecordsCheck(records, dataStart, &check) != kErrNone)
        return "the records cannot be read to check it";
    if (check != markedRecords)
        return "the records changed after the index was last closed with them";
    return std::string();
}
