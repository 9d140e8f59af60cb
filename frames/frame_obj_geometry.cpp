// The root's geometry and interaction: bounds, corners, handles and hits,
// moving, turning, dragging, the output shift, alignment and auto-size, and
// the unit conversions through the zoom.
#include <algorithm>
#include <cmath>

#include "foundation/int_math.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_obj.h"
#include "frames/frame_view_services.h"
#include "graphics/corner_quad.h"
#include "graphics/placement.h"
#include "graphics/rect_ops.h"
#include "graphics/rotation.h"

namespace {

int32_t Scale(int32_t v, int32_t num, int32_t den) { return den == 0 ? v : ScaleTrunc(v, num, den); }

int16_t ClampToInt16(int32_t v) { return int16_t(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); }

bool PtInRect(const IntRect& r, const IntPoint& p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

// ---- services ----

FrameView* FrameObj::View() const { return document_ ? document_->View() : nullptr; }

Dc* FrameObj::ViewDc() const
{
    FrameView* view = View();
    return view ? view->GetViewDC() : nullptr;
}

ColorRef FrameObj::Tint(uint8_t index, uint8_t percent) const
{
    return document_ ? document_->GetTint(index, percent) : kBlack;
}

bool FrameObj::HandlesRestricted() const
{
    return block_.attr.locked || block_.pinned || block_.undeletable;
}

bool FrameObj::IsTransparent() const
{
    const int16_t type = GetType();
    return block_.attr.background == kNoBackground || type == kFrameLine || type == kFrameArc;
}

bool FrameObj::IsOpaque() const
{
    const int16_t type = GetType();
    return block_.attr.background != kNoBackground && type != kFrameLine && type != kFrameArc && drawingEnabled_ &&
           block_.attr.shown;
}

const FrameGeometry& FrameObj::GeometryOf(int16_t which) const
{
    return which == kGeometrySaved ? saved_.geometry : which == kGeometryDrag ? dragGeometry_ : block_.attr.geometry;
}

// ---- zoom and units ----

void FrameObj::GetZoom(int16_t* numerator, int16_t* denominator) const
{
    int16_t mode = 0;
    *numerator = 1;
    *denominator = 1;
    if (!document_)
        return;
    if (CurrPageMng* manager = document_->PageManager())
        manager->GetZoom(numerator, denominator, &mode);
    else
        document_->GetPageZoom(&mode, numerator, denominator);
}

int32_t FrameObj::DocToViewLength(int32_t length) const
{
    int16_t num = 1, den = 1;
    GetZoom(&num, &den);
    return Scale(length, num, den);
}

double FrameObj::DocToViewLengthF(double length) const
{
    int16_t num = 1, den = 1;
    GetZoom(&num, &den);
    return den == 0 ? length : length * num / den;
}

void FrameObj::DocToViewPoint(IntPoint* p) const
{
    int16_t num = 1, den = 1;
    GetZoom(&num, &den);
    p->x = Scale(p->x, num, den);
    p->y = Scale(p->y, num, den);
}

void FrameObj::ViewToDocPoint(IntPoint* p) const
{
    int16_t num = 1, den = 1;
    GetZoom(&num, &den);
    p->x = Scale(p->x, den, num);
    p->y = Scale(p->y, den, num);
}

void FrameObj::DocToViewRect(IntRect* r) const
{
    IntPoint a{r->left, r->top}, b{r->right, r->bottom};
    DocToViewPoint(&a);
    DocToViewPoint(&b);
    *r = IntRect{a.x, a.y, b.x, b.y};
}

void FrameObj::ViewToDocRect(IntRect* r) const
{
    IntPoint a{r->left, r->top}, b{r->right, r->bottom};
    ViewToDocPoint(&a);
    ViewToDocPoint(&b);
    *r = IntRect{a.x, a.y, b.x, b.y};
}

void FrameObj::DocToViewQuad(CornerQuad* q) const
{
    for (IntPoint& c : q->corners)
        DocToViewPoint(&c);
}

void FrameObj::ViewToDocQuad(CornerQuad* q) const
{
    for (IntPoint& c : q->corners)
        ViewToDocPoint(&c);
}

// ---- bounds and corners ----

void FrameObj::BoundsOfGeometry(const FrameGeometry& g, IntRect* out) const { PlacementRotatedBounds(g, out); }

void FrameObj::GetCorners(CornerQuad* out, uint8_t toView, uint8_t saved) const
{
    PlacementCorners(saved ? saved_.geometry : block_.attr.geometry, out);
    if (toView)
        DocToViewQuad(out);
    out->angle = block_.attr.geometry.angle;
}

void FrameObj::GetBounds(IntRect* out, uint8_t toView, int16_t which) const
{
    BoundsOfGeometry(GeometryOf(which), out);
    if (toView)
        DocToViewRect(out);
}

// ---- hits and handles ----

bool FrameObj::HitTest(const IntPoint& viewPoint)
{
    if (!block_.selectable)
        return false;
    if (block_.attr.geometry.angle == 0)
        return PtInRect(viewRect_, viewPoint);
    Region rgn;
    GetOutlineRegion(ViewDc(), &rgn);
    return rgn.contains(viewPoint.x, viewPoint.y);
}

void FrameObj::GetHandlePoint(IntPoint* out, int16_t n) const { CornerQuadHandlePoint(viewCorners_, n, out); }

void FrameObj::GetHandleRect(int32_t x, int32_t y, IntRect* out) const { *out = IntRect{x - 2, y - 2, x + 2, y + 2}; }

int16_t FrameObj::HitHandle(const IntPoint& viewPoint) const
{
    if (block_.attr.locked || !block_.selectable || !block_.resizable || IdCount() > 0 || block_.pinned)
        return 0;
    for (int16_t n = 1; n <= block_.handleCount; ++n) {
        IntPoint p;
        GetHandlePoint(&p, n);
        IntRect r;
        GetHandleRect(p.x, p.y, &r);
        RectInset(&r, -2, -2);
        if (PtInRect(r, viewPoint))
            return n;
    }
    return 0;
}

FrameTracker* FrameObj::CreateTracker(FrameView* view, int16_t mode)
{
    if (block_.attr.locked || block_.pinned || !view)
        return nullptr;
    return view->NewTracker(TrackerKind::kObject, this, mode);
}

void FrameObj::EditInfo(int32_t)
{
    if (document_)
        document_->DoObjectInfo();
}

// ---- moving and turning ----

void FrameObj::ClampMove(IntPoint* offset, const IntRect& limit, int16_t which, uint8_t force)
{
    IntRect bounds;
    GetBounds(&bounds, 0, which == kGeometrySaved || which == kGeometryDrag ? which : int16_t(kGeometryCurrent));
    ClampOffsetToBounds(offset, bounds, limit);
    if (!force && block_.attr.locked && !block_.pinned)
        *offset = IntPoint{};
}

void FrameObj::RotateAbout(double angle, const IntPoint& centre, int16_t mode)
{
    if (block_.attr.locked || !IsRotatable() || (block_.pinned && !outputShift_))
        return;
    if (mode == 0) {
        MarkChanged(1, 1);
        PlacementRotateAbout(&block_.attr.geometry, angle, centre);
        ClearAutoSize(false);
        Recompute(0);
    } else if (mode == 2) {
        PlacementRotateAbout(&dragGeometry_, angle, centre);
    }
}

void FrameObj::FitRotation(double* angle, const IntPoint& centre, const IntRect& limit, int16_t mode)
{
    int32_t a = TruncToInt32(*angle);
    if (block_.attr.locked || !IsRotatable() || block_.pinned) {
        *angle = 0;
        return;
    }
    const FrameGeometry& g = mode == 2 ? dragGeometry_ : block_.attr.geometry;
    // Always toward 0, whatever the present angle: the turn that fits is
    // never further than the one asked for, and the search ends there.
    const int32_t step = a > 0 ? -1 : 1;
    for (;;) {
        FrameGeometry copy = g;
        PlacementRotateAbout(&copy, a, centre);
        IntRect bounds;
        BoundsOfGeometry(copy, &bounds);
        if (RectInsideRect(bounds, limit) || a == 0)
            break;
        a += step;
    }
    *angle = a;
}

void FrameObj::BeginDrag(uint8_t mark)
{
    dragGeometry_ = block_.attr.geometry;
    if (mark)
        MarkChanged(1, 1);
    else
        dragGeometry_.sides = kAllSides;
}

void FrameObj::EndDrag(uint8_t commit)
{
    MarkChanged(1, commit);
    FrameGeometry& g = block_.attr.geometry;
    const uint8_t sides = g.sides;
    g = dragGeometry_;
    g.sides = sides;
    Recompute(commit ? 0 : 1);
}

int32_t FrameObj::ShiftForOutput(uint8_t on, uint8_t mode, int32_t dx, int32_t dy)
{
    outputShift_ = on;
    outputMode_ = mode;
    FrameGeometry& g = block_.attr.geometry;
    if (on) {
        g.x = Sub32(g.x, dx);
        g.y = Sub32(g.y, dy);
    } else {
        g.x = Add32(g.x, dx);
        g.y = Add32(g.y, dy);
    }
    Recompute(0);
    return 0;
}

void FrameObj::ApplyAlignOffset(int16_t mode, const IntPoint& offset)
{
    // Every call starts by forgetting the last offset, so mode 2 takes back
    // nothing; the page manager aligns from the present positions anyway.
    alignOffset_ = IntPoint{};
    if (block_.pinned)
        return;
    FrameGeometry& g = block_.attr.geometry;
    if (mode == 1) {
        MarkChanged(1, 1);
        g.x = Add32(g.x, offset.x);
        g.y = Add32(g.y, offset.y);
        Recompute(0);
        alignOffset_ = offset;
    } else if (mode == 2) {
        MarkChanged(1, 1);
        Recompute(0);
    }
}

void FrameObj::ValidateAnchors()
{
    const FrameAttributes& a = block_.attr;
    if (a.anchorH == 0 && a.anchorV == 0)
        return;
    if (CurrPageMng* manager = document_ ? document_->PageManager() : nullptr)
        manager->ClearAlignmentsTo(a.anchorH, a.anchorV);
}

void FrameObj::ApplyAutoSize(const IntRect& content)
{
    if (!block_.autoSize)
        return;
    FrameGeometry& g = block_.attr.geometry;
    AutoSizeBlock& b = block_.autoSizeBlock;
    g.x = Sub32(g.x, b.xShift);
    g.y = Sub32(g.y, b.yShift);
    g.width = ClampToInt16(g.width - b.widthChange);
    g.height = ClampToInt16(g.height - b.heightChange);

    const int32_t w = content.right - content.left + 1;
    const int32_t h = content.bottom - content.top + 1;
    IntPoint shift;
    if (b.anchor == 3)
        shift.x = g.width - w;
    else if (b.anchor == 2)
        shift.x = (g.width - w) / 2;
    if ((b.anchor == 2 || b.anchor == 3) && g.angle != 0)
        RotatePoint(&shift, 1, 0, 0, g.angle);
    b.xShift = shift.x;
    b.yShift = shift.y;
    b.widthChange = ClampToInt16(w - g.width);
    b.heightChange = ClampToInt16(h - g.height);

    g.width = ClampToInt16(g.width + b.widthChange);
    g.height = ClampToInt16(g.height + b.heightChange);
    g.x = Add32(g.x, b.xShift);
    g.y = Add32(g.y, b.yShift);
    modified_ = 1;
}
