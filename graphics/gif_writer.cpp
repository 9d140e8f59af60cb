#include <gif_lib.h>

#include <cstring>
#include <unordered_map>
#include <vector>

#include "graphics/picture_writers.h"

namespace {

constexpr int kGifMaxSide = 0xFFFF;
constexpr int kGifColours = 256;

int AppendToArray(GifFileType* gif, const GifByteType* bytes, int count)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), count);
    return count;
}

// The picture's own colours as indices, when it has at most 256 of them.
bool ExactPalette(const QImage& rgb, std::vector<GifByteType>* indices, std::vector<GifColorType>* colours)
{
    std::unordered_map<uint32_t, GifByteType> seen;
    const int width = rgb.width(), height = rgb.height();
    for (int y = 0; y < height; ++y) {
        const uchar* src = rgb.constScanLine(y);
        GifByteType* dst = indices->data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            const uint32_t key = uint32_t(src[3 * x]) << 16 | uint32_t(src[3 * x + 1]) << 8 | src[3 * x + 2];
            auto found = seen.find(key);
            if (found == seen.end()) {
                if (seen.size() == kGifColours)
                    return false;
                found = seen.emplace(key, GifByteType(seen.size())).first;
                colours->push_back(GifColorType{src[3 * x], src[3 * x + 1], src[3 * x + 2]});
            }
            dst[x] = found->second;
        }
    }
    return true;
}

bool QuantisedPalette(const QImage& rgb, std::vector<GifByteType>* indices, std::vector<GifColorType>* colours)
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
    int size = kGifColours;
    colours->assign(kGifColours, GifColorType{0, 0, 0});
    if (GifQuantizeBuffer(unsigned(rgb.width()), unsigned(rgb.height()), &size, red.data(), green.data(), blue.data(),
                          indices->data(), colours->data()) != GIF_OK)
        return false;
    colours->resize(size_t(size));
    return true;
}

}  // namespace

bool WriteGifPicture(const QImage& image, QByteArray* out)
{
    out->clear();
    if (image.isNull() || image.width() > kGifMaxSide || image.height() > kGifMaxSide)
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return false;
    const int width = rgb.width(), height = rgb.height();
    std::vector<GifByteType> indices(size_t(width) * size_t(height));
    std::vector<GifColorType> colours;
    if (!ExactPalette(rgb, &indices, &colours)) {
        colours.clear();
        if (!QuantisedPalette(rgb, &indices, &colours))
            return false;
    }
    // A colour table holds a power of two entries, at least two.
    int tableSize = 2;
    while (tableSize < int(colours.size()))
        tableSize *= 2;
    colours.resize(size_t(tableSize), GifColorType{0, 0, 0});
    ColorMapObject* map = GifMakeMapObject(tableSize, colours.data());
    if (!map)
        return false;

    int error = 0;
    GifFileType* gif = EGifOpen(out, AppendToArray, &error);
    bool ok = gif != nullptr;
    if (ok) {
        ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
        for (int y = 0; ok && y < height; ++y)
            ok = EGifPutLine(gif, indices.data() + size_t(y) * size_t(width), width) == GIF_OK;
        // Closing writes the trailer and frees the file record either way.
        ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    }
    GifFreeMapObject(map);
    if (!ok)
        out->clear();
    return ok;
}
