#include "carddoc/selection_trackers.h"

#include <cstdlib>

#include "carddoc/selection_tool.h"
#include "foundation/keys.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "graphics/placement.h"
#include "graphics/rotation.h"
#include "graphics/shape_helpers.h"
#include "platform/dc.h"

namespace {

// How long the pointer must stay still after the press for the frames
// themselves to follow it.
constexpr int32_t kLiveDragHoldMs = 1000;

}  // namespace

// ---- CObjectTracker ----

CObjectTracker::CObjectTracker(TrackerView* view, SelectionTool* owner, uint16_t mode, uint8_t redrawOnlyOnMove)
    : CTracker(view, owner, mode, redrawOnlyOnMove), tool_(owner)
{
    SetRawMoveTest(true);
}

void CObjectTracker::Begin(IntPoint*)
{
    // Only a real drag can be held: without the button down there is none.
    if (!view_ || !view_->CaptureWidget() || !view_->IsLeftButtonDown())
        return;
    if (!WaitForHold(kLiveDragHoldMs))
        return;
    hold_ = 1;
    tool_->Document()->SetViewCursor(kCursorMove);
    if (CurrPageMng* pages = tool_->Document()->PageManager())
        pages->ResetFrameStates(1);
    tool_->ToggleHandles(false);
    tool_->ComputeSelectionBounds();
    view_->Refresh();
    view_->UpdateNow();
}

void CObjectTracker::Follow(const IntPoint& point, const IntPoint& anchor)
{
    IntPoint want{point.x - anchor.x, point.y - anchor.y};
    tool_->ViewToDocPoint(&want);
    IntPoint step{want.x - applied_.x, want.y - applied_.y};
    const int16_t mode = hold_ ? 0 : 2;
    tool_->ClampOffsetToPage(&step, mode, 0);
    tool_->MoveSelectionBy(step, mode, 0);
    applied_.x += step.x;
    applied_.y += step.y;
}

void CObjectTracker::UpdateFeedback(IntPoint* point, const IntPoint&, const IntPoint& anchor, int16_t, bool drawNew)
{
    tool_->Document()->SetViewCursor(kCursorMove);
    if (hold_) {
        if (!drawNew)
            return;
        Follow(*point, anchor);
        tool_->RecomputeSelection(false);
        tool_->MarkChangedAndRedraw(true, true);
        return;
    }
    if (!started_) {
        // The first pass that moves: the handles go and the outline shows.
        if (drawNew)
            return;
        started_ = true;
        tool_->ToggleHandles(false);
        tool_->BeginDrag(false);
        return;
    }
    if (drawNew)
        Follow(*point, anchor);
    tool_->DrawSelectionOutline(false);
}

void CObjectTracker::Finish(const IntPoint&, const IntPoint&, const IntPoint&)
{
    if (hold_) {
        changeFlags_ |= kTrackMoved;
    } else if (started_) {
        tool_->DrawSelectionOutline(false);
        tool_->EndDrag(true);
    }
    for (int16_t i = 0; i < tool_->GetSelCount(); ++i)
        tool_->GetSelFrame(i)->Invalidate(1);
    tool_->PublishGraphicAttrs();
}

void CObjectTracker::AdjustPoint(int16_t phase, IntPoint* point, const IntPoint& previous, const IntPoint&, int16_t,
                                 bool doNotSnap)
{
    if (phase == kPhaseEnd || doNotSnap || !view_ || !view_->SnapToGuides())
        return;
    // The selection's corners where the pointer would take them snap to
    // the guides; the smallest correction per axis moves the pointer.
    IntPoint delta{point->x - previous.x, point->y - previous.y};
    tool_->ViewToDocPoint(&delta);
    FrameGeometry g = tool_->SelectionBounds();
    g.x += delta.x;
    g.y += delta.y;
    int16_t n = 1, d = 1;
    tool_->GetZoom(&n, &d);
    PlacementScale(&g, n, d);
    CornerQuad q;
    PlacementCorners(g, &q);
    int32_t best[2] = {0, 0};
    for (const IntPoint& c : q.corners) {
        IntPoint snapped = c;
        view_->SnapPoint(c, &snapped);
        const int32_t dx = snapped.x - c.x;
        const int32_t dy = snapped.y - c.y;
        if (dx != 0 && (best[0] == 0 || std::abs(dx) <= std::abs(best[0])))
            best[0] = dx;
        if (dy != 0 && (best[1] == 0 || std::abs(dy) <= std::abs(best[1])))
            best[1] = dy;
    }
    point->x += best[0];
    point->y += best[1];
}

void CObjectTracker::ShowInRulers(const IntPoint& point, const IntPoint* second)
{
    if (!showInRulers_ || !view_)
        return;
    if (tool_->GetSelCount() == 0) {
        view_->ShowMouseInRulers(point, second);
        return;
    }
    const FrameGeometry& g = tool_->SelectionBounds();
    IntRect r{g.x, g.y, g.x + g.width, g.y + g.height};
    tool_->DocToViewRect(&r);
    view_->LPtoDPRect(&r);
    const IntPoint low{r.left, r.top};
    const IntPoint high{r.right, r.bottom};
    view_->ShowMouseInRulers(low, &high);
}

// ---- CRotateTracker ----

CRotateTracker::CRotateTracker(TrackerView* view, FrameTool* owner, RotationTarget* target, uint16_t mode,
                               uint8_t redrawOnlyOnMove)
    : CLineTracker(view, owner, mode, redrawOnlyOnMove), target_(target)
{
}

void CRotateTracker::DrawCentre(const IntPoint& centre)
{
    if (!dc_)
        return;
    const Pen pen = dc_->selectPen(Pen{PS_SOLID, 1, kBlack});
    const Brush brush = dc_->selectBrush(Brush::Hollow());
    const int32_t rop = dc_->setRop2(R2_NOTXORPEN);
    DrawCenterMark(dc_, centre.x, centre.y, kCenterMarkSize);
    dc_->setRop2(rop);
    dc_->selectBrush(brush);
    dc_->selectPen(pen);
}

void CRotateTracker::Begin(IntPoint* start)
{
    centre_ = *start;
    DrawCentre(centre_);
}

void CRotateTracker::UpdateFeedback(IntPoint* point, const IntPoint&, const IntPoint& anchor, int16_t, bool drawNew)
{
    DrawFeedback(anchor, *point);
    if (owner_)
        owner_->Document()->SetViewCursor(kCursorArrow);
    if (!drawNew || !target_)
        return;
    double angle = 0;
    // No turn is asked for while the pointer stands on the centre.
    if (point->x != anchor.x || point->y != anchor.y)
        VectorAngleToPoint(anchor, *point, &angle);
    angle_ = angle;
    IntPoint centre = anchor;
    if (owner_)
        owner_->ViewToDocPoint(&centre);
    target_->PreviewRotation(angle, centre);
}

void CRotateTracker::Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor)
{
    CLineTracker::Finish(end, previous, anchor);
    DrawCentre(centre_);
    if (owner_)
        owner_->Document()->SetViewCursor(kCursorRotateDone);
    if (target_)
        target_->CommitRotation();
}
