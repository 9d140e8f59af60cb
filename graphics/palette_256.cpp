#include "graphics/palette_256.h"

#include <gif_lib.h>

#include <unordered_map>

namespace {

constexpr size_t kColours = 256;

bool ExactPalette(const QImage& rgb, std::vector<uint8_t>* indices, std::vector<PaletteColour>* colours)
{
    std::unordered_map<uint32_t, uint8_t> seen;
    const int width = rgb.width(), height = rgb.height();
    for (int y = 0; y < height; ++y) {
        const uchar* src = rgb.constScanLine(y);
        uint8_t* dst = indices->data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            const uint32_t key = uint32_t(src[3 * x]) << 16 | uint32_t(src[3 * x + 1]) << 8 | src[3 * x + 2];
            auto found = seen.find(key);
            if (found == seen.end()) {
                if (seen.size() == kColours)
                    return false;
                found = seen.emplace(key, uint8_t(seen.size())).first;
                colours->push_back(PaletteColour{src[3 * x], src[3 * x + 1], src[3 * x + 2]});
            }
            dst[x] = found->second;
        }
    }
    return true;
}

// giflib's median cut.
bool QuantisedPalette(const QImage& rgb, std::vector<uint8_t>* indices, std::vector<PaletteColour>* colours)
{
    const size_t count = size_t(rgb.width()) * size_t(rgb.height());
    std::vector<GifByteType> red(count), green(count), blue(count);
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* src = rgb.constScanLine(y);
        const size_t at = size_t(y) * size_t(rgb.width());
        for (int x = 0; x < rgb.width(); ++x) {
            red[at + size_t(x)] = src[3 * x];
            green[at + size_t(x)] = src[3 * x + 1];
            blue[at + size_t(x)] = src[3 * x + 2];
        }
    }
    int size = int(kColours);
    std::vector<GifColorType> table(kColours, GifColorType{0, 0, 0});
    if (GifQuantizeBuffer(unsigned(rgb.width()), unsigned(rgb.height()), &size, red.data(), green.data(), blue.data(),
                          indices->data(), table.data()) != GIF_OK)
        return false;
    colours->clear();
    for (int i = 0; i < size; ++i)
        colours->push_back(PaletteColour{table[size_t(i)].Red, table[size_t(i)].Green, table[size_t(i)].Blue});
    return true;
}

}  // namespace

bool IndexTo256Colours(const QImage& image, std::vector<uint8_t>* indices, std::vector<PaletteColour>* colours)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return false;
    indices->assign(size_t(rgb.width()) * size_t(rgb.height()), 0);
    colours->clear();
    if (ExactPalette(rgb, indices, colours))
        return true;
    return QuantisedPalette(rgb, indices, colours);
}
