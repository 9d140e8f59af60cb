#include "graphics/rect_shape.h"

#include "graphics/border_stripes.h"
#include "graphics/frame_border.h"
#include "graphics/placement.h"
#include "graphics/shape_helpers.h"
#include "platform/dc.h"

namespace {

// The corners top-left, top-right, bottom-right, bottom-left of a
// placement, the last three turned about the first. An inset placement
// has its origin moved along the turned frame's axes, so it too turns
// about its own corner. Quarter turns are exact by the rotation rule.
void Corners(const FramePlacement& p, IntPoint c[4])
{
    CornerQuad q;
    PlacementToCornerQuadAbout(p, IntPoint{p.x, p.y}, &q);
    for (int i = 0; i < 4; ++i)
        c[i] = q.corners[i];
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
void DrawClosedRing(Dc* dc, const FramePlacement& outer, int32_t thickness, uint8_t sides)
{
    if (thickness <= 0)
        return;
    IntPoint c[4];
    Corners(outer, c);
    if (thickness == 1) {
        DrawClosedPolyline(dc, c, 4);
        return;
    }
    FramePlacement inner = outer;
    PlacementInsetSides(&inner, thickness, sides);
    IntPoint ic[4];
    Corners(inner, ic);
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
void DrawOpenRing(Dc* dc, const FramePlacement& outer, int32_t thickness, uint8_t sides, int k)
{
    if (thickness <= 0)
        return;
    FramePlacement inner = outer;
    PlacementInsetSides(&inner, thickness, sides);
    IntPoint oc[4], ic[4];
    Corners(outer, oc);
    Corners(inner, ic);
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
    Corners(block, c);

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
            PlacementInsetSides(&ring, t.s[i - 2] + t.s[i - 1], sides);
        }
        if (k == 4)
            DrawClosedRing(dc, ring, t.s[i], sides);
        else
            DrawOpenRing(dc, ring, t.s[i], sides, k);
    }
}
