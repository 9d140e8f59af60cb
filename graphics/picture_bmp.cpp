// Bitmap files: an optional 14-byte file header, then a bitmap body.

#include "graphics/picture_bmp.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "foundation/byte_order.h"
#include "graphics/picture_limits.h"
#include "graphics/picture_loader.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;

enum : uint32_t {
    kBiRgb = 0,
    kBiRle8 = 1,
    kBiRle4 = 2,
    kBiBitfields = 3,
    kBiAlphaBitfields = 6,
};

bool IsInfoHeaderSize(uint32_t size)
{
    return size == 40 || size == 52 || size == 56 || size == 64 || size == 108 || size == 124;
}

// One colour channel of a 16- or 32-bit pixel, widened to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit Channel(uint32_t m) : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            max = m >> shift;
        }
    }
    uint8_t operator()(uint32_t pixel) const
    {
        if (!max)
            return 0;
        return uint8_t(uint64_t((pixel & mask) >> shift) * 255 / max);
    }
};

struct Header {
    uint32_t headerSize = 0;
    int64_t width = 0;
    int64_t height = 0;  // as stored: negative for rows top-down
    uint32_t bits = 0;
    uint32_t compression = 0;
    uint32_t colours = 0;
    uint32_t masks[4] = {};
    uint64_t tableOffset = 0;
    uint32_t tableEntrySize = 4;
};

bool ReadHeader(const uint8_t* data, size_t size, Header* h)
{
    if (size < 4)
        return false;
    h->headerSize = GetU32LE(data);
    if (h->headerSize == kCoreHeaderSize) {
        if (size < kCoreHeaderSize)
            return false;
        h->width = GetU16LE(data + 4);
        h->height = GetU16LE(data + 6);
        h->bits = GetU16LE(data + 10);
        h->tableOffset = kCoreHeaderSize;
        h->tableEntrySize = 3;
        return true;
    }
    if (!IsInfoHeaderSize(h->headerSize) || size < h->headerSize)
        return false;
    h->width = GetI32LE(data + 4);
    h->height = GetI32LE(data + 8);
    h->bits = GetU16LE(data + 14);
    h->compression = GetU32LE(data + 16);
    h->colours = GetU32LE(data + 32);
    h->tableOffset = h->headerSize;
    if (h->compression == kBiBitfields || h->compression == kBiAlphaBitfields) {
        const uint32_t count = h->compression == kBiAlphaBitfields ? 4 : 3;
        const uint8_t* masks = data + 40;
        if (h->headerSize == 40) {
            h->tableOffset += 4 * count;
            if (size < h->tableOffset)
                return false;
        } else if (h->headerSize < 40 + 4 * count) {
            return false;
        }
        for (uint32_t i = 0; i < count; ++i)
            h->masks[i] = GetU32LE(masks + 4 * i);
    }
    return true;
}

bool CheckHeader(const Header& h, const DibBodyOptions& options)
{
    int64_t height = h.height < 0 ? -h.height : h.height;
    if (options.iconHeight)
        height /= 2;
    if (h.width <= 0 || height <= 0 || h.width > kDibImageMaxSide || height > kDibImageMaxSide)
        return false;
    switch (h.compression) {
    case kBiRgb: return h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32;
    case kBiRle8: return h.bits == 8 && h.height > 0 && !options.iconHeight;
    case kBiRle4: return h.bits == 4 && h.height > 0 && !options.iconHeight;
    case kBiBitfields:
    case kBiAlphaBitfields: return h.bits == 16 || h.bits == 32;
    default: return false;
    }
}

// Run-length coded rows, bottom row first, into image (of width x height
// pixels), or only walked when image is null. Runs that leave the picture
// are cut; a body that ends early leaves the rest of the picture at index
// 0. Returns how many rows, from the bottom, the body reaches: the rows a
// picture of it can show.
int64_t ExpandRle(const uint8_t* in, size_t size, bool nibbles, int32_t width, int64_t height, CDibImage* image)
{
    int32_t x = 0;
    int64_t y = 0;  // from the bottom
    bool rowStarted = false;
    // Pixels right of the picture are dropped; x stays at the edge.
    auto put = [&](uint8_t index) {
        rowStarted = true;
        if (x >= width || y >= height)
            return;
        if (image) {
            uint8_t* row = image->BitsAddress() + size_t(y) * image->GetStride();
            if (nibbles) {
                uint8_t& b = row[x / 2];
                b = (x & 1) ? uint8_t((b & 0xF0) | (index & 0x0F)) : uint8_t((b & 0x0F) | (index << 4));
            } else {
                row[x] = index;
            }
        }
        ++x;
    };
    size_t p = 0;
    while (p + 2 <= size && y < height) {
        const uint8_t count = in[p];
        const uint8_t value = in[p + 1];
        p += 2;
        if (count > 0) {
            for (uint32_t i = 0; i < count && x < width; ++i)
                put(nibbles ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
            rowStarted = false;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (p + 2 > size)
                break;
            x = x + in[p] < width ? x + in[p] : width;
            y += in[p + 1];
            p += 2;
        } else {
            const uint32_t n = value;
            const size_t bytes = nibbles ? (n + 1) / 2 : n;
            if (p + bytes > size)
                break;
            for (uint32_t i = 0; i < n; ++i)
                put(nibbles ? ((i & 1) ? in[p + i / 2] & 0x0F : in[p + i / 2] >> 4) : in[p + i]);
            p += (bytes + 1) & ~size_t(1);
        }
    }
    return std::min(height, y + (rowStarted ? 1 : 0));
}

bool AnyAlpha(const uint8_t* rows, size_t available, uint64_t stride, int64_t rowsCount, int32_t width,
              uint32_t alphaMask)
{
    for (int64_t r = 0; r < rowsCount; ++r) {
        if ((uint64_t(r) + 1) * stride > available)
            break;
        const uint8_t* row = rows + r * stride;
        for (int32_t x = 0; x < width; ++x) {
            if (GetU32LE(row + 4 * x) & alphaMask)
                return true;
        }
    }
    return false;
}

class BmpLoader final : public PictureLoader {
public:
    int32_t type() const override { return kPictureBmp; }

    bool sniff(const uint8_t* data, size_t size) const override
    {
        return size >= kFileHeaderSize + 4 && data[0] == 'B' && data[1] == 'M' &&
               (GetU32LE(data + kFileHeaderSize) == kCoreHeaderSize ||
                IsInfoHeaderSize(GetU32LE(data + kFileHeaderSize)));
    }

    bool load(const uint8_t* data, size_t size, CDibImage& image) override
    {
        DibBodyOptions options;
        if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
            if (size < kFileHeaderSize)
                return false;
            const uint32_t offset = GetU32LE(data + 10);
            // An offset into the headers or past the end cannot be right;
            // the rows are then taken from behind the colour table (offsets
            // into the info header are caught by the body's decoder).
            if (offset > kFileHeaderSize && offset < size)
                options.pixelOffset = offset - kFileHeaderSize;
            return DecodeDibBody(data + kFileHeaderSize, size - kFileHeaderSize, options, image);
        }
        return DecodeDibBody(data, size, options, image);
    }
};

}  // namespace

bool DecodeDibBody(const uint8_t* data, size_t size, const DibBodyOptions& options, CDibImage& image)
{
    Header h;
    if (!ReadHeader(data, size, &h) || !CheckHeader(h, options))
        return false;

    uint64_t tableEntries = 0;
    if (h.bits <= 8) {
        const uint32_t full = 1u << h.bits;
        if (h.colours > full)
            return false;
        tableEntries = h.colours && h.headerSize != kCoreHeaderSize ? h.colours : full;
        // A table whose size the header does not state (OS/2 headers have
        // no field for it) ends where the file header puts the pixels.
        const bool stated = h.colours && h.headerSize != kCoreHeaderSize;
        if (!stated && options.pixelOffset >= h.tableOffset) {
            const uint64_t room = (options.pixelOffset - h.tableOffset) / h.tableEntrySize;
            if (room < tableEntries)
                tableEntries = room;
        }
    } else if (h.headerSize != kCoreHeaderSize) {
        // Deeper pictures may carry a table for palette displays; it is
        // skipped.
        tableEntries = h.colours;
    }
    const uint64_t tableEnd = h.tableOffset + tableEntries * h.tableEntrySize;
    if (h.bits <= 8 && tableEnd > size)
        return false;
    // Rows cannot start inside the headers; an offset there is ignored.
    uint64_t pixelStart = options.pixelOffset >= h.tableOffset ? options.pixelOffset : tableEnd;
    if (pixelStart > size)
        pixelStart = size;

    const bool topDown = h.height < 0;
    int64_t rows = topDown ? -h.height : h.height;
    if (options.iconHeight)
        rows /= 2;
    const int32_t width = int32_t(h.width);
    if (!PicturePixelsAllowed(width, rows)) {
        image.SetErrorText(kPictureTooLargeText);
        return false;
    }
    // The picture has the rows the file holds, and no more: a header may
    // declare any size, but only stored pixels are worth memory.
    const uint8_t* pixels = data + pixelStart;
    const size_t available = size - size_t(pixelStart);
    const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
    const uint64_t srcStride = (uint64_t(width) * h.bits + 31) / 32 * 4;
    const int64_t present =
        rle ? ExpandRle(pixels, available, h.compression == kBiRle4, width, rows, nullptr)
            : std::min<int64_t>(rows, int64_t(available / srcStride));
    // An icon's rows are followed by its mask; they are all there or the
    // icon is refused as before.
    if (!options.iconHeight)
        rows = present;
    if (rows <= 0) {
        image.SetErrorText(kPictureNoPixelsText);
        return false;
    }
    if (!image.CreateBlock(width, int32_t(rows), int32_t(h.bits)))
        return false;

    if (h.bits <= 8) {
        uint8_t* table = image.Palette();
        const uint64_t n = tableEntries < image.GetColourCount() ? tableEntries : image.GetColourCount();
        for (uint64_t i = 0; i < n; ++i) {
            const uint8_t* e = data + h.tableOffset + i * h.tableEntrySize;
            table[4 * i + 0] = e[0];
            table[4 * i + 1] = e[1];
            table[4 * i + 2] = e[2];
            table[4 * i + 3] = 0;
        }
    }

    if (rle) {
        ExpandRle(pixels, available, h.compression == kBiRle4, width, rows, &image);
        return true;
    }

    const uint32_t dstStride = image.GetStride();
    uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
    if (h.compression == kBiRgb && h.bits == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else if (h.compression == kBiRgb && h.bits == 32) {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
        masks[3] = 0xFF000000;
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    const bool composite = options.compositeAlpha && h.bits == 32 && masks[3] &&
                           AnyAlpha(pixels, available, srcStride, rows, width, masks[3]);

    for (int64_t r = 0; r < rows; ++r) {
        if ((uint64_t(r) + 1) * srcStride > available)
            break;
        const uint8_t* src = pixels + r * srcStride;
        uint8_t* dst = image.BitsAddress() + size_t(topDown ? rows - 1 - r : r) * dstStride;
        if (h.bits <= 8 || h.bits == 24) {
            std::memcpy(dst, src, dstStride);
            continue;
        }
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t pixel = h.bits == 16 ? GetU16LE(src + 2 * x) : GetU32LE(src + 4 * x);
            uint8_t b = blue(pixel), g = green(pixel), rr = red(pixel);
            if (composite) {
                const uint8_t a = alpha(pixel);
                b = CompositeOver(b, a, kPictureBackgroundBlue);
                g = CompositeOver(g, a, kPictureBackgroundGreen);
                rr = CompositeOver(rr, a, kPictureBackgroundRed);
            }
            dst[3 * x + 0] = b;
            dst[3 * x + 1] = g;
            dst[3 * x + 2] = rr;
        }
    }
    return true;
}

std::unique_ptr<PictureLoader> MakeBmpLoader()
{
    return std::make_unique<BmpLoader>();
}
