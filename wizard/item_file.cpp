#include "wizard/item_file.h"

#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/pack_data.h"
#include "foundation/win_error.h"
#include "graphics/metafile.h"
#include "wizard/item_file_format.h"
#include "wizard/stored_block.h"
#include "wizard/wizard_file_io.h"
#include "wizard/wizard_results.h"

namespace {

// The longer side of a metafile body's picture.
constexpr int32_t kItemMetafileSide = 200;

}  // namespace

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

int32_t ItemPicture(Handle body, uint32_t kind, DibHandle dib)
{
    if (!body || !dib)
        return 1;
    if (kind == kWizPictureDib)
        return DibHandleFromPacked(body, dib) == 0 ? 0 : 1;
    if (kind == kWizPictureMetafile)
        return MetafileHandleToDib(nullptr, body, dib, kItemMetafileSide) == 0 ? 0 : 1;
    return 1;
}
