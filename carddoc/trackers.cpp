#include "carddoc/trackers.h"

#include <algorithm>
#include <cstdlib>

#include "graphics/corner_quad.h"
#include "graphics/ellipse_shape.h"
#include "graphics/placement.h"
#include "graphics/quad_resize.h"
#include "graphics/rotation.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_image.h"
#include "frames/frame_obj_line.h"
#include "platform/dc.h"

namespace {

bool Same(const IntPoint& a, const IntPoint& b) { return a.x == b.x && a.y == b.y; }

IntRect QuadBounds(const CornerQuad& q)
{
    IntRect r{q.corners[0].x, q.corners[0].y, q.corners[0].x, q.corners[0].y};
    for (const IntPoint& p : q.corners) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

// Saves the context's pen, brush and mix mode and sets up NOT-XOR drawing
// with a one-unit black pen and no fill.
class XorScope {
public:
    explicit XorScope(Dc* dc) : dc_(dc)
    {
        pen_ = dc_->selectPen(Pen{PS_SOLID, 1, kBlack});
        brush_ = dc_->selectBrush(Brush::Hollow());
        rop_ = dc_->setRop2(R2_NOTXORPEN);
    }
    ~XorScope()
    {
        dc_->setRop2(rop_);
        dc_->selectBrush(brush_);
        dc_->selectPen(pen_);
    }
    XorScope(const XorScope&) = delete;
    XorScope& operator=(const XorScope&) = delete;

private:
    Dc* dc_;
    Pen pen_;
    Brush brush_;
    int32_t rop_ = 0;
};

}  // namespace

// ---- CBarcodeTracker ----

void CBarcodeTracker::DrawFeedback(const IntPoint&, const IntPoint&) {}

void CBarcodeTracker::Finish(const IntPoint& end, const IntPoint&, const IntPoint&)
{
    result_ = IntRect{end.x, end.y, end.x + 5, end.y + 5};
}

// ---- CLineTracker ----

void CLineTracker::UpdateFeedback(IntPoint* point, const IntPoint&, const IntPoint& anchor, int16_t, bool)
{
    DrawFeedback(anchor, *point);
}

void CLineTracker::Finish(const IntPoint& end, const IntPoint&, const IntPoint& anchor)
{
    DrawFeedback(anchor, end);
    result_ = IntRect{anchor.x, anchor.y, end_.x, end_.y};
}

void CLineTracker::DrawFeedback(const IntPoint& from, const IntPoint& to)
{
    end_ = to;
    ConstrainLine(from, &end_);
    if (!dc_)
        return;
    XorScope scope(dc_);
    dc_->moveTo(from.x, from.y);
    dc_->lineTo(end_.x, end_.y);
}

void CLineTracker::ConstrainLine(const IntPoint& start, IntPoint* end)
{
    if (!shift_)
        return;
    const int32_t dx = end->x - start.x;
    const int32_t dy = end->y - start.y;
    if (std::abs(dy) > 2 * std::abs(dx)) {
        *end = IntPoint{start.x, start.y + dy};
    } else if (std::abs(dx) > 2 * std::abs(dy)) {
        *end = IntPoint{start.x + dx, start.y};
    } else {
        const int32_t d = std::max(std::abs(dx), std::abs(dy));
        *end = IntPoint{start.x + (dx > 0 ? d : -d), start.y + (dy > 0 ? d : -d)};
    }
    ClampToRect(end, limit_);
}

// ---- CDragTracker ----

CDragTracker::CDragTracker(TrackerView* view, FrameTool* owner, uint16_t mode, uint8_t redrawOnlyOnMove)
    : CTracker(view, owner, mode, redrawOnlyOnMove)
{
    SetAutoscroll(false);
}

void CDragTracker::Begin(IntPoint*) {}

void CDragTracker::UpdateFeedback(IntPoint* point, const IntPoint& previous, const IntPoint&, int16_t, bool drawNew)
{
    if (!drawNew || Same(*point, previous) || !view_)
        return;
    view_->ScrollByDelta(previous.x - point->x, previous.y - point->y);
    *point = previous;
}

void CDragTracker::AdjustPoint(int16_t, IntPoint*, const IntPoint&, const IntPoint&, int16_t, bool) {}

void CDragTracker::Finish(const IntPoint& end, const IntPoint&, const IntPoint& anchor)
{
    result_ = IntRect{anchor.x, anchor.y, end.x, end.y};
    changeFlags_ = kTrackScrolled;
}

// ---- CLineObjTracker ----

void CLineObjTracker::Begin(IntPoint* start)
{
    auto* line = dynamic_cast<FrameObjLine*>(frame_);
    if (!line)
        return;
    IntRect ends;
    line->GetEndPoints(&ends);
    fixed_ = handle_ == 2 ? IntPoint{ends.left, ends.top} : IntPoint{ends.right, ends.bottom};
    line->DocToViewPoint(&fixed_);
    const IntPoint press = *start;
    *start = fixed_;
    DrawFeedback(fixed_, press);
}

void CLineObjTracker::Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor)
{
    CLineTracker::Finish(end, previous, anchor);
    auto* line = dynamic_cast<FrameObjLine*>(frame_);
    if (!line || !moved_)
        return;
    IntRect ends;
    line->GetEndPoints(&ends);
    IntPoint moved = end_;
    line->ViewToDocPoint(&moved);
    if (handle_ == 1) {
        ends.left = moved.x;
        ends.top = moved.y;
    } else {
        ends.right = moved.x;
        ends.bottom = moved.y;
    }
    result_ = ends;
    line->SetFromRect(ends);
}

// ---- CObjTracker ----

CObjTracker::CObjTracker(TrackerView* view, FrameTool* owner, uint16_t mode, uint8_t redrawOnlyOnMove)
    : CTracker(view, owner, mode, redrawOnlyOnMove)
{
    SetRawMoveTest(true);
}

CornerQuad CObjTracker::ViewQuad(const CornerQuad& documentQuad) const
{
    CornerQuad q = documentQuad;
    if (frame_)
        frame_->DocToViewQuad(&q);
    return q;
}

void CObjTracker::Begin(IntPoint*)
{
    if (!frame_)
        return;
    frame_->GetCorners(&starting_, 0, 0);
    current_ = starting_;
    if (frame_->GetType() >= 1 && frame_->GetType() <= 6)
        shape_ = uint16_t(frame_->GetType());
    DrawOutline(ViewQuad(current_));
}

void CObjTracker::UpdateFeedback(IntPoint* point, const IntPoint&, const IntPoint& anchor, int16_t, bool drawNew)
{
    if (!frame_)
        return;
    if (drawNew) {
        IntPoint p = *point;
        frame_->ViewToDocPoint(&p);
        current_ = starting_;
        if (handle_ >= 1 && handle_ <= 8) {
            if (shift_) {
                CornerQuadMoveHandleProportional(&current_, handle_, p, starting_);
            } else {
                IntPoint at;
                CornerQuadHandlePoint(starting_, handle_, &at);
                CornerQuadMoveHandle(&current_, int16_t(p.x - at.x), int16_t(p.y - at.y), handle_, starting_, 0);
            }
        } else {
            // Without a handle the whole frame follows the pointer.
            IntPoint from = anchor;
            frame_->ViewToDocPoint(&from);
            for (IntPoint& c : current_.corners) {
                c.x += p.x - from.x;
                c.y += p.y - from.y;
            }
        }
    }
    DrawOutline(ViewQuad(current_));
}

bool CObjTracker::EndOutline()
{
    if (!frame_)
        return false;
    DrawOutline(ViewQuad(current_));
    result_ = QuadBounds(current_);
    return moved_;
}

void CObjTracker::Finish(const IntPoint&, const IntPoint&, const IntPoint&)
{
    if (!EndOutline())
        return;
    frame_->SetFromQuad(current_);
    if (frame_->GetType() == kFrameText && changeFlags_)
        frame_->Invalidate(1);
}

void CObjTracker::DrawOutline(const CornerQuad& q)
{
    if (!dc_)
        return;
    XorScope scope(dc_);
    FramePlacement placement;
    QuadToPlacement(q, &placement);
    PlacementBlock block;
    static_cast<FramePlacement&>(block) = placement;
    block.lineWidth = 1;
    block.lineStyle = 1;
    switch (shape_) {
    case kBandRoundRect:
    case kBandEllipse:
    case kBandArc:
        if (q.angle == 0.0f) {
            const IntRect r = QuadBounds(q);
            if (shape_ == kBandRoundRect) {
                const int32_t corner = std::min(r.right - r.left, r.bottom - r.top) / 2;
                dc_->roundRect(r.left, r.top, r.right, r.bottom, corner, corner);
            } else if (shape_ == kBandEllipse) {
                dc_->ellipse(r.left, r.top, r.right, r.bottom);
            } else {
                DrawEllipseShape(dc_, block, 0, 1);
            }
            break;
        }
        [[fallthrough]];
    default: {
        IntPoint corners[5] = {q.corners[0], q.corners[1], q.corners[2], q.corners[3], q.corners[0]};
        dc_->polyline(corners, 5);
        break;
    }
    }
}

// ---- CPictureTracker ----

CPictureTracker::CPictureTracker(TrackerView* view, FrameTool* owner, uint16_t mode, uint8_t redrawOnlyOnMove)
    : CObjTracker(view, owner, mode, redrawOnlyOnMove)
{
}

void CPictureTracker::UpdateFeedback(IntPoint* point, const IntPoint& previous, const IntPoint& anchor, int16_t code,
                                     bool drawNew)
{
    previousQuad_ = current_;
    CObjTracker::UpdateFeedback(point, previous, anchor, code, drawNew);
    if (drawNew && alt_) {
        const IntRect before = QuadBounds(previousQuad_);
        const IntRect after = QuadBounds(current_);
        widthChange_ = int16_t(widthChange_ + (after.right - after.left) - (before.right - before.left));
        heightChange_ = int16_t(heightChange_ + (after.bottom - after.top) - (before.bottom - before.top));
    }
}

void CPictureTracker::Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor)
{
    if (!EndOutline())
        return;
    auto* image = dynamic_cast<FrameObjImage*>(frame_);
    if (image) {
        const IntRect start = QuadBounds(starting_);
        const int32_t w = std::max(start.right - start.left, 1);
        const int32_t h = std::max(start.bottom - start.top, 1);
        image->AdjustScale(widthChange_ * 100 / w, heightChange_ * 100 / h);
        IntPoint shift{starting_.corners[0].x - current_.corners[0].x,
                       starting_.corners[0].y - current_.corners[0].y};
        RotatePoint(&shift, 1, 0, 0, -double(current_.angle));
        image->PanBy(shift.x, shift.y);
    }
    (void)end;
    (void)previous;
    (void)anchor;
    frame_->SetFromQuad(current_);
}

FrameTracker* MakeFrameTracker(TrackerView* view, TrackerKind kind, FrameObj* frame, int16_t mode)
{
    CTracker* tracker = nullptr;
    switch (kind) {
    case TrackerKind::kLine: tracker = new CLineObjTracker(view, nullptr, uint16_t(mode), 1); break;
    case TrackerKind::kPicture: tracker = new CPictureTracker(view, nullptr, uint16_t(mode), 1); break;
    default: tracker = new CObjTracker(view, nullptr, uint16_t(mode), 1); break;
    }
    tracker->SetFrame(frame);
    return tracker;
}
