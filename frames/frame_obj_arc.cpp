#include "frames/frame_obj_arc.h"

#include <algorithm>

#include "frames/frame_shape_outline.h"
#include "graphics/ellipse_shape.h"
#include "graphics/placement.h"
#include "graphics/rect_ops.h"

namespace {

// The whole ellipse of which the arc is the lower-right quarter (before
// turning), for the Bezier quarters.
FramePlacement WholeEllipse(const FramePlacement& p)
{
    FramePlacement e = p;
    e.x = p.x - p.width;
    e.y = p.y - p.height;
    e.width = int16_t(std::min<int32_t>(2 * p.width, INT16_MAX));
    e.height = int16_t(std::min<int32_t>(2 * p.height, INT16_MAX));
    return e;
}

void TraceQuarter(Dc* dc, const FramePlacement& p, int32_t direction, bool moveFirst)
{
    DrawEllipseBezier(dc, WholeEllipse(p), direction, kArcCentreTopLeft, p.x, p.y, moveFirst);
}

}  // namespace

void FrameObjArc::TraceArcBand(Dc* dc, const FramePlacement& p, int32_t thickness)
{
    const int32_t smaller = std::min<int32_t>(p.width, p.height);
    const int32_t t = std::min(thickness, smaller);
    TraceQuarter(dc, p, kEllipseClockwise, true);
    if (t >= smaller) {
        dc->lineTo(p.x, p.y);
        dc->closeFigure();
        return;
    }
    // The inner arc keeps the centre, so the band is as thick everywhere.
    FramePlacement inner = p;
    PlacementInset(&inner, t, t, kArcCentreTopLeft);
    TraceQuarter(dc, inner, kEllipseCounterClockwise, false);
    dc->closeFigure();
}

void FrameObjArc::SetFromRect(const IntRect& rect)
{
    const int32_t quadrant = RectDiagonalQuadrant(rect);
    FrameObj::SetFromRect(rect);
    FrameGeometry& g = block_.attr.geometry;
    g.length = float(quadrant);
    g.angle = float(quadrant * 90);
    const int16_t width = g.width, height = g.height;
    if (quadrant == 1 || quadrant == 2)
        g.y += height;
    if (quadrant == 2 || quadrant == 3)
        g.x += width;
    if (quadrant == 1 || quadrant == 3) {
        g.width = height;
        g.height = width;
    }
    Recompute(1);
}

Region FrameObjArc::MakeArcRegion()
{
    const int32_t thickness = viewGeometry_.lineWidth + 4;
    return TracedRegion(ViewDc(), [&](Dc* d) { TraceArcBand(d, viewGeometry_, thickness); }).value_or(Region());
}

void FrameObjArc::StrokeAtWidth(Dc* dc, int16_t viewWidth)
{
    FrameGeometry copy = viewGeometry_;
    copy.lineWidth = viewWidth;
    DrawEllipseShape(dc, copy, 0, kArcCentreTopLeft);
}

void FrameObjArc::StrokeOutline(Dc* dc, const FrameGeometry& g)
{
    CornerQuad q;
    PlacementCorners(g, &q);
    dc->moveTo(q.corners[0].x, q.corners[0].y);
    for (int i = 1; i <= 4; ++i)
        dc->lineTo(q.corners[i % 4].x, q.corners[i % 4].y);
}

bool FrameObjArc::AddRotatedPoints(Dc* dc, WrapPointList* list, int32_t limit)
{
    FrameGeometry g = block_.attr.geometry;
    const int32_t inset = block_.outlineInset;
    g.width = int16_t(std::min<int32_t>(g.width + inset, INT16_MAX));
    g.height = int16_t(std::min<int32_t>(g.height + inset, INT16_MAX));
    const int32_t thickness = g.lineWidth + 2 * inset;
    return AddSampledOutline(dc, list, limit, [&](Dc* d) { TraceArcBand(d, g, thickness); });
}
