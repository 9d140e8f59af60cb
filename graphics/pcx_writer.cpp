#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "graphics/pcx_format.h"
#include "graphics/picture_writers.h"

namespace {

void EncodePlaneRow(const uint8_t* row, uint32_t length, QByteArray* out)
{
    uint32_t i = 0;
    while (i < length) {
        const uint8_t value = row[i];
        uint32_t run = 1;
        while (i + run < length && run < kPcxLongestRun && row[i + run] == value)
            ++run;
        if (run > 1 || (value & kPcxRunFlag) == kPcxRunFlag)
            out->append(char(kPcxRunFlag | run));
        out->append(char(value));
        i += run;
    }
}

}  // namespace

bool WritePcxPicture(const QImage& image, QByteArray* out)
{
    out->clear();
    if (image.isNull() || uint32_t(image.width()) > kPcxMaxSide || uint32_t(image.height()) > kPcxMaxSide)
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return false;
    const uint32_t width = uint32_t(rgb.width()), height = uint32_t(rgb.height());
    const uint32_t bytesPerLine = (width + 1) & ~1u;

    uint8_t header[kPcxHeaderSize] = {};
    header[kPcxManufacturerOffset] = kPcxManufacturer;
    header[kPcxVersionOffset] = kPcxVersion;
    header[kPcxEncodingOffset] = kPcxRunLength;
    header[kPcxPixelBitsOffset] = 8;
    PutU16LE(header + kPcxXMaxOffset, uint16_t(width - 1));
    PutU16LE(header + kPcxYMaxOffset, uint16_t(height - 1));
    PutU16LE(header + kPcxXDpiOffset, kPcxDpi);
    PutU16LE(header + kPcxYDpiOffset, kPcxDpi);
    header[kPcxPlanesOffset] = kPcxPlanes;
    PutU16LE(header + kPcxBytesPerLineOffset, uint16_t(bytesPerLine));
    PutU16LE(header + kPcxPaletteInfoOffset, kPcxColourPalette);
    out->append(reinterpret_cast<const char*>(header), kPcxHeaderSize);

    // The pad byte of an odd width is 0 in every plane.
    std::vector<uint8_t> plane(bytesPerLine, 0);
    for (uint32_t y = 0; y < height; ++y) {
        const uchar* src = rgb.constScanLine(int(y));
        for (uint32_t channel = 0; channel < kPcxPlanes; ++channel) {
            for (uint32_t x = 0; x < width; ++x)
                plane[x] = src[3 * x + channel];
            EncodePlaneRow(plane.data(), bytesPerLine, out);
        }
    }
    return true;
}
