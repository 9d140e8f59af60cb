// Writing item files.
#include "catalog/item_file.h"
#include "catalog/item_file_format.h"
#include "catalog/stored_block.h"
#include "catalog/wizard_file_io.h"
#include "foundation/byte_order.h"

int32_t WriteItemFile(const PathRecord* path, uint8_t* header, Handle body)
{
    const uint32_t size = HandleGetSize(body);
    PutU32LE(header + kItemCodeAt, kItemFileCode);
    PutU32LE(header + kItemVersionAt, kItemFileVersion);
    PutU32LE(header + kItemPackedAt, 1);
    PutU32LE(header + kItemSizeAt, size);
    PutU32LE(header + kItemStoredSizeAt, 0);
    HandleOwner packed(HandleNew(0));
    const uint8_t* stored = HandleData(body);
    uint32_t storedSize = size;
    if (WizPackBlock(body, packed.get())) {
        stored = HandleData(packed.get());
        storedSize = HandleGetSize(packed.get());
        PutU32LE(header + kItemStoredSizeAt, storedSize);
    } else {
        PutU32LE(header + kItemPackedAt, 0);
    }
    return WizWriteFile(*path, {WizBytes{header, kItemHeaderSize}, WizBytes{stored, storedSize}});
}
