#include "graphics/wmf_header.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "graphics/metafile_format.h"

bool PlaceableKeyAt(const uint8_t* data, uint32_t size)
{
    return data && size >= 4 && GetU32LE(data) == kPlaceableKey;
}

uint16_t PlaceableChecksum(const uint8_t* header)
{
    uint16_t sum = 0;
    for (uint32_t i = 0; i < kPlaceableChecksum; i += 2)
        sum ^= GetU16LE(header + i);
    return sum;
}

bool PlaceableHeaderRead(const uint8_t* data, uint32_t size, PlaceableHeader* out)
{
    if (!data || size < kPlaceableSize || !PlaceableKeyAt(data, size))
        return false;
    out->left = GetI16LE(data + kPlaceableLeft);
    out->top = GetI16LE(data + kPlaceableTop);
    out->right = GetI16LE(data + kPlaceableRight);
    out->bottom = GetI16LE(data + kPlaceableBottom);
    out->unitsPerInch = GetU16LE(data + kPlaceableInch);
    out->checksum = GetU16LE(data + kPlaceableChecksum);
    return true;
}

void PlaceableHeaderBuild(int16_t right, int16_t bottom, uint16_t unitsPerInch, uint8_t* out)
{
    std::memset(out, 0, kPlaceableSize);
    PutU32LE(out + kPlaceableKeyOffset, kPlaceableKey);
    PutI16LE(out + kPlaceableRight, right);
    PutI16LE(out + kPlaceableBottom, bottom);
    PutU16LE(out + kPlaceableInch, unitsPerInch);
    PutU16LE(out + kPlaceableChecksum, PlaceableChecksum(out));
}

bool WmfHeaderRead(const uint8_t* data, uint32_t size, WmfHeader* out)
{
    if (!data || size < kWmfHeaderSize)
        return false;
    out->type = GetU16LE(data + kWmfHeaderType);
    out->headerWords = GetU16LE(data + kWmfHeaderSizeWords);
    out->version = GetU16LE(data + kWmfHeaderVersion);
    out->sizeWords = GetU32LE(data + kWmfHeaderFileWords);
    out->objects = GetU16LE(data + kWmfHeaderObjects);
    out->maxRecordWords = GetU32LE(data + kWmfHeaderMaxRecord);
    out->members = GetU16LE(data + kWmfHeaderMembers);
    return true;
}

bool WmfHeaderValid(const WmfHeader& h)
{
    return (h.type == 1 || h.type == 2) && h.headerWords == 9 && (h.version == 0x300 || h.version == 0x100);
}

void WmfHeaderWrite(const WmfHeader& h, uint8_t* out)
{
    PutU16LE(out + kWmfHeaderType, h.type);
    PutU16LE(out + kWmfHeaderSizeWords, h.headerWords);
    PutU16LE(out + kWmfHeaderVersion, h.version);
    PutU32LE(out + kWmfHeaderFileWords, h.sizeWords);
    PutU16LE(out + kWmfHeaderObjects, h.objects);
    PutU32LE(out + kWmfHeaderMaxRecord, h.maxRecordWords);
    PutU16LE(out + kWmfHeaderMembers, h.members);
}
