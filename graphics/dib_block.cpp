#include "graphics/dib_block.h"

#include <bit>
#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "graphics/dib_format.h"

bool DibCheckHeader(const uint8_t* block, uint64_t size, DibGeometry* geometry)
{
    if (!block || size < kDibHeaderSize || size > kDibMaxBlockSize)
        return false;
    DibGeometry g;
    if (GetU32LE(block + kBiSize) != kDibHeaderSize)
        return false;
    g.width = GetI32LE(block + kBiWidth);
    g.height = GetI32LE(block + kBiHeight);
    g.bits = GetU16LE(block + kBiBitCount);
    g.compression = GetU32LE(block + kBiCompression);
    g.colours = GetU32LE(block + kBiClrUsed);
    if (g.width <= 0 || g.height == 0)
        return false;

    uint64_t masks = 0;
    switch (g.bits) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (g.compression != kBiRgb)
            return false;
        break;
    case 16:
    case 32:
        if (g.compression == kBiBitfields)
            masks = kDibBitfieldMasksSize;
        else if (g.compression != kBiRgb)
            return false;
        break;
    default:
        return false;
    }
    if (g.colours > (g.bits <= 8 ? 1u << g.bits : 256u))
        return false;

    const uint64_t rows = g.height < 0 ? uint64_t(-int64_t(g.height)) : uint64_t(g.height);
    g.stride = DibRowStride(uint64_t(g.width), g.bits);
    // Both factors are below 2^32, so the product cannot wrap.
    const uint64_t pixels = g.stride * rows;
    g.pixelOffset = kDibHeaderSize + masks + uint64_t(kDibQuadSize) * g.colours;
    if (pixels > kDibMaxBlockSize)
        return false;
    g.required = g.pixelOffset + pixels;
    if (g.required > size)
        return false;
    if (geometry)
        *geometry = g;
    return true;
}

bool DibIsWorkingForm(const DibGeometry& g)
{
    return (g.bits == 1 || g.bits == 4 || g.bits == 8 || g.bits == 24) && g.compression == kBiRgb && g.height > 0;
}

namespace {

// One channel of a bit-field pixel scaled to 0..255. A mask without bits
// gives 0.
struct ChannelMask {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit ChannelMask(uint32_t m) : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            max = m >> shift;
        }
    }
    uint8_t operator()(uint32_t pixel) const
    {
        return max ? uint8_t(uint64_t((pixel & mask) >> shift) * 255 / max) : 0;
    }
};

}  // namespace

uint8_t* DibConvertToWorkingForm(const uint8_t* block, const DibGeometry& g, bool fullTable, uint32_t* size)
{
    const bool wide = g.bits == 16 || g.bits == 32;
    const uint32_t bits = wide ? 24 : g.bits;
    uint32_t colours = 0;
    if (bits <= 8)
        colours = fullTable ? DibTableSizeOnCopyIn(bits) : g.colours;
    else if (!wide && !fullTable)
        colours = g.colours;
    const uint32_t rows = g.height < 0 ? uint32_t(-int64_t(g.height)) : uint32_t(g.height);
    const uint64_t stride = DibRowStride(uint64_t(g.width), bits);
    const uint64_t pixelOffset = kDibHeaderSize + uint64_t(kDibQuadSize) * colours;
    const uint64_t total = pixelOffset + stride * rows;
    if (total > kDibMaxBlockSize)
        return nullptr;
    auto* out = static_cast<uint8_t*>(MemAllocClear(uint32_t(total)));
    if (!out)
        return nullptr;

    DibPutHeader(out, g.width, int32_t(rows), bits, colours);

    // The stored entries that fit; a full table keeps the rest black.
    const uint64_t tableStart = g.pixelOffset - uint64_t(kDibQuadSize) * g.colours;
    const uint32_t copied = colours < g.colours ? colours : g.colours;
    std::memcpy(out + kDibHeaderSize, block + tableStart, size_t(kDibQuadSize) * copied);

    uint32_t redMask = 0x7C00, greenMask = 0x03E0, blueMask = 0x001F;
    if (g.bits == 32) {
        redMask = 0xFF0000;
        greenMask = 0x00FF00;
        blueMask = 0x0000FF;
    }
    if (g.compression == kBiBitfields) {
        redMask = GetU32LE(block + kDibHeaderSize);
        greenMask = GetU32LE(block + kDibHeaderSize + 4);
        blueMask = GetU32LE(block + kDibHeaderSize + 8);
    }
    const ChannelMask red(redMask), green(greenMask), blue(blueMask);

    for (uint32_t r = 0; r < rows; ++r) {
        const uint32_t sourceRow = g.height > 0 ? r : rows - 1 - r;
        const uint8_t* from = block + g.pixelOffset + g.stride * sourceRow;
        uint8_t* to = out + pixelOffset + stride * r;
        if (!wide) {
            std::memcpy(to, from, size_t(stride));
            continue;
        }
        for (int32_t x = 0; x < g.width; ++x) {
            const uint32_t pixel = g.bits == 16 ? GetU16LE(from + 2 * size_t(x)) : GetU32LE(from + 4 * size_t(x));
            to[3 * size_t(x)] = blue(pixel);
            to[3 * size_t(x) + 1] = green(pixel);
            to[3 * size_t(x) + 2] = red(pixel);
        }
    }
    *size = uint32_t(total);
    return out;
}
