// GIF files: the screen descriptor with its global colour table, then
// extension blocks and images, each image with its descriptor, an optional
// local colour table and LZW data.

#include <algorithm>
#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "graphics/gif_lzw.h"
#include "graphics/picture_limits.h"
#include "graphics/picture_loader.h"

namespace {

constexpr size_t kScreenDescriptorSize = 13;
constexpr size_t kImageDescriptorSize = 9;

enum : uint8_t {
    kExtensionIntroducer = 0x21,
    kImageSeparator = 0x2C,
    kGraphicControlLabel = 0xF9,
};

struct ColourTable {
    const uint8_t* rgb = nullptr;
    int32_t size = 0;
};

// Reads a colour table of 1 << ((flags & 7) + 1) entries at *pos when the
// flags say there is one; false when it does not fit.
bool ReadTable(const uint8_t* data, size_t size, size_t* pos, uint8_t flags, ColourTable* table)
{
    if (!(flags & 0x80))
        return true;
    const int32_t entries = 1 << ((flags & 7) + 1);
    if (size - *pos < size_t(entries) * 3)
        return false;
    table->rgb = data + *pos;
    table->size = entries;
    *pos += size_t(entries) * 3;
    return true;
}

// The colour table a picture gets: the transparent entry black, white
// behind short tables (indices beyond the table show white), and white
// somewhere in every table.
void InstallTable(const ColourTable& table, int32_t transparent, CDibImage& image)
{
    if (!table.rgb)
        return;
    uint8_t red[256], green[256], blue[256];
    bool white = false;
    for (int32_t i = 0; i < table.size; ++i) {
        red[i] = table.rgb[3 * i];
        green[i] = table.rgb[3 * i + 1];
        blue[i] = table.rgb[3 * i + 2];
        white = white || (red[i] == 255 && green[i] == 255 && blue[i] == 255);
    }
    if (transparent >= 0 && transparent < 256)
        red[transparent] = green[transparent] = blue[transparent] = 0;
    if (table.size < 256) {
        for (int32_t i = table.size; i < 256; ++i)
            red[i] = green[i] = blue[i] = 255;
        white = true;
    }
    if (!white)
        red[255] = green[255] = blue[255] = 255;
    image.SetPaletteFromPlanes(red, green, blue, transparent >= 0 ? 256 : table.size);
}

class GifLoader final : public PictureLoader {
public:
    int32_t type() const override { return kPictureGif; }

    bool sniff(const uint8_t* data, size_t size) const override
    {
        return size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0);
    }

    bool load(const uint8_t* data, size_t size, CDibImage& image) override
    {
        if (size < kScreenDescriptorSize || std::memcmp(data, "GIF8", 4) != 0)
            return false;
        size_t pos = kScreenDescriptorSize;
        ColourTable global;
        if (!ReadTable(data, size, &pos, data[10], &global))
            return false;

        int32_t transparent = -1;
        uint32_t imageNumber = 0;
        while (pos < size) {
            const uint8_t introducer = data[pos++];
            if (introducer == kExtensionIntroducer) {
                if (pos >= size)
                    break;
                const uint8_t label = data[pos++];
                if (label == kGraphicControlLabel) {
                    if (size - pos < 5 || data[pos] != 4)
                        break;
                    const uint8_t* control = data + pos + 1;
                    transparent = (control[0] & 1) ? control[3] : -1;
                    image.SetDelay(GetU16LE(control + 1));
                    pos += 5;
                }
                GifSkipSubBlocks(data, size, &pos);
                continue;
            }
            if (introducer != kImageSeparator || size - pos < kImageDescriptorSize)
                break;
            const uint8_t* descriptor = data + pos;
            pos += kImageDescriptorSize;
            const int32_t width = GetU16LE(descriptor + 4);
            const int32_t height = GetU16LE(descriptor + 6);
            const uint8_t packed = descriptor[8];
            ColourTable local;
            if (!ReadTable(data, size, &pos, packed, &local))
                break;
            if (imageNumber++ != image.GetImageIndex()) {
                // Another image of an animation: its data is skipped.
                if (pos < size)
                    ++pos;
                GifSkipSubBlocks(data, size, &pos);
                transparent = -1;
                continue;
            }
            if (width <= 0 || height <= 0)
                return false;
            if (!PicturePixelsAllowed(width, height)) {
                image.SetErrorText(kPictureTooLargeText);
                return false;
            }
            // The picture has the rows its data holds (decoding errors keep
            // the rows decoded so far); data that holds none is no picture.
            const bool interlaced = (packed & 0x40) != 0;
            std::vector<uint8_t> lines;
            GifDecodeLzw(data, size, &pos, width, height, &lines);
            const int64_t count = int64_t(lines.size() / size_t(width));
            int32_t rows = 0;
            for (int64_t n = 0; n < count; ++n)
                rows = std::max(rows, GifLineRow(n, height, interlaced) + 1);
            if (rows <= 0) {
                image.SetErrorText(kPictureNoPixelsText);
                return false;
            }
            if (!image.CreateBlock(width, rows, 8))
                return false;
            for (int64_t n = 0; n < count; ++n) {
                const int32_t row = GifLineRow(n, height, interlaced);
                if (row >= 0 && row < rows)
                    std::memcpy(image.RowFromTop(row), lines.data() + n * width, size_t(width));
            }
            image.SetTransparentIndex(transparent);
            InstallTable(local.rgb ? local : global, transparent, image);
            return true;
        }
        return !image.IsEmpty();
    }
};

}  // namespace

std::unique_ptr<PictureLoader> MakeGifLoader()
{
    return std::make_unique<GifLoader>();
}
