#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/byte_order.h"
#include "graphics/gem_image_format.h"
#include "graphics/ink_rows.h"
#include "graphics/picture_writers.h"

namespace {

bool Solid(uint8_t b) { return b == 0x00 || b == 0xFF; }

void AppendRow(const uint8_t* row, uint32_t length, QByteArray* out)
{
    uint32_t i = 0;
    while (i < length) {
        if (Solid(row[i])) {
            uint32_t run = 1;
            while (i + run < length && run < kGemLongestSolid && row[i + run] == row[i])
                ++run;
            out->append(char(uint8_t(run | (row[i] ? kGemSolidBlack : 0))));
            i += run;
            continue;
        }
        uint32_t end = i + 1;
        while (end < length && end - i < kGemLongestString && !Solid(row[end]))
            ++end;
        out->append(char(kGemBitString));
        out->append(char(uint8_t(end - i)));
        out->append(reinterpret_cast<const char*>(row + i), qsizetype(end - i));
        i = end;
    }
}

// A picture without a resolution counts as one of the screen's 96 dpi.
uint16_t Microns(int dotsPerMetre)
{
    const double dpi = dotsPerMetre > 0 ? dotsPerMetre * 0.0254 : 0.0;
    return uint16_t(std::clamp(std::lround(kGemMicronsPerInch / (dpi >= 1.0 ? dpi : 96.0)), 1L, 0x7FFFL));
}

}  // namespace

bool WriteGemImagePicture(const QImage& image, QByteArray* out)
{
    out->clear();
    if (image.isNull() || image.width() > kGemMaxSide || image.height() > kGemMaxSide)
        return false;
    const InkRows rows = MakeInkRows(image);
    if (rows.bits.empty())
        return false;
    uint8_t header[2 * kGemHeaderWords] = {};
    PutU16BE(header, kGemVersion);
    PutU16BE(header + 2, uint16_t(kGemHeaderWords));
    PutU16BE(header + 4, kGemPlanes);
    PutU16BE(header + 6, kGemPatternLength);
    PutU16BE(header + 8, Microns(image.dotsPerMeterX()));
    PutU16BE(header + 10, Microns(image.dotsPerMeterY()));
    PutU16BE(header + 12, uint16_t(rows.width));
    PutU16BE(header + 14, uint16_t(rows.height));
    out->append(reinterpret_cast<const char*>(header), sizeof header);
    for (int y = 0; y < rows.height;) {
        // Rows alike (a blank band above all) are written once.
        int same = 1;
        while (y + same < rows.height && uint32_t(same) < kGemLongestRepeat &&
               std::memcmp(rows.row(y), rows.row(y + same), rows.rowBytes) == 0)
            ++same;
        if (same > 1) {
            const char repeat[4] = {0, 0, char(0xFF), char(uint8_t(same))};
            out->append(repeat, 4);
        }
        AppendRow(rows.row(y), rows.rowBytes, out);
        y += same;
    }
    return true;
}
