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

// The median cut works on five bits a channel and gives each box its mean,
// so a white background came out (248,248,248). Where one exact colour
// holds most of a box's pixels (a background, a flat fill, black text), the
// box's entry becomes that colour; a box of mixed colours keeps its mean.
void KeepFlatColours(const QImage& rgb, const std::vector<uint8_t>& indices, std::vector<PaletteColour>* colours)
{
    struct Box {
        std::unordered_map<uint32_t, uint32_t> counts;
        uint32_t pixels = 0;
    };
    std::vector<Box> boxes(colours->size());
    const int width = rgb.width();
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* src = rgb.constScanLine(y);
        const uint8_t* index = indices.data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            if (index[x] >= boxes.size())
                continue;
            Box& box = boxes[index[x]];
            ++box.counts[uint32_t(src[3 * x]) << 16 | uint32_t(src[3 * x + 1]) << 8 | src[3 * x + 2]];
            ++box.pixels;
        }
    }
    for (size_t i = 0; i < boxes.size(); ++i) {
        uint32_t best = 0, bestCount = 0;
        for (const auto& [colour, count] : boxes[i].counts)
            if (count > bestCount || (count == bestCount && colour < best))
                best = colour, bestCount = count;
        if (bestCount * 2 > boxes[i].pixels)
            (*colours)[i] = PaletteColour{uint8_t(best >> 16), uint8_t(best >> 8), uint8_t(best)};
    }
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
    KeepFlatColours(rgb, *indices, colours);
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
