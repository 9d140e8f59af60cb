#include "carddoc/rotate_tracker.h"

#include "carddoc/rotate_tool.h"
#include "graphics/brush_state.h"
#include "graphics/rotation.h"
#include "graphics/shape_helpers.h"
#include "platform/dc.h"

namespace {

constexpr int32_t kCentreMarkSize = 14;

}  // namespace

CRotateTracker::CRotateTracker(TrackerView* view, RotateTool* owner, uint16_t mode, uint8_t redrawOnlyOnMove)
    : CLineTracker(view, owner, mode, redrawOnlyOnMove), tool_(owner)
{
}

void CRotateTracker::DrawCentre(const IntPoint& at)
{
    if (!dc_)
        return;
    const Pen pen = dc_->selectPen(Pen{PS_SOLID, 1, kBlack});
    const Brush brush = dc_->selectBrush(Brush::Hollow());
    const int32_t rop = dc_->setRop2(R2_NOTXORPEN);
    DrawCenterMark(dc_, at.x, at.y, kCentreMarkSize);
    dc_->setRop2(rop);
    dc_->selectBrush(brush);
    dc_->selectPen(pen);
}

void CRotateTracker::Begin(IntPoint* start)
{
    centre_ = *start;
    DrawCentre(centre_);
}

void CRotateTracker::UpdateFeedback(IntPoint* point, const IntPoint& /*previous*/, const IntPoint& anchor,
                                    int16_t /*code*/, bool drawNew)
{
    DrawFeedback(anchor, *point);
    if (view_)
        if (FrameTool* owner = Owner())
            owner->Document()->SetViewCursor(kCursorArrow);
    if (!tool_)
        return;
    IntPoint centre = anchor;
    tool_->ViewToDocPoint(&centre);
    if (!drawNew) {
        if (previewShown_)
            tool_->DrawRotationPreview(angle_, centre);
        previewShown_ = false;
        return;
    }
    if (point->x == anchor.x && point->y == anchor.y)
        return;
    VectorAngleToPoint(anchor, *point, &angle_);
    tool_->DrawRotationPreview(angle_, centre);
    previewShown_ = true;
}

void CRotateTracker::Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor)
{
    CLineTracker::Finish(end, previous, anchor);
    IntPoint centre = anchor;
    if (tool_)
        tool_->ViewToDocPoint(&centre);
    if (previewShown_ && tool_)
        tool_->DrawRotationPreview(angle_, centre);
    previewShown_ = false;
    DrawCentre(centre_);
    if (FrameTool* owner = Owner())
        owner->Document()->SetViewCursor(kCursorRotated);
    if (tool_ && moved_)
        tool_->CommitRotation(angle_, centre);
}
