#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "graphics/palette_256.h"
#include "graphics/picture_writers.h"
#include "graphics/wpg_format.h"

namespace {

void AppendU16(QByteArray* out, uint16_t v)
{
    uint8_t b[2];
    PutU16LE(b, v);
    out->append(reinterpret_cast<const char*>(b), 2);
}

void AppendRecord(QByteArray* out, uint8_t type, const QByteArray& data)
{
    out->append(char(type));
    const uint32_t length = uint32_t(data.size());
    if (length < 0xFF) {
        out->append(char(uint8_t(length)));
    } else if (length < 0x8000) {
        out->append(char(0xFF));
        AppendU16(out, uint16_t(length));
    } else {
        out->append(char(0xFF));
        AppendU16(out, uint16_t(0x8000 | (length >> 16)));
        AppendU16(out, uint16_t(length));
    }
    out->append(data);
}

void AppendRow(const uint8_t* row, uint32_t length, QByteArray* out)
{
    uint32_t i = 0;
    while (i < length) {
        uint32_t run = 1;
        while (i + run < length && run < kWpgLongestRun && row[i + run] == row[i])
            ++run;
        if (run >= 3) {
            out->append(char(uint8_t(kWpgRunFlag | run)));
            out->append(char(row[i]));
            i += run;
            continue;
        }
        uint32_t end = i + 1;
        while (end < length && end - i < kWpgLongestRun &&
               !(end + 2 < length && row[end] == row[end + 1] && row[end] == row[end + 2]))
            ++end;
        out->append(char(uint8_t(end - i)));
        out->append(reinterpret_cast<const char*>(row + i), qsizetype(end - i));
        i = end;
    }
}

}  // namespace

bool WriteWpgPicture(const QImage& image, QByteArray* out)
{
    out->clear();
    if (image.isNull() || image.width() > kWpgMaxSide || image.height() > kWpgMaxSide)
        return false;
    std::vector<uint8_t> indices;
    std::vector<PaletteColour> colours;
    if (!IndexTo256Colours(image, &indices, &colours))
        return false;
    const int width = image.width(), height = image.height();
    const int dpm = image.dotsPerMeterX();
    const long dpi = std::clamp(dpm > 0 ? std::lround(dpm * 0.0254) : 96L, 1L, 0xFFFFL);

    uint8_t header[kWpgHeaderSize] = {};
    std::memcpy(header, kWpgMagic, sizeof kWpgMagic);
    PutU32LE(header + 4, kWpgHeaderSize);
    header[8] = kWpgProduct;
    header[9] = kWpgFileType;
    header[10] = kWpgMajorVersion;
    out->append(reinterpret_cast<const char*>(header), kWpgHeaderSize);

    QByteArray data;
    data.append(char(1));
    data.append(char(0));
    AppendU16(&data, uint16_t(std::min<long>(0xFFFF, long(width) * kWpgUnitsPerInch / dpi)));
    AppendU16(&data, uint16_t(std::min<long>(0xFFFF, long(height) * kWpgUnitsPerInch / dpi)));
    AppendRecord(out, kWpgRecordStart, data);

    data.clear();
    AppendU16(&data, 0);
    AppendU16(&data, uint16_t(colours.size()));
    for (const PaletteColour& c : colours) {
        data.append(char(c.red));
        data.append(char(c.green));
        data.append(char(c.blue));
    }
    AppendRecord(out, kWpgRecordColourMap, data);

    data.clear();
    AppendU16(&data, uint16_t(width));
    AppendU16(&data, uint16_t(height));
    AppendU16(&data, 8);
    AppendU16(&data, uint16_t(dpi));
    AppendU16(&data, uint16_t(dpi));
    for (int y = 0; y < height; ++y)
        AppendRow(indices.data() + size_t(y) * size_t(width), uint32_t(width), &data);
    if (uint64_t(data.size()) > 0x7FFFFFFF)
        return out->clear(), false;
    AppendRecord(out, kWpgRecordBitmap, data);
    AppendRecord(out, kWpgRecordEnd, QByteArray());
    return true;
}
