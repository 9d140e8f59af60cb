#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "graphics/ink_rows.h"
#include "graphics/packbits.h"
#include "graphics/picture_writers.h"
#include "graphics/pict_format.h"

namespace {

void AppendU16(QByteArray* out, uint16_t v)
{
    uint8_t b[2];
    PutU16BE(b, v);
    out->append(reinterpret_cast<const char*>(b), 2);
}

void AppendU32(QByteArray* out, uint32_t v)
{
    uint8_t b[4];
    PutU32BE(b, v);
    out->append(reinterpret_cast<const char*>(b), 4);
}

void AppendRect(QByteArray* out, int width, int height)
{
    AppendU16(out, 0);
    AppendU16(out, 0);
    AppendU16(out, uint16_t(height));
    AppendU16(out, uint16_t(width));
}

}  // namespace

bool WritePictPicture(const QImage& image, QByteArray* out)
{
    out->clear();
    if (image.isNull() || image.width() > kPictMaxSide || image.height() > kPictMaxSide)
        return false;
    const InkRows rows = MakeInkRows(image, 2);
    if (rows.bits.empty() || rows.rowBytes > kPictMaxRowBytes)
        return false;
    const int width = rows.width, height = rows.height;

    out->fill('\0', kPictFileHeaderSize);
    AppendU16(out, 0);  // the size, set below
    AppendRect(out, width, height);
    AppendU16(out, kPictOpVersion);
    AppendU16(out, kPictVersion2);
    AppendU16(out, kPictOpHeader);
    AppendU16(out, uint16_t(kPictExtendedHeader));
    AppendU16(out, 0);
    AppendU32(out, kPictResolution72);
    AppendU32(out, kPictResolution72);
    AppendRect(out, width, height);
    AppendU32(out, 0);
    AppendU16(out, kPictOpDefHilite);
    AppendU16(out, kPictOpClip);
    AppendU16(out, kPictRegionSize);
    AppendRect(out, width, height);

    AppendU16(out, kPictOpPackBitsRect);
    const qsizetype dataStart = out->size();
    AppendU16(out, uint16_t(rows.rowBytes | kPictPixMapFlag));
    AppendRect(out, width, height);  // bounds
    AppendU16(out, 0);               // version
    AppendU16(out, 0);               // pack type: PackBits rows
    AppendU32(out, 0);               // pack size
    AppendU32(out, kPictResolution72);
    AppendU32(out, kPictResolution72);
    AppendU16(out, 0);  // indexed pixels
    AppendU16(out, 1);  // of one bit
    AppendU16(out, 1);  // one component
    AppendU16(out, 1);  // of one bit
    AppendU32(out, 0);  // plane bytes
    AppendU32(out, 0);  // colour table handle
    AppendU32(out, 0);  // reserved
    AppendU32(out, 0);  // colour table seed
    AppendU16(out, 0);  // flags
    AppendU16(out, kPictColourEntries - 1);
    for (uint16_t i = 0; i < kPictColourEntries; ++i) {
        const uint16_t level = i == 0 ? 0xFFFF : 0;
        AppendU16(out, i);
        AppendU16(out, level);
        AppendU16(out, level);
        AppendU16(out, level);
    }
    AppendRect(out, width, height);  // source
    AppendRect(out, width, height);  // destination
    AppendU16(out, kPictModeSrcCopy);
    QByteArray packed;
    for (int y = 0; y < height; ++y) {
        if (rows.rowBytes < kPictPackedFrom) {
            out->append(reinterpret_cast<const char*>(rows.row(y)), qsizetype(rows.rowBytes));
            continue;
        }
        packed.clear();
        AppendPackBits(rows.row(y), rows.rowBytes, &packed);
        if (rows.rowBytes > kPictShortCountLimit)
            AppendU16(out, uint16_t(packed.size()));
        else
            out->append(char(uint8_t(packed.size())));
        out->append(packed);
    }
    if ((out->size() - dataStart) & 1)
        out->append('\0');
    AppendU16(out, kPictOpEnd);
    PutU16BE(reinterpret_cast<uint8_t*>(out->data()) + kPictFileHeaderSize,
             uint16_t(out->size() - kPictFileHeaderSize));
    return true;
}
