#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "foundation/byte_order.h"
#include "graphics/ink_rows.h"
#include "graphics/ioca_format.h"
#include "graphics/picture_writers.h"

namespace {

void Append(QByteArray* out, std::initializer_list<uint8_t> bytes)
{
    for (uint8_t b : bytes)
        out->append(char(b));
}

void AppendU16(QByteArray* out, uint16_t value)
{
    uint8_t field[2];
    PutU16BE(field, value);
    out->append(reinterpret_cast<const char*>(field), 2);
}

// Pixels per ten inches; a picture without a resolution counts as one of
// the screen's 96 dpi.
uint16_t PerTenInches(int dotsPerMetre)
{
    const double dpi = dotsPerMetre > 0 ? dotsPerMetre * 0.0254 : 0.0;
    return uint16_t(std::clamp(std::lround((dpi >= 1.0 ? dpi : 96.0) * 10.0), 1L, kIocaMaxResolution));
}

}  // namespace

bool WriteIocaPicture(const QImage& image, QByteArray* out)
{
    out->clear();
    if (image.isNull() || image.width() > kIocaMaxSide || image.height() > kIocaMaxSide)
        return false;
    const InkRows rows = MakeInkRows(image);
    if (rows.bits.empty())
        return false;
    Append(out, {kIocaBeginSegment, 0, kIocaBeginImageContent, 1, kIocaImageObject});
    Append(out, {kIocaImageSize, kIocaImageSizeLength, kIocaUnitTenInches});
    AppendU16(out, PerTenInches(image.dotsPerMeterX()));
    AppendU16(out, PerTenInches(image.dotsPerMeterY()));
    AppendU16(out, uint16_t(rows.width));
    AppendU16(out, uint16_t(rows.height));
    Append(out, {kIocaImageEncoding, 3, kIocaNoCompression, kIocaRecordingRidic, kIocaLeftToRight});
    Append(out, {kIocaIdeSize, 1, kIocaBilevel});
    const size_t total = rows.bits.size();
    for (size_t at = 0; at < total; at += kIocaDataPiece) {
        const size_t piece = std::min<size_t>(kIocaDataPiece, total - at);
        Append(out, {kIocaLongCode, kIocaImageData});
        AppendU16(out, uint16_t(piece));
        out->append(reinterpret_cast<const char*>(rows.bits.data() + at), qsizetype(piece));
    }
    Append(out, {kIocaEndImageContent, 0, kIocaEndSegment, 0});
    return true;
}
