#include "frames/frame_obj_round_rect.h"

#include "frames/frame_shape_outline.h"
#include "graphics/pen_state.h"
#include "graphics/placement.h"
#include "graphics/round_rect_shape.h"
#include "graphics/shape_helpers.h"

void FrameObjRoundRect::PathRect(Dc* dc, const IntRect& r)
{
    FrameGeometry g = HairlineCopy(viewGeometry_);
    RectToPlacement(r, &g);
    const Brush brush = dc->selectBrush(Brush::Hollow());
    RoundRectPath(dc, g, 0, true);
    dc->selectBrush(brush);
}

void FrameObjRoundRect::PathGeometry(Dc* dc, const FrameGeometry& g) { RoundRectPath(dc, HairlineCopy(g), 0, true); }

std::optional<Region> FrameObjRoundRect::InnerRegion(Dc* dc, const FrameGeometry& g)
{
    FrameGeometry copy = g;
    if (copy.lineWidth > 4)
        copy.lineWidth = int16_t(copy.lineWidth - 1);
    copy.lineStyle = 1;
    return TracedRegion(dc, [&](Dc* d) { RoundRectPath(d, copy, copy.lineWidth, true); });
}

void FrameObjRoundRect::StrokeBorder(Dc* dc, int16_t width)
{
    FrameGeometry copy = viewGeometry_;
    copy.lineWidth = width;
    DrawRoundRectShape(dc, copy);
}

void FrameObjRoundRect::FillShape(Dc* dc, uint8_t solid)
{
    if (viewGeometry_.angle != 0) {
        FrameObj::FillShape(dc, solid);
        return;
    }
    IntRect inner;
    GetInnerRect(&inner);
    const int32_t r = std::max(HalfShorterSide(inner) - viewGeometry_.lineWidth, 0);
    PenState pen(dc);
    pen.SetPen(kBlack, 0, PenState::kNullPen);
    const int32_t mode = dc->setBkMode(TRANSPARENT);
    dc->roundRect(inner.left, inner.top, inner.right, inner.bottom, r, r);
    dc->setBkMode(mode);
}

void FrameObjRoundRect::StrokeOutline(Dc* dc, const FrameGeometry& g)
{
    const FrameGeometry copy = HairlineCopy(g);
    if (copy.angle == 0)
        DrawRoundRectShape(dc, copy);
    else
        RoundRectPath(dc, copy, 0, true);
}

bool FrameObjRoundRect::AddRotatedPoints(Dc* dc, WrapPointList* list, int32_t limit)
{
    FrameGeometry g = HairlineCopy(block_.attr.geometry);
    GrowPlacement(&g, block_.outlineInset);
    return AddSampledOutline(dc, list, limit, [&](Dc* d) { RoundRectPath(d, g, 0, true); });
}
