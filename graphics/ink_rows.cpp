#include "graphics/ink_rows.h"

InkRows MakeInkRows(const QImage& image, uint32_t unit)
{
    InkRows rows;
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    if (grey.isNull() || unit == 0)
        return rows;
    rows.width = grey.width();
    rows.height = grey.height();
    rows.rowBytes = (uint32_t(rows.width) + 8 * unit - 1) / (8 * unit) * unit;
    rows.bits.assign(size_t(rows.rowBytes) * size_t(rows.height), 0);
    for (int y = 0; y < rows.height; ++y) {
        const uchar* src = grey.constScanLine(y);
        uint8_t* dst = rows.row(y);
        for (int x = 0; x < rows.width; ++x) {
            if (src[x] < 128)
                dst[x >> 3] |= uint8_t(0x80 >> (x & 7));
        }
    }
    return rows;
}
