#include "graphics/dib_pixels.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "graphics/dib_format.h"

namespace {

// What one access needs of a picture, read from its header once.
struct View {
    DibRecord* record = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t bits = 0;
    uint32_t colours = 0;
    uint64_t stride = 0;

    explicit View(DibHandle h)
    {
        if (DibHandleIsEmpty(h))
            return;
        record = DibHandleBlockSlot(h);
        const uint8_t* b = record->block;
        width = GetI32LE(b + kBiWidth);
        height = GetI32LE(b + kBiHeight);
        bits = GetU16LE(b + kBiBitCount);
        colours = GetU32LE(b + kBiClrUsed);
        stride = DibRowStride(uint64_t(width), bits);
    }
    bool contains(int32_t x, int32_t y) const { return record && x >= 0 && y >= 0 && x < width && y < height; }
    uint8_t* row(int32_t y) const { return record->bits + uint64_t(height - y - 1) * stride; }
    uint8_t* table() const { return record->block + kDibHeaderSize; }
    ColorRef entry(uint32_t index) const
    {
        if (index >= colours)
            return kBlack;
        const uint8_t* q = table() + size_t(kDibQuadSize) * index;
        return MakeRgb(q[2], q[1], q[0]);
    }
};

uint32_t IndexAt(const uint8_t* row, uint32_t bits, int32_t x)
{
    switch (bits) {
    case 1:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
        return x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4;
    case 8:
        return row[x];
    default: {
        const uint8_t* p = row + 3 * size_t(x);
        return MakeRgb(p[2], p[1], p[0]);
    }
    }
}

void StoreAt(uint8_t* row, uint32_t bits, int32_t x, uint32_t value)
{
    switch (bits) {
    case 1: {
        const uint8_t bit = uint8_t(0x80 >> (x % 8));
        row[x / 8] = uint8_t(value & 1 ? row[x / 8] | bit : row[x / 8] & ~bit);
        break;
    }
    case 4:
        if (x % 2)
            row[x / 2] = uint8_t((row[x / 2] & 0xF0) | (value & 0x0F));
        else
            row[x / 2] = uint8_t((row[x / 2] & 0x0F) | ((value & 0x0F) << 4));
        break;
    case 8:
        row[x] = uint8_t(value);
        break;
    default: {
        uint8_t* p = row + 3 * size_t(x);
        p[0] = BlueOf(value);
        p[1] = GreenOf(value);
        p[2] = RedOf(value);
    }
    }
}

void PutEntry(uint8_t* q, ColorRef c)
{
    q[0] = BlueOf(c);
    q[1] = GreenOf(c);
    q[2] = RedOf(c);
    q[3] = 0;
}

// Adds one colour-table entry: the rows move back by four bytes in a new
// block, so the table never runs into the pixels.
bool GrowTable(const View& v, ColorRef colour)
{
    DibRecord* r = v.record;
    const uint32_t tableEnd = kDibHeaderSize + kDibQuadSize * v.colours;
    auto* block = static_cast<uint8_t*>(MemAllocClear(r->byteSize + kDibQuadSize));
    if (!block)
        return false;
    std::memcpy(block, r->block, tableEnd);
    PutEntry(block + tableEnd, colour);
    std::memcpy(block + tableEnd + kDibQuadSize, r->block + tableEnd, r->byteSize - tableEnd);
    PutU32LE(block + kBiClrUsed, v.colours + 1);
    MemFree(r->block);
    *r = DibRecord{r->byteSize + kDibQuadSize, block, block + tableEnd + kDibQuadSize};
    return true;
}

}  // namespace

uint32_t DibHandleGetPixelIndex(DibHandle h, int32_t x, int32_t y)
{
    const View v(h);
    return v.contains(x, y) ? IndexAt(v.row(y), v.bits, x) : 0;
}

ColorRef DibHandleGetPixel(DibHandle h, int32_t x, int32_t y)
{
    const View v(h);
    if (!v.contains(x, y))
        return 0;
    const uint32_t value = IndexAt(v.row(y), v.bits, x);
    return v.bits == 24 ? value : v.entry(value);
}

void DibHandleSetPixelIndex(DibHandle h, int32_t x, int32_t y, uint32_t value)
{
    const View v(h);
    if (v.contains(x, y))
        StoreAt(v.row(y), v.bits, x, value);
}

int32_t DibHandleSetPixel(DibHandle h, int32_t x, int32_t y, ColorRef colour)
{
    const View v(h);
    if (!v.contains(x, y))
        return 0;
    if (v.bits == 24) {
        StoreAt(v.row(y), v.bits, x, colour);
        return 0;
    }
    colour &= 0xFFFFFF;
    for (uint32_t i = 0; i < v.colours; ++i) {
        if (v.entry(i) == colour) {
            StoreAt(v.row(y), v.bits, x, i);
            return 0;
        }
    }
    if (v.colours < uint32_t(DibHandleColourCount(h))) {
        if (!GrowTable(v, colour))
            return 1;
        const View grown(h);
        StoreAt(grown.row(y), grown.bits, x, v.colours);
        return 0;
    }
    const uint32_t index = IndexAt(v.row(y), v.bits, x);
    PutEntry(v.table() + size_t(kDibQuadSize) * index, colour);
    return 0;
}

void DibHandleReadRow(DibHandle h, int32_t y, ColorRef* out)
{
    const View v(h);
    if (!v.contains(0, y)) {
        if (v.record)
            std::memset(out, 0, sizeof(ColorRef) * size_t(v.width));
        return;
    }
    const uint8_t* row = v.row(y);
    if (v.bits == 24) {
        for (int32_t x = 0; x < v.width; ++x)
            out[x] = MakeRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        return;
    }
    ColorRef palette[256];
    for (uint32_t i = 0; i < (1u << v.bits); ++i)
        palette[i] = v.entry(i);
    for (int32_t x = 0; x < v.width; ++x)
        out[x] = palette[IndexAt(row, v.bits, x)];
}
