#include "graphics/shape_helpers.h"

#include <algorithm>
#include <cmath>

#include "foundation/int_math.h"
#include "graphics/rop_state.h"
#include "platform/dc.h"

bool FillPolygonRegion(Dc* dc, const IntPoint* points, int32_t count, bool frame)
{
    if (!dc || !points || count < 3)
        return false;
    const Region rgn = Region::FromPolygon(points, count, WINDING);
    if (frame && count >= 4 && points[0].x == points[3].x && points[0].y == points[3].y)
        return dc->frameRgn(rgn, dc->brush(), 1, 1);
    return dc->paintRgn(rgn);
}

bool FillEllipseRegion(Dc* dc, const Brush& brush, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (!dc)
        return false;
    return dc->fillRgn(Region::FromEllipse(IntRect{left, top, right, bottom}), brush);
}

int32_t HalfShorterSide(const IntRect& r)
{
    const int16_t w = int16_t(Sub32(r.right, r.left));
    const int16_t h = int16_t(Sub32(r.bottom, r.top));
    return std::min<int32_t>(w, h) >> 1;
}

void DrawXorLine(Dc* dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (!dc)
        return;
    IntPoint p[4] = {{x1, y1}, {x2, y2}, {x2, y2}, {x1, y1}};
    if (y1 == y2) {
        p[2].y = Add32(y2, 1);
        p[3].y = Add32(y1, 1);
    } else {
        p[2].x = Add32(x2, 1);
        p[3].x = Add32(x1, 1);
    }
    // Not-xor with black inverts every pixel (white would leave them all
    // as they are and show nothing).
    RopState rop(dc);
    rop.Set(R2_NOTXORPEN);
    dc->fillRgn(Region::FromPolygon(p, 4, WINDING), Brush::Solid(kBlack));
}

void DrawCenterMark(Dc* dc, int32_t x, int32_t y, int32_t size)
{
    if (!dc)
        return;
    const int32_t half = size / 2;
    const int32_t r = half - 2;
    dc->ellipse(x - r, y - r, x + r + 1, y + r + 1);
    dc->moveTo(x, y - (r + 2));
    dc->lineTo(x, y + half);
    dc->moveTo(x - (r + 2), y);
    dc->lineTo(x + half, y);
}

void DrawClosedPolyline(Dc* dc, const IntPoint* points, int32_t count)
{
    if (!dc || !points || count < 1)
        return;
    dc->moveTo(points[0].x, points[0].y);
    for (int32_t i = 1; i < count; ++i)
        dc->lineTo(points[i].x, points[i].y);
    dc->lineTo(points[0].x, points[0].y);
}

namespace {

struct BezierPoint {
    double x;
    double y;
};

BezierPoint Mid(BezierPoint a, BezierPoint b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

void Flatten(Dc* dc, const BezierPoint c[4], int depth)
{
    // Each halving shortens the pieces, so the depth bound only matters
    // for curves beyond the coordinate range.
    if (depth >= 40 || std::fabs(c[3].x - c[0].x) + std::fabs(c[3].y - c[0].y) < 5) {
        dc->lineTo(TruncToInt32(c[3].x), TruncToInt32(c[3].y));
        return;
    }
    const BezierPoint ab = Mid(c[0], c[1]), bc = Mid(c[1], c[2]), cd = Mid(c[2], c[3]);
    const BezierPoint abc = Mid(ab, bc), bcd = Mid(bc, cd);
    const BezierPoint m = Mid(abc, bcd);
    const BezierPoint first[4] = {c[0], ab, abc, m};
    const BezierPoint second[4] = {m, bcd, cd, c[3]};
    Flatten(dc, first, depth + 1);
    Flatten(dc, second, depth + 1);
}

}  // namespace

void DrawFlattenedBezier(Dc* dc, const IntPoint p[4])
{
    if (!dc)
        return;
    const BezierPoint c[4] = {{double(p[0].x), double(p[0].y)},
                              {double(p[1].x), double(p[1].y)},
                              {double(p[2].x), double(p[2].y)},
                              {double(p[3].x), double(p[3].y)}};
    Flatten(dc, c, 0);
}
