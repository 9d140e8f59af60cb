// The root's outline regions, text-wrap points and drawing passes.
//
// Every pass keeps the context's raster operation, brush, pen and colours
// as it found them (the ghost fill excepted, which leaves NOT-XOR behind
// on purpose). Regions are kept in logical view units and go to the device
// through the context's own mapping.
#include <algorithm>
#include <cmath>

#include "frames/curr_page_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_scratch_dc.h"
#include "frames/frame_shape_outline.h"
#include "frames/frame_view_services.h"
#include "frames/wrap_point_list.h"
#include "graphics/brush_state.h"
#include "graphics/corner_quad.h"
#include "graphics/fill_patterns.h"
#include "graphics/pen_state.h"
#include "graphics/placement.h"
#include "graphics/rect_ops.h"
#include "graphics/rop_state.h"

namespace {

// The dots of the edge of a frame turned by 30 to 60 degrees (give or take
// quarter turns). A checkerboard's pixels along a diagonal are all of one
// colour, so such an edge would show whole or not at all; these alternate
// every two pixels along rows, columns and both diagonals alike.
constexpr MonoPattern kTurnedEdgeDots{{0x33, 0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33, 0xCC}};

}  // namespace

Dc* ScratchDc()
{
    // Outline paths need a context even where no view is at hand (a frame
    // recomputed while no page is shown); paths do not depend on a surface.
    static Dc* const scratch = Dc::ForMeasuring().release();
    return scratch;
}

void FrameObj::RegionToDevice(Dc* dc, Region* rgn) const
{
    if (!dc)
        return;
    const IntPoint o = DeviceOrigin(dc);
    rgn->offset(o.x, o.y);
}

void FrameObj::RegionToLogical(Dc* dc, Region* rgn) const
{
    if (!dc)
        return;
    const IntPoint o = DeviceOrigin(dc);
    rgn->offset(-o.x, -o.y);
}

// ---- polygons and paths ----

std::vector<IntPoint> FrameObj::QuadPolygon(const CornerQuad& q) const
{
    return {q.corners[0], q.corners[1], q.corners[2], q.corners[3], q.corners[0]};
}

std::vector<IntPoint> FrameObj::GeometryPolygon(const FrameGeometry& g) const
{
    CornerQuad q;
    PlacementCorners(g, &q);
    return QuadPolygon(q);
}

std::vector<IntPoint> FrameObj::RectPolygon(const IntRect& r) const
{
    return {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
}

void FrameObj::PathQuad(Dc* dc, const CornerQuad& q)
{
    dc->moveTo(q.corners[0].x, q.corners[0].y);
    for (int i = 1; i <= 4; ++i)
        dc->lineTo(q.corners[i % 4].x, q.corners[i % 4].y);
}

void FrameObj::PathRect(Dc* dc, const IntRect& r)
{
    const std::vector<IntPoint> pts = RectPolygon(r);
    dc->moveTo(pts[0].x, pts[0].y);
    for (size_t i = 1; i < pts.size(); ++i)
        dc->lineTo(pts[i].x, pts[i].y);
}

void FrameObj::PathGeometry(Dc* dc, const FrameGeometry& g)
{
    CornerQuad q;
    PlacementCorners(g, &q);
    PathQuad(dc, q);
}

// ---- outline regions ----

std::optional<Region> FrameObj::MakeOutlineRegion(Dc* dc, uint8_t view)
{
    const FrameGeometry& source = view ? viewGeometry_ : block_.attr.geometry;
    return TracedRegion(dc, [&](Dc* d) {
        if (source.angle == 0) {
            IntRect r;
            PlacementToRect(source, &r);
            PathRect(d, r);
        } else {
            FrameGeometry g = source;
            g.lineStyle = 1;
            g.sides = kAllSides;
            PathGeometry(d, g);
        }
    });
}

bool FrameObj::BuildOutlineRegion(Dc* dc, Region* rgn, uint8_t view)
{
    std::optional<Region> made = MakeOutlineRegion(dc, view);
    *rgn = made ? *made : Region();
    return made.has_value();
}

void FrameObj::GetOutlineRegion(Dc* dc, Region* out)
{
    if (!regionValid_) {
        if (std::optional<Region> made = MakeOutlineRegion(dc, 1)) {
            outlineRegion_ = *made;
            regionValid_ = 1;
        }
    }
    *out = outlineRegion_;
}

std::optional<Region> FrameObj::InnerRegion(Dc*, const FrameGeometry& g)
{
    FrameGeometry inner = g;
    PlacementInsetSides(&inner, inner.lineWidth, inner.sides);
    if (inner.angle == 0) {
        IntRect r;
        PlacementToRect(inner, &r);
        return Region::FromRect(r);
    }
    CornerQuad q;
    PlacementCorners(inner, &q);
    return Region::FromPolygon(q.corners, 4, ALTERNATE);
}

void FrameObj::InnerViewRegion(Dc* dc, Region* out)
{
    std::optional<Region> made = InnerRegion(dc, viewGeometry_);
    *out = made ? *made : Region();
}

void FrameObj::GetInnerRect(IntRect* out) const
{
    IntRect r = viewRect_;
    int32_t w = viewGeometry_.lineWidth;
    const int32_t width = r.right - r.left;
    const int32_t height = r.bottom - r.top;
    if (2 * w > width + 1)
        w = width / 2;
    if (2 * w > height + 1)
        w = height / 2;
    const uint8_t sides = viewGeometry_.sides;
    if ((sides & 0x0F) == 0x0F) {
        RectInset(&r, w, w);
    } else {
        if (sides & kSideTop)
            r.top += w;
        if (sides & kSideRight)
            r.right -= w;
        if (sides & kSideBottom)
            r.bottom -= w;
        if (sides & kSideLeft)
            r.left += w;
    }
    *out = r;
}

// ---- text wrap ----

bool FrameObj::AddOutlinePoints(Dc* dc, WrapPointList* list, int32_t limit)
{
    if (block_.outlineKind == 1)
        return AddRectPoints(dc, list, limit);
    if (block_.outlineKind == 2)
        return AddRotatedPoints(dc, list, limit);
    return list->Count() > 0;
}

namespace {

// Top-left, top-right, top-right, bottom-right, bottom-right, bottom-left,
// bottom-left, top-left: the four edges as point pairs.
void AddEdgePairs(WrapPointList* list, const IntPoint c[4])
{
    for (int i = 0; i < 4; ++i) {
        list->Add(c[i]);
        list->Add(c[(i + 1) % 4]);
    }
}

}  // namespace

bool FrameObj::AddRectPoints(Dc*, WrapPointList* list, int32_t limit)
{
    if (!list->HasRoom(8, limit))
        return false;
    IntRect r;
    GetBounds(&r, 0, kGeometryCurrent);
    RectInset(&r, -block_.outlineInset, -block_.outlineInset);
    const IntPoint c[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    AddEdgePairs(list, c);
    return list->Count() > 0;
}

bool FrameObj::AddRotatedPoints(Dc*, WrapPointList* list, int32_t limit)
{
    if (!list->HasRoom(8, limit))
        return false;
    CornerQuad q;
    PlacementCorners(block_.attr.geometry, &q);
    CornerQuadInset(&q, -block_.outlineInset, -block_.outlineInset);
    AddEdgePairs(list, q.corners);
    return list->Count() > 0;
}

// ---- drawing ----

void FrameObj::DrawClipped(Dc* dc, uint8_t clip)
{
    if (!dc || !drawingEnabled_ || !block_.attr.shown)
        return;
    if (outputShift_ && !block_.attr.printable)
        return;
    clipWanted_ = clip;
    std::optional<Region> saved;
    const bool clipped = clip && !outputShift_;
    if (clipped)
        GetClipRegion(dc, &saved);
    DrawFill(dc);
    DrawContentPass(dc);
    DrawBorder(dc);
    DrawFrameEdge(dc, lastEdgeState_, 0, 0);
    if (clipped)
        dc->selectClipRgn(saved ? &*saved : nullptr);
}

void FrameObj::Draw(Dc* dc)
{
    DrawFill(dc);
    DrawContentPass(dc);
    DrawBorder(dc);
}

bool FrameObj::GetClipRegion(Dc* dc, std::optional<Region>* saved)
{
    *saved = dc->hasClip() ? std::optional<Region>(dc->clipRegion()) : std::nullopt;
    Region visible;
    CurrPageMng* manager = document_ ? document_->PageManager() : nullptr;
    if (!manager || !manager->VisibleRegionOf(this, &visible))
        GetOutlineRegion(dc, &visible);
    if (*saved) {
        Region had = **saved;
        RegionToLogical(dc, &had);
        visible.combine(visible, had, RGN_AND);
    }
    RegionToDevice(dc, &visible);
    dc->selectClipRgn(&visible);
    return true;
}

void FrameObj::DrawFill(Dc* dc)
{
    const FrameAttributes& a = block_.attr;
    BrushState brush(dc);
    if (ghost_) {
        dc->setRop2(GhostRop(R2_COPYPEN));
        dc->selectBrush(Brush::Hollow());
        brush.Set(Tint(a.fillColour, a.fillTint), kWhite, a.fillPattern, BrushState::kSetText | BrushState::kSetBackground);
        FillShape(dc, 0);
        return;
    }
    RopState rop(dc);
    if (a.background != kNoBackground) {
        rop.Set(R2_COPYPEN);
        if (outputShift_) {
            brush.SetSolid(kWhite);
            FillShape(dc, 1);
        }
        brush.SetSolid(Tint(a.background, 100));
        FillShape(dc, 1);
    }
    if (a.background != a.fillColour && a.fillPattern != kFillHollow) {
        ColorRef patternBackground = kWhite;
        if (a.background == kNoBackground) {
            rop.Set(outputShift_ && outputMode_ == kOutputPostScript ? R2_COPYPEN : R2_MASKPEN);
        } else {
            rop.Set(R2_COPYPEN);
            patternBackground = Tint(a.background, 100);
        }
        // A pattern that cannot be made paints nothing.
        dc->selectBrush(Brush::Hollow());
        brush.Set(Tint(a.fillColour, a.fillTint), patternBackground, a.fillPattern,
                  BrushState::kSetText | BrushState::kSetBackground);
        FillShape(dc, 0);
    }
}

void FrameObj::DrawBorder(Dc* dc) { BorderPass(dc); }

void FrameObj::BorderPass(Dc* dc)
{
    const FrameAttributes& a = block_.attr;
    if (a.borderPattern == kFillHollow && a.background == kNoBackground)
        return;
    BrushState brush(dc);
    PenState pen(dc);
    RopState rop(dc);
    rop.Set(GhostRop(a.background != kNoBackground ? R2_COPYPEN : R2_MASKPEN));

    int16_t num = 1, den = 1;
    GetZoom(&num, &den);
    const bool boost = !outputShift_ && document_ && document_->ShowGuides() && viewGeometry_.lineWidth == 1 &&
                       den != 0 && int32_t(num) * 100 / den > 50;
    if (boost)
        viewGeometry_.lineWidth += 1;

    if (a.background != kNoBackground || ghost_) {
        const int16_t style = viewGeometry_.lineStyle;
        viewGeometry_.lineStyle = 1;
        brush.SetSolid(kWhite);
        pen.SetPen(kWhite, 1, PenState::kSetColour | PenState::kSetWidth);
        StrokeBorder(dc, viewGeometry_.lineWidth);
        viewGeometry_.lineStyle = style;
    }
    const ColorRef colour = Tint(a.borderColour, a.borderTint);
    dc->selectBrush(Brush::Hollow());
    brush.Set(colour, kWhite, a.borderPattern, BrushState::kSetText | BrushState::kSetBackground);
    pen.SetPen(colour, 1, PenState::kSetColour | PenState::kSetWidth);
    StrokeBorder(dc, viewGeometry_.lineWidth);

    if (boost)
        viewGeometry_.lineWidth -= 1;
}

void FrameObj::DrawContentPass(Dc* dc)
{
    const FrameAttributes& a = block_.attr;
    BrushState brush(dc);
    RopState rop(dc);
    rop.Set(GhostRop(R2_COPYPEN));
    brush.Set(Tint(uint8_t(a.textColour), uint8_t(a.textTint)), kWhite, a.textPattern, BrushState::kSetText);
    DrawContent(dc);
}

void FrameObj::DrawContent(Dc*) {}

void FrameObj::DrawHandlesPass(Dc* dc, uint8_t onlyWhenEnabled)
{
    if ((onlyWhenEnabled && !drawingEnabled_) || outputShift_ || !block_.selected || !block_.selectable ||
        IdCount() > 0)
        return;
    BrushState brush(dc);
    RopState rop(dc);
    if (HandlesRestricted())
        brush.Set(kBlack, kWhite, 0, BrushState::kSetText | BrushState::kSetBackground | BrushState::kSparsePattern);
    else
        brush.SetSolid(kBlack);
    rop.Set(R2_NOTXORPEN);
    DrawHandles(dc);
}

void FrameObj::DrawHandles(Dc* dc)
{
    for (int16_t n = 1; n <= block_.handleCount; ++n) {
        IntPoint p;
        GetHandlePoint(&p, n);
        IntRect r;
        GetHandleRect(p.x, p.y, &r);
        dc->paintRgn(Region::FromRect(r));
    }
}

void FrameObj::StrokeBorder(Dc* dc, int16_t width)
{
    if (width <= 0)
        return;
    dc->frameRgn(Region::FromRect(viewRect_), dc->brush(), width, width);
}

void FrameObj::FillShape(Dc* dc, uint8_t)
{
    if (viewGeometry_.angle == 0) {
        IntRect r;
        GetInnerRect(&r);
        dc->paintRgn(Region::FromRect(r));
        return;
    }
    Region inner;
    InnerViewRegion(dc, &inner);
    dc->paintRgn(inner);
}

void FrameObj::DrawDragOutline(Dc* dc)
{
    FrameGeometry copy = dragGeometry_;
    int16_t num = 1, den = 1;
    GetZoom(&num, &den);
    PlacementScale(&copy, num, den);
    copy.lineStyle = 1;
    RopState rop(dc);
    rop.Set(R2_NOTXORPEN);
    StrokeOutline(dc, copy);
}

void FrameObj::StrokeOutline(Dc* dc, const FrameGeometry& g)
{
    IntRect r;
    BoundsOfGeometry(g, &r);
    dc->frameRgn(Region::FromRect(r), dc->brush(), 1, 1);
}

void FrameObj::FrameOutline(Dc* dc)
{
    Region rgn;
    GetOutlineRegion(dc, &rgn);
    dc->frameRgn(rgn, dc->brush(), 1, 1);
}

void FrameObj::DrawFrameEdge(Dc* dc, uint8_t selected, uint8_t erase, uint8_t clip)
{
    if (outputShift_ || !block_.attr.shown)
        return;
    if (block_.residence == 1 && (!document_ || document_->PageSetByte() == 0))
        return;
    const bool edge = (document_ && document_->ShowGuides()) || selected;
    std::optional<Region> saved;
    if (clip)
        GetClipRegion(dc, &saved);
    const FrameAttributes& a = block_.attr;
    {
        BrushState brush(dc);
        RopState rop(dc);
        if (erase && !edge) {
            rop.Set(R2_COPYPEN);
            if (a.background != kNoBackground) {
                brush.SetSolid(Tint(a.background, 100));
                FrameOutline(dc);
            }
            rop.Set(GhostRop(R2_MERGEPEN));
            dc->selectBrush(Brush::Hollow());
            brush.Set(Tint(a.fillColour, a.fillTint), kWhite, a.fillPattern,
                      BrushState::kSetText | BrushState::kSetBackground);
            FrameOutline(dc);
            if (a.geometry.lineWidth != 0) {
                BorderPass(dc);
            } else if (FrameView* view = View()) {
                const std::vector<IntPoint> inner = QuadPolygon(viewCorners_);
                CornerQuad grown = viewCorners_;
                CornerQuadInset(&grown, -4, -4);
                const std::vector<IntPoint> outer = QuadPolygon(grown);
                Region ring = Region::FromPolygon(outer.data(), int(outer.size()), ALTERNATE);
                ring.combine(ring, Region::FromPolygon(inner.data(), int(inner.size()), ALTERNATE), RGN_DIFF);
                RegionToDevice(dc, &ring);
                view->InvalidateRgn(ring, true);
            }
        }
        rop.Set(R2_COPYPEN);
        if (selected)
            brush.SetSolid(kBlack);
        else
            brush.Set(kBlack, kWhite, 0,
                      BrushState::kSetText | BrushState::kSetBackground | BrushState::kCheckerboardPattern);
        if (!selected && std::fabs(std::fmod(std::fabs(viewGeometry_.angle), 90.0f) - 45.0f) < 15.0f)
            dc->selectBrush(Brush::Pattern(kTurnedEdgeDots));
        if (edge)
            FrameOutline(dc);
    }
    lastEdgeState_ = selected;
    if (clip)
        dc->selectClipRgn(saved ? &*saved : nullptr);
}

bool FrameObj::ClearRedraw(int32_t, int32_t, int32_t)
{
    redrawPending_ = 0;
    return true;
}
