// Icon files: a 6-byte directory header, 16-byte entries, and per entry a
// bitmap body (colour rows, then the AND mask) or a whole PNG file.

#include <cstring>

#include "foundation/byte_order.h"
#include "graphics/picture_bmp.h"
#include "graphics/picture_loader.h"

namespace {

constexpr uint32_t kDirectoryHeaderSize = 6;
constexpr uint32_t kEntrySize = 16;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

class IcoLoader final : public PictureLoader {
public:
    int32_t type() const override { return kPictureIco; }

    bool sniff(const uint8_t* data, size_t size) const override
    {
        return size >= kDirectoryHeaderSize + kEntrySize && GetU16LE(data) == 0 && GetU16LE(data + 2) == 1 &&
               GetU16LE(data + 4) > 0;
    }

    bool load(const uint8_t* data, size_t size, CDibImage& image) override
    {
        if (size < kDirectoryHeaderSize || GetU16LE(data) != 0 || GetU16LE(data + 2) != 1)
            return false;
        const uint32_t count = GetU16LE(data + 4);
        image.SetImageCount(count);
        const uint32_t index = image.GetImageIndex();
        if (index >= count || kDirectoryHeaderSize + uint64_t(index + 1) * kEntrySize > size)
            return false;
        const uint8_t* entry = data + kDirectoryHeaderSize + size_t(index) * kEntrySize;
        // A size byte of 0 stands for 256 pixels.
        const uint32_t entryHeight = entry[1] ? entry[1] : 256;
        const uint64_t offset = GetU32LE(entry + 12);
        uint64_t length = GetU32LE(entry + 8);
        if (offset >= size)
            return false;
        if (length > size - offset)
            length = size - offset;
        const uint8_t* body = data + offset;
        image.SetTransparentIndex(-1);

        if (length >= sizeof kPngSignature && std::memcmp(body, kPngSignature, sizeof kPngSignature) == 0) {
            const uint32_t keepIndex = image.GetImageIndex();
            image.SetImageIndex(0);
            const bool ok = MakePngLoader()->load(body, size_t(length), image);
            image.SetImageIndex(keepIndex);
            image.SetImageCount(count);
            return ok;
        }

        // The body's own header has the depth and the size; its height
        // counts the AND mask too, except in icons written without one.
        DibBodyOptions options;
        options.compositeAlpha = true;
        options.iconHeight = true;
        if (length >= 12) {
            const int64_t stored = GetU32LE(body) == 12 ? int64_t(GetU16LE(body + 6)) : int64_t(GetI32LE(body + 8));
            if (stored == int64_t(entryHeight))
                options.iconHeight = false;
        }
        return DecodeDibBody(body, size_t(length), options, image);
    }
};

}  // namespace

std::unique_ptr<PictureLoader> MakeIcoLoader()
{
    return std::make_unique<IcoLoader>();
}
