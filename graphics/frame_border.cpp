#include "graphics/frame_border.h"

#include <algorithm>

#include "foundation/int_math.h"
#include "graphics/border_geometry.h"
#include "graphics/border_stripes.h"
#include "graphics/rotation.h"
#include "graphics/shape_helpers.h"
#include "platform/dc.h"

namespace {

void Turn(const LineBand& band, IntPoint* p, int n)
{
    RotatePoint(p, int16_t(n), band.start.x, band.start.y, band.angle);
}

// One stripe of the band between x0 and x1, from y `top` down `thickness`.
void DrawStripe(Dc* dc, const LineBand& band, int32_t x0, int32_t x1, int32_t top, int32_t thickness)
{
    if (thickness <= 0)
        return;
    if (thickness == 1) {
        IntPoint edge[2] = {{x0, top}, {x1, top}};
        Turn(band, edge, 2);
        dc->moveTo(edge[0].x, edge[0].y);
        dc->lineTo(edge[1].x, edge[1].y);
        return;
    }
    IntPoint p[4] = {{x0, top}, {x1, top}, {x1, top + thickness}, {x0, top + thickness}};
    Turn(band, p, 4);
    FillPolygonRegion(dc, p, 4, true);
}

void DrawStripes(Dc* dc, const LineBand& band, int32_t style)
{
    StripeTable t;
    BorderStripeWidths(style, band.m.width, &t);
    const int16_t* s = t.s;
    DrawStripe(dc, band, band.x0, band.x1, band.top, s[0]);
    if (style == kLineSingle)
        return;
    if (style <= kLineThickThin) {
        DrawStripe(dc, band, band.x0, band.x1, band.bottom - s[2], s[2]);
        return;
    }
    DrawStripe(dc, band, band.x0, band.x1, band.bottom - s[0], s[0]);
    DrawStripe(dc, band, band.x0, band.x1, band.top + s[0] + s[1], s[2]);
}

void DrawDot(Dc* dc, const LineBand& band, int32_t dashStart)
{
    IntPoint c{dashStart + band.m.a, band.top + band.m.a};
    Turn(band, &c, 1);
    dc->paintRgn(Region::FromEllipse(IntRect{c.x - band.m.b, c.y - band.m.b, c.x + band.m.a, c.y + band.m.a}));
}

void DrawDashes(Dc* dc, const LineBand& band, int32_t style)
{
    const DashLayout d = LayoutDashes(style, band.m.width, band.x1 - band.x0);
    for (int32_t i = 0; i < d.count; ++i) {
        const int32_t start = band.x0 + d.step * i;
        if (style == kLineDots) {
            DrawDot(dc, band, start);
            continue;
        }
        const int32_t end = std::min(start + d.dash, band.x1);
        DrawStripe(dc, band, start, end, band.top, band.m.width);
    }
}

void DrawCap(Dc* dc, const LineRecord& line, const LineBand& band, int32_t part, int32_t cap)
{
    IntPoint p[kBorderGeometryMaxPoints];
    int32_t n = 0;
    BorderGeometry(line, 0, part, p, &n);
    if (n == 0)
        return;
    Turn(band, p, n);
    if (cap != kCapRound && cap != kCapRoundLarge) {
        FillPolygonRegion(dc, p, n, false);
        return;
    }
    const IntPoint c{(p[2].x + p[4].x) / 2, (p[2].y + p[4].y) / 2};
    const int32_t w = band.m.width;
    const int32_t before = cap == kCapRound ? band.m.b : w - 1;
    const int32_t after = cap == kCapRound ? band.m.a : w;
    dc->paintRgn(Region::FromEllipse(IntRect{c.x - before, c.y - before, c.x + after, c.y + after}));
}

}  // namespace

DashLayout LayoutDashes(int32_t style, int32_t width, int32_t length)
{
    DashLayout out;
    const LineWidthMeasures m = MeasureLineWidth(width);
    const double u = std::max(m.a, 1);
    const double g = u * m.factor;
    const double d = style == kLineLongDashes ? 2 * g : style == kLineShortDashes ? g : double(width);
    const int32_t n = TruncToInt32((length + g) / (d + g) + 0.5);
    out.dash = TruncToInt32(d);
    if (n <= 0 || length <= 0)
        return out;
    out.count = n;
    if (n >= 2) {
        const double s = double(length - d) / (n - 1) - d;
        out.step = TruncToInt32(d + s);
    }
    return out;
}

void DrawFrameBorder(Dc* dc, const LineRecord& line, int32_t borderFlag)
{
    if (!dc || line.lineWidth <= 0 || line.lineStyle < 1 || line.lineStyle > 9)
        return;
    const LineBand band = LineBandOf(line, borderFlag);
    if (line.lineStyle >= kLineLongDashes)
        DrawDashes(dc, band, line.lineStyle);
    else
        DrawStripes(dc, band, line.lineStyle);
    if (borderFlag)
        return;
    DrawCap(dc, line, band, kBorderPartRightCap, line.rightCap & 15);
    DrawCap(dc, line, band, kBorderPartLeftCap, line.leftCap & 15);
}
