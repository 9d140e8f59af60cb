// Decodes arbitrary bytes as a PNG file. Every chunk's checksum is made
// right first: a mutated chunk would otherwise fail its check and end the
// read before the decoder's paths are reached.

#include <zlib.h>

#include <vector>

#include "graphics/dib_image.h"
#include "picture_fuzz.h"

namespace {

uint32_t BigEndian(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

void FixChunkChecksums(std::vector<uint8_t>& png)
{
    size_t at = 8;  // after the signature
    while (at + 12 <= png.size()) {
        const uint64_t length = BigEndian(&png[at]);
        if (length > png.size() - at - 12)
            break;
        const uLong crc = crc32(0, &png[at + 4], uInt(4 + length));
        uint8_t* out = &png[at + 8 + length];
        out[0] = uint8_t(crc >> 24);
        out[1] = uint8_t(crc >> 16);
        out[2] = uint8_t(crc >> 8);
        out[3] = uint8_t(crc);
        at += 12 + length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> png(data, data + size);
    FixChunkChecksums(png);
    FuzzPictureLoader(png.data(), png.size(), kPicturePng);
    return 0;
}
