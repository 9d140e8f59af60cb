#include "database/index_mark.h"

#include "database/record_file_format.h"
#include "foundation/byte_order.h"

namespace {

constexpr uint32_t kCheckSeed = FourCC("IXmk");

uint32_t CheckWord(uint32_t sequence, uint32_t dataSize) { return (sequence * 2654435761u) ^ dataSize ^ kCheckSeed; }

}  // namespace

void PutIndexMark(uint8_t* header, uint32_t indexSequence, uint32_t dataSize)
{
    PutU32LE(header + dbh::kIndexMarkSequence, indexSequence);
    PutU32LE(header + dbh::kIndexMarkDataSize, dataSize);
    PutU32LE(header + dbh::kIndexMarkCheck, CheckWord(indexSequence, dataSize));
}

std::string IndexMismatch(const uint8_t* header, uint32_t dataSize, int32_t indexEntries, uint32_t indexSequence)
{
    const int32_t live = GetI32LE(header + dbh::kLiveCount);
    if (indexEntries != live)
        return "it lists " + std::to_string(indexEntries) + " records where the database counts " +
               std::to_string(live);
    const uint32_t sequence = GetU32LE(header + dbh::kIndexMarkSequence);
    const uint32_t size = GetU32LE(header + dbh::kIndexMarkDataSize);
    if (GetU32LE(header + dbh::kIndexMarkCheck) != CheckWord(sequence, size))
        return std::string();
    if (sequence != indexSequence)
        return "it is not the index this database was last closed with";
    if (size != dataSize)
        return "the database changed after the index was last closed with it";
    return std::string();
}
