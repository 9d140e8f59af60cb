// Small pictures for the bitmap tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "foundation/byte_order.h"
#include "graphics/dib_format.h"
#include "graphics/dib_handle.h"
#include "graphics/dib_pixels.h"

// A picture whose pixel (x, y) has colour(x, y). Below 24 bits the table is
// filled as the colours come (full tables recolour, as SetPixel does).
inline DibHandle MakeDib(int32_t width, int32_t height, int32_t bits,
                         const std::function<ColorRef(int32_t, int32_t)>& colour)
{
    DibHandle h = DibHandleNew();
    DibHandleCreate(h, width, height, bits);
    if (bits < 24) {
        // An empty table, so that SetPixel adds colours in order of use.
        DibRecord* r = DibHandleBlockSlot(h);
        const uint32_t size = kDibHeaderSize + uint32_t(r->byteSize - (r->bits - r->block));
        auto* block = static_cast<uint8_t*>(MemAllocClear(size));
        std::memcpy(block, r->block, kDibHeaderSize);
        PutU32LE(block + kBiClrUsed, 0);
        DibHandleAdoptBlock(h, block, size);
    }
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x)
            DibHandleSetPixel(h, x, y, colour(x, y));
    }
    return h;
}

inline std::vector<ColorRef> Pixels(DibHandle h)
{
    std::vector<ColorRef> out;
    for (int32_t y = 0; y < DibHandleHeight(h); ++y) {
        for (int32_t x = 0; x < DibHandleWidth(h); ++x)
            out.push_back(DibHandleGetPixel(h, x, y));
    }
    return out;
}

inline std::vector<uint8_t> Block(DibHandle h)
{
    const DibRecord* r = DibHandleBlockSlot(h);
    return r && r->block ? std::vector<uint8_t>(r->block, r->block + r->byteSize) : std::vector<uint8_t>();
}

// The colours of a small test picture: no two neighbours alike and no
// symmetry, so any misplaced pixel shows.
inline ColorRef Pattern(int32_t x, int32_t y) { return MakeRgb(uint8_t(x * 37 + y * 11), uint8_t(y * 53), uint8_t(x * 7 + 90)); }
