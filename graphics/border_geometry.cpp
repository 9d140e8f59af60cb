#include "graphics/border_geometry.h"

#include "foundation/int_math.h"
#include "graphics/rotation.h"

namespace {

double WidthFactor(int32_t w)
{
    if (w <= 1)
        return 8;
    if (w == 2)
        return 6;
    if (w == 3)
        return 4;
    if (w <= 20)
        return 2;
    return 1.5;
}

// The cap at one end of the band: `edge` is the band's end, `tip` the
// line's end point, `dir` +1 for the right cap and -1 for the mirrored left
// one.
int32_t CapOutline(int32_t cap, const LineBand& band, int32_t edge, int32_t tip, int32_t dir, IntPoint* p)
{
    const int32_t w = band.m.width;
    const int32_t A = band.m.arrow;
    const int32_t T = band.top;
    const int32_t B = band.bottom;
    const int32_t y = band.lineY;
    auto at = [&](int32_t x, int32_t yy) { return IntPoint{x, yy}; };
    switch (cap) {
    case kCapRound:
    case kCapRoundLarge: {
        const int32_t r = cap == kCapRound ? w / 2 : w;
        p[0] = at(edge, T);
        p[1] = at(edge - dir * r, y - r + 1);
        p[2] = at(edge + dir * (r - 1), y - r + 1);
        p[3] = at(edge + dir * (r - 1), y + r);
        p[4] = at(edge - dir * r, y + r);
        p[5] = at(edge, B);
        return 6;
    }
    case kCapArrow:
    case kCapArrowSwept: {
        const int32_t barb = cap == kCapArrow ? edge : edge - dir * (A / 3);
        p[0] = at(edge, T);
        p[1] = at(barb, T - A / 2);
        p[2] = at(tip, y);
        p[3] = at(barb, B + A / 2);
        p[4] = at(edge, B);
        return 5;
    }
    case kCapArrowNotched:
    case kCapArrowSquare: {
        int n = 0;
        p[n++] = at(edge, T);
        p[n++] = at(edge + dir * (A / 3), T - A / 3);
        p[n++] = at(tip, T - A / 3);
        if (cap == kCapArrowNotched)
            p[n++] = at(tip - dir * (7 * A / 12), y);
        p[n++] = at(tip, B + A / 3);
        p[n++] = at(edge + dir * (A / 3), B + A / 3);
        p[n++] = at(edge, B);
        return n;
    }
    default:
        return 0;
    }
}

}  // namespace

LineWidthMeasures MeasureLineWidth(int32_t width)
{
    LineWidthMeasures m;
    m.width = width;
    if (width % 2 == 0) {
        m.a = width / 2;
        m.b = m.a - 1;
    } else {
        m.a = m.b = (width - 1) / 2;
        if (width == 1)
            m.a = 1;
    }
    m.factor = WidthFactor(width);
    m.arrow = TruncToInt32(width * m.factor);
    return m;
}

int32_t CapShortening(int32_t cap, const LineWidthMeasures& m)
{
    switch (cap) {
    case kCapRound:
        return m.b;
    case kCapArrow:
    case kCapArrowSwept:
        return 2 * m.arrow;
    case kCapArrowNotched:
    case kCapArrowSquare:
        return 5 * m.arrow / 3;
    case kCapRoundLarge:
        return 2 * m.a;
    default:
        return 0;
    }
}

LineBand LineBandOf(const LineRecord& line, int32_t borderFlag)
{
    LineBand band;
    band.m = MeasureLineWidth(line.lineWidth);
    band.start = line.start;
    // The silent form: a line of no length is drawn as its caps, without
    // the beep that asking for its direction would sound on every repaint.
    band.length =
        TruncToInt32(VectorAngleOfRect(IntRect{line.start.x, line.start.y, line.end.x, line.end.y}, &band.angle));
    band.lineY = line.start.y;
    const int32_t w = band.m.width;
    if (borderFlag) {
        band.x0 = line.start.x;
        band.x1 = Add32(line.start.x, band.length);
        band.top = line.start.y;
    } else {
        band.x0 = Add32(line.start.x, CapShortening(line.leftCap & 15, band.m));
        band.x1 = Sub32(Add32(line.start.x, band.length), CapShortening(line.rightCap & 15, band.m));
        band.top = Sub32(line.start.y, w / 2 - 1);
    }
    band.bottom = Add32(band.top, w);
    return band;
}

void BorderGeometry(const LineRecord& line, int32_t borderFlag, int32_t part, IntPoint* points, int32_t* count)
{
    *count = 0;
    if (line.lineWidth <= 0)
        return;
    const LineBand band = LineBandOf(line, borderFlag);
    if (part == kBorderPartBand) {
        points[0] = {band.x0, band.top};
        points[1] = {band.x1, band.top};
        points[2] = {band.x1, band.bottom};
        points[3] = {band.x0, band.bottom};
        *count = 4;
    } else if (part == kBorderPartRightCap) {
        *count = CapOutline(line.rightCap & 15, band, band.x1, Add32(band.start.x, band.length), 1, points);
    } else if (part == kBorderPartLeftCap) {
        *count = CapOutline(line.leftCap & 15, band, band.x0, band.start.x, -1, points);
    }
}
