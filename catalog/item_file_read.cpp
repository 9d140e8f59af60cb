// Reading item files.
#include <cstring>
#include <vector>

#include "catalog/item_file.h"
#include "catalog/item_file_format.h"
#include "catalog/stored_block.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"

int32_t ParseItemFile(const uint8_t* bytes, size_t size, uint8_t* header, Handle body)
{
    std::memset(header, 0, kItemHeaderSize);
    if (size < kItemHeaderSize) {
        std::memcpy(header, bytes, size);
        return kErrHandleEof;
    }
    std::memcpy(header, bytes, kItemHeaderSize);
    if (GetU32LE(header + kItemCodeAt) != kItemFileCode)
        return kWizWrongCode;
    if (GetU32LE(header + kItemVersionAt) != kItemFileVersion)
        return kWizWrongVersion;
    return WizReadBlock(bytes, size, kItemHeaderSize, GetU32LE(header + kItemSizeAt),
                        GetU32LE(header + kItemStoredSizeAt), GetU32LE(header + kItemPackedAt) != 0, body);
}

int32_t ReadItemFile(const PathRecord* path, uint8_t* header, Handle body)
{
    std::memset(header, 0, kItemHeaderSize);
    std::vector<uint8_t> bytes;
    if (int32_t err = WizReadFile(*path, &bytes))
        return err;
    return ParseItemFile(bytes.data(), bytes.size(), header, body);
}
