#include "frames/frame_obj_ellipse.h"

#include "frames/frame_shape_outline.h"
#include "graphics/ellipse_shape.h"
#include "graphics/placement.h"

namespace {

void TraceEllipse(Dc* dc, const FramePlacement& p)
{
    DrawEllipseBezier(dc, p, kEllipseClockwise, kArcNone, p.x, p.y, true);
}

}  // namespace

void FrameObjEllipse::PathRect(Dc* dc, const IntRect& r)
{
    FramePlacement p;
    p.x = r.left;
    p.y = r.top;
    p.width = int16_t(r.right - r.left);
    p.height = int16_t(r.bottom - r.top);
    TraceEllipse(dc, p);
}

void FrameObjEllipse::PathGeometry(Dc* dc, const FrameGeometry& g) { DrawEllipseShape(dc, HairlineCopy(g), 1, kArcNone); }

std::optional<Region> FrameObjEllipse::InnerRegion(Dc* dc, const FrameGeometry& g)
{
    FrameGeometry inner = g;
    PlacementInsetSides(&inner, inner.lineWidth, inner.sides);
    return TracedRegion(dc, [&](Dc* d) { TraceEllipse(d, inner); });
}

void FrameObjEllipse::StrokeBorder(Dc* dc, int16_t width)
{
    FrameGeometry copy = viewGeometry_;
    copy.lineWidth = width;
    DrawEllipseShape(dc, copy, 1, kArcNone);
}

void FrameObjEllipse::FillShape(Dc* dc, uint8_t)
{
    if (viewGeometry_.angle == 0) {
        IntRect inner;
        GetInnerRect(&inner);
        dc->paintRgn(Region::FromEllipse(inner));
        return;
    }
    Region inner;
    InnerViewRegion(dc, &inner);
    dc->paintRgn(inner);
}

void FrameObjEllipse::StrokeOutline(Dc* dc, const FrameGeometry& g) { DrawEllipseShape(dc, HairlineCopy(g), 1, kArcNone); }

bool FrameObjEllipse::AddRotatedPoints(Dc* dc, WrapPointList* list, int32_t limit)
{
    FrameGeometry g = block_.attr.geometry;
    GrowPlacement(&g, block_.outlineInset);
    return AddSampledOutline(dc, list, limit, [&](Dc* d) { TraceEllipse(d, g); });
}
