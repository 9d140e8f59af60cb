#include "graphics/rect_shape.h"

#include <cmath>

#include "foundation/int_math.h"
#include "graphics/border_stripes.h"
#include "graphics/frame_border.h"
#include "graphics/placement.h"
#include "graphics/rotation.h"
#include "graphics/shape_helpers.h"
#include "platform/dc.h"

namespace {

bool IsQuarterTurn(float angle) { return std::fmod(double(angle), 90.0) == 0.0; }

// The frame's corners top-left, top-right, bottom-right, bottom-left: the
// frame's own turned outline, the one its outline region and fill are made
// from, so that the border's outer edge lies on it and no clip to the frame
// shaves a stripe. Quarter turns are exact.
void FrameCorners(const FramePlacement& frame, IntPoint c[4])
{
    CornerQuad q;
    if (IsQuarterTurn(frame.angle))
        PlacementToCornerQuadAbout(frame, IntPoint{frame.x, frame.y}, &q);
    else
        PlacementCorners(frame, &q);
    for (int i = 0; i < 4; ++i)
        c[i] = q.corners[i];
}

// The offset (dx, dy) in the frame's own axes, turned with the frame and
// rounded to the nearest unit.
IntPoint TurnOffset(double angle, int32_t dx, int32_t dy)
{
    if (angle == 0)
        return {dx, dy};
    double s = std::sin(angle * kRadiansPerDegree);
    double c = std::cos(angle * kRadiansPerDegree);
    if (IsQuarterTurn(float(angle))) {
        s = std::round(s);
        c = std::round(c);
    }
    return {TruncToInt32(std::round(dx * c + dy * s)), TruncToInt32(std::round(dy * c - dx * s))};
}

// The corners of `ring`, a rectangle inside the frame in the frame's own
// unturned axes. Each corner is the frame's corner moved by the ring's
// insets turned with the frame: a stripe is then as thick as its inset on
// every side, whichever way the frame's corners were truncated, where
// turning each ring's corners on their own would leave a stripe a unit
// thinner on one side and thicker on the other.
void Corners(const FramePlacement& frame, const FramePlacement& ring, IntPoint c[4])
{
    FrameCorners(frame, c);
    const int32_t left = Sub32(ring.x, frame.x);
    const int32_t top = Sub32(ring.y, frame.y);
    const int32_t right = Sub32(Add32(frame.x, frame.width), Add32(ring.x, ring.width));
    const int32_t bottom = Sub32(Add32(frame.y, frame.height), Add32(ring.y, ring.height));
    const IntPoint insets[4] = {{left, top}, {-right, top}, {-right, -bottom}, {left, -bottom}};
    for (int i = 0; i < 4; ++i) {
        const IntPoint d = TurnOffset(frame.angle, insets[i].x, insets[i].y);
        c[i] = {Add32(c[i].x, d.x), Add32(c[i].y, d.y)};
    }
}

// The ring moved inward on the chosen sides, in the frame's unturned axes.
// The rotating inset is not the one for this: on a turned frame it keeps
// one or two units more so that a fill reaches under the border, and here
// those units would come off the border's right and bottom stripes.
FramePlacement RingInset(const FramePlacement& ring, int32_t n, uint8_t sides)
{
    FramePlacement inner = ring;
    PlacementInsetSidesPlain(&inner, n, sides);
    return inner;
}

void DrawSide(Dc* dc, const IntPoint c[4], int i, const PlacementBlock& b)
{
    LineRecord line;
    line.start = c[i];
    line.end = c[(i + 1) % 4];
    line.lineWidth = b.lineWidth;
    line.lineStyle = b.lineStyle;
    DrawFrameBorder(dc, line, 1);
}

void TracePath(Dc* dc, const IntPoint c[4], bool reverse)
{
    dc->moveTo(c[0].x, c[0].y);
    for (int k = 1; k < 4; ++k) {
        const IntPoint& p = c[reverse ? 4 - k : k];
        dc->lineTo(p.x, p.y);
    }
    dc->closeFigure();
}

// A closed ring from the outer quad inward by `thickness`.
void DrawClosedRing(Dc* dc, const FramePlacement& frame, const FramePlacement& outer, int32_t thickness,
                    uint8_t sides)
{
    if (thickness <= 0)
        return;
    IntPoint c[4];
    Corners(frame, outer, c);
    if (thickness == 1) {
        DrawClosedPolyline(dc, c, 4);
        return;
    }
    IntPoint ic[4];
    Corners(frame, RingInset(outer, thickness, sides), ic);
    const int32_t mode = dc->setBkMode(TRANSPARENT);
    dc->beginPath();
    TracePath(dc, c, false);
    TracePath(dc, ic, true);
    if (dc->endPath())
        dc->fillPath();
    else
        dc->abortPath();
    dc->setBkMode(mode);
}

// The start corner of the open ring of the sides present.
int OpenRingStart(uint8_t sides, int k)
{
    if (k == 2 && sides == (kSideRight | kSideBottom))
        return 1;
    int s = 0;
    if (!(sides & kSideTop))
        s = 1;
    if (!(sides & kSideRight))
        s = 2;
    if (!(sides & kSideBottom))
        s = 3;
    if (!(sides & kSideLeft))
        s = 0;
    return s;
}

// An open ring over k adjacent sides, from the outer placement inward by
// `thickness`, painted as one polygon.
void DrawOpenRing(Dc* dc, const FramePlacement& frame, const FramePlacement& outer, int32_t thickness,
                  uint8_t sides, int k)
{
    if (thickness <= 0)
        return;
    IntPoint oc[4], ic[4];
    Corners(frame, outer, oc);
    Corners(frame, RingInset(outer, thickness, sides), ic);
    const int s = OpenRingStart(sides, k);
    IntPoint p[8];
    int n = 0;
    for (int j = 0; j <= k; ++j)
        p[n++] = oc[(s + j) % 4];
    for (int j = k; j >= 0; --j)
        p[n++] = ic[(s + j) % 4];
    FillPolygonRegion(dc, p, n, false);
}

}  // namespace

void DrawRectShape(Dc* dc, const PlacementBlock& block)
{
    if (!dc || block.lineWidth == 0)
        return;
    IntPoint c[4];
    FrameCorners(block, c);

    const uint8_t sides = block.sides & 15;
    if (block.lineStyle >= kLineLongDashes && block.lineStyle <= kLineDots) {
        for (int i = 0; i < 4; ++i)
            if (sides & SideBitOfCorner(i))
                DrawSide(dc, c, i, block);
        return;
    }

    int k = 0;
    for (int i = 0; i < 4; ++i)
        k += (sides & SideBitOfCorner(i)) ? 1 : 0;
    if (k == 0)
        return;
    if (k == 1 || sides == (kSideTop | kSideBottom) || sides == (kSideLeft | kSideRight)) {
        for (int i = 0; i < 4; ++i)
            if (sides & SideBitOfCorner(i))
                DrawSide(dc, c, i, block);
        return;
    }

    StripeTable t;
    BorderStripeWidths(block.lineStyle, block.lineWidth, &t);
    FramePlacement ring = block;
    for (int i = 0; i < 5; i += 2) {
        if (t.s[i] < 0)
            break;
        if (i > 0) {
            if (t.s[i - 1] < 0)
                break;
            // From the outer edge to the start of this stripe.
            ring = RingInset(ring, t.s[i - 2] + t.s[i - 1], sides);
        }
        if (k == 4)
            DrawClosedRing(dc, block, ring, t.s[i], sides);
        else
            DrawOpenRing(dc, block, ring, t.s[i], sides, k);
    }
}
