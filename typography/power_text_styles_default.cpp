#include <array>

#include "foundation/byte_order.h"
#include "typography/power_text_styles.h"

namespace {

// outline style, colour, tint; fill style, colour, tint; blend colour,
// tint; shadow style, position, fill; shadow colour, tint; shadow blend
// colour, tint.
constexpr int16_t kStyles[][kGlyphStyleFieldCount] = {
    {1, 15, 100, 1, 15, 100, 1, 100, 1, 1, 1, 13, 100, 1, 100},
    {2, 8, 100, 1, 4, 100, 0, 100, 1, 1, 1, 13, 100, 1, 100},
    {3, 6, 100, 1, 8, 100, 0, 100, 1, 1, 1, 13, 100, 1, 100},
    {4, 3, 100, 1, 6, 100, 0, 100, 1, 1, 1, 13, 100, 1, 100},
    {1, 3, 100, 1, 6, 100, 0, 100, 1, 1, 1, 13, 100, 1, 100},
    {2, 10, 100, 2, 8, 100, 7, 100, 1, 1, 1, 13, 100, 1, 100},
    {3, 6, 100, 3, 4, 100, 1, 100, 1, 1, 1, 13, 100, 1, 100},
    {3, 6, 100, 4, 4, 100, 1, 100, 1, 1, 1, 13, 100, 1, 100},
    {3, 14, 100, 5, 1, 100, 8, 100, 1, 1, 1, 13, 100, 1, 100},
    {3, 14, 100, 6, 3, 50, 1, 50, 1, 1, 1, 13, 100, 1, 100},
    {3, 14, 100, 6, 3, 50, 1, 50, 2, 1, 1, 13, 100, 1, 100},
    {3, 14, 100, 1, 7, 50, 0, 50, 2, 1, 1, 4, 100, 1, 100},
    {2, 14, 100, 1, 12, 50, 0, 50, 2, 1, 2, 4, 100, 6, 100},
    {2, 14, 100, 1, 1, 50, 0, 50, 2, 2, 2, 4, 100, 10, 100},
    {2, 14, 100, 1, 8, 50, 0, 50, 2, 3, 5, 4, 100, 6, 100},
    {2, 14, 100, 1, 8, 50, 0, 50, 3, 4, 5, 4, 100, 6, 100},
    {3, 4, 100, 1, 1, 50, 0, 50, 4, 1, 5, 4, 100, 6, 100},
    {3, 8, 100, 1, 6, 50, 0, 50, 4, 1, 3, 4, 100, 6, 100},
    {2, 4, 100, 2, 0, 50, 3, 50, 2, 1, 2, 12, 100, 12, 100},
    {2, 14, 100, 2, 1, 40, 6, 30, 4, 1, 2, 12, 100, 12, 100},
    {4, 4, 100, 2, 4, 80, 14, 70, 2, 1, 2, 4, 100, 8, 100},
};

}  // namespace

std::vector<uint8_t> BuiltInPowerTextStyles()
{
    const size_t n = std::size(kStyles) * kGlyphStyleSize;
    std::vector<uint8_t> file(kStylesFileHeaderSize + n);
    PutU32LE(file.data(), uint32_t(n));
    uint8_t* p = file.data() + kStylesFileHeaderSize;
    for (const auto& style : kStyles)
        for (int16_t v : style) {
            PutI16LE(p, v);
            p += 2;
        }
    return file;
}
