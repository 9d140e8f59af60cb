#include "graphics/picture_orientation.h"

#include <cstring>

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;

struct Reader {
    const uint8_t* data;
    size_t size;
    bool bigEndian;

    bool has(uint64_t at, uint64_t n) const { return at <= size && n <= size - at; }
    uint16_t u16(size_t at) const
    {
        return bigEndian ? uint16_t(data[at] << 8 | data[at + 1]) : uint16_t(data[at + 1] << 8 | data[at]);
    }
    uint32_t u32(size_t at) const
    {
        return bigEndian ? uint32_t(u16(at)) << 16 | u16(at + 2) : uint32_t(u16(at + 2)) << 16 | u16(at);
    }
};

}  // namespace

int32_t ExifOrientation(const uint8_t* data, size_t size)
{
    static const uint8_t kSignature[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (!data || size < 6 + 8 || std::memcmp(data, kSignature, 6) != 0)
        return 1;
    // Offsets in the block count from its TIFF header.
    Reader r{data + 6, size - 6, false};
    if (r.data[0] == 'M' && r.data[1] == 'M')
        r.bigEndian = true;
    else if (!(r.data[0] == 'I' && r.data[1] == 'I'))
        return 1;
    if (r.u16(2) != 42)
        return 1;
    const uint32_t ifd = r.u32(4);
    if (!r.has(ifd, 2))
        return 1;
    const uint32_t count = r.u16(ifd);
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t entry = uint64_t(ifd) + 2 + 12 * uint64_t(i);
        if (!r.has(entry, 12))
            return 1;
        if (r.u16(size_t(entry)) != kOrientationTag)
            continue;
        if (r.u16(size_t(entry) + 2) != kTypeShort || r.u32(size_t(entry) + 4) != 1)
            return 1;
        const uint16_t value = r.u16(size_t(entry) + 8);
        return value >= 1 && value <= 8 ? int32_t(value) : 1;
    }
    return 1;
}

bool TurnPictureUpright(CDibImage& image, int32_t orientation)
{
    if (orientation < 2 || orientation > 8 || image.IsEmpty())
        return true;
    const int32_t bits = image.GetBitCount();
    if (bits != 8 && bits != 24)
        return false;
    const int32_t w = image.GetWidth();
    const int32_t h = image.GetHeight();
    // Orientations 5 to 8 lay the stored rows as columns.
    const bool across = orientation >= 5;
    const int32_t outWidth = across ? h : w;
    const int32_t outHeight = across ? w : h;
    CDibImage turned;
    if (!turned.CreateBlock(outWidth, outHeight, bits))
        return false;
    if (image.Palette() && turned.Palette())
        std::memcpy(turned.Palette(), image.Palette(), 4 * size_t(image.GetColourCount()));
    const size_t pixel = size_t(bits / 8);
    for (int32_t y = 0; y < outHeight; ++y) {
        uint8_t* out = turned.RowFromTop(y);
        for (int32_t x = 0; x < outWidth; ++x) {
            // The stored pixel that shows at (x, y) once upright.
            int32_t sx = x, sy = y;
            switch (orientation) {
            case 2: sx = w - 1 - x; break;
            case 3: sx = w - 1 - x; sy = h - 1 - y; break;
            case 4: sy = h - 1 - y; break;
            case 5: sx = y; sy = x; break;
            case 6: sx = y; sy = h - 1 - x; break;
            case 7: sx = w - 1 - y; sy = h - 1 - x; break;
            case 8: sx = w - 1 - y; sy = x; break;
            default: break;
            }
            std::memcpy(out + size_t(x) * pixel, image.RowFromTop(sy) + size_t(sx) * pixel, pixel);
        }
    }
    image.SwapPixels(turned);
    return true;
}
