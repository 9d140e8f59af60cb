#include <gif_lib.h>

#include <cstring>
#include <vector>

#include "graphics/palette_256.h"
#include "graphics/picture_writers.h"

namespace {

constexpr int kGifMaxSide = 0xFFFF;

int AppendToArray(GifFileType* gif, const GifByteType* bytes, int count)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), count);
    return count;
}

}  // namespace

bool WriteGifPicture(const QImage& image, QByteArray* out)
{
    out->clear();
    if (image.isNull() || image.width() > kGifMaxSide || image.height() > kGifMaxSide)
        return false;
    const int width = image.width(), height = image.height();
    std::vector<uint8_t> indices;
    std::vector<PaletteColour> palette;
    if (!IndexTo256Colours(image, &indices, &palette))
        return false;
    std::vector<GifColorType> colours;
    for (const PaletteColour& c : palette)
        colours.push_back(GifColorType{c.red, c.green, c.blue});
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
