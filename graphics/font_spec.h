// FontSpec: the program's description of one font, as the document's font
// table and the text styles store it (44 bytes, little-endian):
//
//   0  u32   type: 1 raster, 2 device, 4 TrueType
//   4  u8    character set
//   5  u8    pitch and family
//   6  u16   reserved, 0
//   8  u32   em square in design units (TrueType), else 0
//  12  32    face name, Windows-1252, zero-terminated and zero-padded
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "foundation/byte_order.h"

constexpr size_t kFontSpecSize = 44;

enum : uint32_t {
    kFontTypeRaster = 1,
    kFontTypeDevice = 2,
    kFontTypeTrueType = 4,
};

struct FontSpec {
    uint32_t type = 0;
    uint8_t charSet = 0;
    uint8_t pitchAndFamily = 0;
    uint32_t emSize = 0;
    char faceName[32] = {};

    bool operator==(const FontSpec& o) const
    {
        return type == o.type && charSet == o.charSet && pitchAndFamily == o.pitchAndFamily &&
               emSize == o.emSize && std::memcmp(faceName, o.faceName, sizeof(faceName)) == 0;
    }
};

// A stored face name may fill all 32 bytes; the last is forced to 0 so
// that the name always ends inside the record.
inline FontSpec GetFontSpec(const uint8_t* p)
{
    FontSpec v;
    v.type = GetU32LE(p + 0);
    v.charSet = p[4];
    v.pitchAndFamily = p[5];
    v.emSize = GetU32LE(p + 8);
    std::memcpy(v.faceName, p + 12, sizeof(v.faceName));
    v.faceName[sizeof(v.faceName) - 1] = 0;
    return v;
}

// Bytes of the face name after its terminator are written as 0.
inline void PutFontSpec(uint8_t* p, const FontSpec& v)
{
    PutU32LE(p + 0, v.type);
    p[4] = v.charSet;
    p[5] = v.pitchAndFamily;
    PutU16LE(p + 6, 0);
    PutU32LE(p + 8, v.emSize);
    const size_t n = strnlen(v.faceName, sizeof(v.faceName) - 1);
    std::memset(p + 12, 0, sizeof(v.faceName));
    std::memcpy(p + 12, v.faceName, n);
}
