#include <cstring>

#include "foundation/byte_order.h"
#include "graphics/ink_rows.h"
#include "graphics/ms_paint_format.h"
#include "graphics/picture_writers.h"

bool WriteMsPaintPicture(const QImage& image, QByteArray* out)
{
    out->clear();
    if (image.isNull() || image.width() > kMsPaintMaxSide || image.height() > kMsPaintMaxSide)
        return false;
    const InkRows rows = MakeInkRows(image);
    if (rows.bits.empty())
        return false;
    uint8_t header[kMsPaintHeaderSize] = {};
    PutU16LE(header + kMsPaintKey1Offset, kMsPaintKey1);
    PutU16LE(header + kMsPaintKey2Offset, kMsPaintKey2);
    PutU16LE(header + kMsPaintWidthOffset, uint16_t(rows.width));
    PutU16LE(header + kMsPaintHeightOffset, uint16_t(rows.height));
    for (uint32_t i = 0; i < 4; ++i)
        PutU16LE(header + kMsPaintAspectOffset + 2 * i, 1);
    PutU16LE(header + kMsPaintPrinterSizeOffset, uint16_t(rows.width));
    PutU16LE(header + kMsPaintPrinterSizeOffset + 2, uint16_t(rows.height));
    uint16_t sum = 0;
    for (uint32_t i = 0; i < kMsPaintChecksumWords; ++i)
        sum ^= GetU16LE(header + 2 * i);
    PutU16LE(header + kMsPaintChecksumOffset, sum);
    out->append(reinterpret_cast<const char*>(header), kMsPaintHeaderSize);
    // Ink is 0 here: the packed rows are written inverted, the padding too.
    const qsizetype start = out->size();
    out->append(reinterpret_cast<const char*>(rows.bits.data()), qsizetype(rows.bits.size()));
    for (qsizetype i = start; i < out->size(); ++i)
        (*out)[i] = char(~uint8_t((*out)[i]));
    return true;
}
