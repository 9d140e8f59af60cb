#include <cstring>

#include "foundation/byte_order.h"
#include "graphics/picture_writers.h"
#include "graphics/sun_raster_format.h"

namespace {

// The data length is a 32-bit word, which bounds the picture.
constexpr uint64_t kSunRasterMaxData = 0xFFFFFFFFull - kSunRasterHeaderSize;

}  // namespace

bool WriteSunRasterPicture(const QImage& image, QByteArray* out)
{
    out->clear();
    if (image.isNull())
        return false;
    const uint64_t width = uint64_t(image.width()), height = uint64_t(image.height());
    const uint64_t rowBytes = (width * 3 + 1) & ~uint64_t(1);
    const uint64_t length = rowBytes * height;
    if (length > kSunRasterMaxData || length + kSunRasterHeaderSize > uint64_t(INT32_MAX))
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return false;
    out->resize(qsizetype(kSunRasterHeaderSize + length));
    auto* bytes = reinterpret_cast<uint8_t*>(out->data());
    std::memset(bytes, 0, size_t(out->size()));
    PutU32BE(bytes + kSunRasterMagicOffset, kSunRasterMagic);
    PutU32BE(bytes + kSunRasterWidthOffset, uint32_t(width));
    PutU32BE(bytes + kSunRasterHeightOffset, uint32_t(height));
    PutU32BE(bytes + kSunRasterDepthOffset, kSunRasterDepth);
    PutU32BE(bytes + kSunRasterLengthOffset, uint32_t(length));
    PutU32BE(bytes + kSunRasterTypeOffset, kSunRasterStandard);
    PutU32BE(bytes + kSunRasterMapTypeOffset, kSunRasterNoMap);
    PutU32BE(bytes + kSunRasterMapLengthOffset, 0);

    uint8_t* row = bytes + kSunRasterHeaderSize;
    for (uint64_t y = 0; y < height; ++y, row += rowBytes) {
        const uchar* src = rgb.constScanLine(int(y));
        for (uint64_t x = 0; x < width; ++x) {
            row[3 * x] = src[3 * x + 2];
            row[3 * x + 1] = src[3 * x + 1];
            row[3 * x + 2] = src[3 * x];
        }
    }
    return true;
}
