#include <cstdint>
#include <cstring>

#include "foundation/byte_order.h"
#include "graphics/picture_writers.h"
#include "graphics/tga_format.h"

bool WriteTgaPicture(const QImage& image, QByteArray* out)
{
    out->clear();
    if (image.isNull() || uint32_t(image.width()) > kTgaMaxSide || uint32_t(image.height()) > kTgaMaxSide)
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return false;
    const int64_t width = rgb.width(), height = rgb.height();
    const int64_t rowBytes = width * 3;
    if (kTgaHeaderSize + rowBytes * height + kTgaFooterSize > INT32_MAX)
        return false;
    out->resize(qsizetype(kTgaHeaderSize + rowBytes * height + kTgaFooterSize));
    auto* bytes = reinterpret_cast<uint8_t*>(out->data());
    std::memset(bytes, 0, size_t(out->size()));

    bytes[kTgaImageTypeOffset] = kTgaTrueColour;
    PutU16LE(bytes + kTgaWidthOffset, uint16_t(width));
    PutU16LE(bytes + kTgaHeightOffset, uint16_t(height));
    bytes[kTgaPixelBitsOffset] = kTgaPixelBits;

    uint8_t* row = bytes + kTgaHeaderSize;
    for (int64_t y = height - 1; y >= 0; --y, row += rowBytes) {
        const uchar* src = rgb.constScanLine(int(y));
        for (int64_t x = 0; x < width; ++x) {
            row[3 * x] = src[3 * x + 2];
            row[3 * x + 1] = src[3 * x + 1];
            row[3 * x + 2] = src[3 * x];
        }
    }
    std::memcpy(row + kTgaSignatureOffset, kTgaSignature, sizeof kTgaSignature);
    return true;
}
