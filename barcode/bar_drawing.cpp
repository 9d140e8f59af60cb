#include "barcode/bar_drawing.h"

#include <cstdlib>
#include <string_view>

#include "barcode/barcode_dc_state.h"
#include "barcode/barcode_scale.h"
#include "graphics/rotation.h"
#include "platform/dc.h"

void RotateBarcodePoints(IntPoint* points, int16_t count, const int32_t centre[2], double angle)
{
    if (angle != 0.0)
        RotatePoint(points, count, centre[0], centre[1], angle);
}

void DrawBar(Dc* dc, int32_t x, int32_t y, int32_t width, int32_t height, double angle, const int32_t centre[2])
{
    const int32_t w = std::abs(width);
    const int32_t h = std::abs(height);
    IntPoint p[5] = {{x, y}, {x, y + h}, {x + w, y + h}, {x + w, y}, {x, y}};
    RotateBarcodePoints(p, 5, centre, angle);
    if (w >= 2) {
        dc->paintRgn(Region::FromPolygon(p, 5, WINDING));
        return;
    }
    BarcodePenScope pen(dc);
    pen.SetPen(dc->textColor(), w);
    dc->moveTo(p[0].x, p[0].y);
    dc->lineTo(p[1].x, p[1].y);
}

int32_t BarcodeCharWidth(Dc* dc, uint8_t ch)
{
    const char c = char(ch);
    return dc->getTextExtent(std::string_view(&c, 1)).width;
}

void BarcodeDrawChar(Dc* dc, int32_t x, int32_t y, uint8_t ch)
{
    const char c = char(ch);
    dc->textOut(x, y, std::string_view(&c, 1));
}

void DrawCaptionChar(Dc* dc, const BarcodeRecord& rec, double x, double y, uint8_t ch)
{
    IntPoint p{BarcodeTrunc(x), BarcodeTrunc(y)};
    const int32_t centre[2] = {rec.centreX, rec.centreY};
    RotateBarcodePoints(&p, 1, centre, rec.angle);
    BarcodeDrawChar(dc, p.x, p.y, ch);
}

BarTrack::BarTrack(Dc* dc, const BarcodeRecord& rec, double x)
    : dc_(dc), angle_(rec.angle), centre_{rec.centreX, rec.centreY}, x_(x)
{
}

void BarTrack::Bar(double width, int32_t y, int32_t height)
{
    DrawBar(dc_, BarcodeTrunc(x_), y, BarcodeTrunc(width), height, angle_, centre_);
    x_ += width;
}
