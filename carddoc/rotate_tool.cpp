#include "carddoc/rotate_tool.h"

#include <memory>
#include <new>

#include "foundation/keys.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "graphics/beep.h"
#include "graphics/placement.h"
#include "platform/dc.h"

namespace {

constexpr uint16_t kRotateMode = 3;
constexpr int32_t kSimpleBeep = 16;

}  // namespace

void RotateTool::Activate(FrameTool* previous, int16_t kind)
{
    SelectionTool::Activate(previous, kind);
    // The Object tool's Activate may have picked up a frame another tool
    // made; the rotate tool starts from the Object tool's selection only.
    DeselectAll(true);
    savedCount_ = 0;
    savedGroupCount_ = 0;
    if (auto* object = dynamic_cast<SelectionTool*>(previous); object && previous->GetKind() == kToolObject) {
        for (int16_t i = 0; i < object->SavedSelCount(); ++i)
            SelectWithGroup(object->SavedFrame(i), false);
        InvalidateSelection(false);
    }
}

int32_t RotateTool::MouseDown(const IntPoint& viewPoint)
{
    const bool shift = IsKeyDown(kVkShift) != 0;
    if (count_ == 0 || shift) {
        if (shift)
            DeselectAll(true);
        CurrPageMng* pages = document_->PageManager();
        if (FrameObj* hit = pages ? pages->FrameAtPoint(viewPoint, 0) : nullptr) {
            SelectWithGroup(hit, false);
            InvalidateSelection(false);
        }
    }
    std::unique_ptr<CTracker> tracker(CreateTracker(kRotateMode));
    if (!tracker) {
        PlayBeep(kSimpleBeep);
    } else {
        tracker->Track(viewPoint);
        if (tracker->ChangeFlags() == kTrackScrolled)
            RefreshView();
        else if (tracker->ChangeFlags() == kTrackMoved)
            RedrawPage(0, 0);
        if (tracker->Moved())
            SaveUndo(kUndoRotateFrame);
    }
    PublishGraphicAttrs();
    return 0;
}

CTracker* RotateTool::CreateTracker(int16_t mode)
{
    if (count_ == 0 || IsSelectionFixed(true))
        return nullptr;
    previewShown_ = false;
    return new (std::nothrow) CRotateTracker(document_->CardView(), this, this, uint16_t(mode), 1);
}

int32_t RotateTool::GetCursor(const IntPoint& /*viewPoint*/) { return kCursorRotated; }

void RotateTool::RotateSelectionAbout(const IntPoint& point, double angle, int16_t mode, uint8_t /*flag*/)
{
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->RotateAbout(angle, point, mode);
    for (int16_t i = 0; i < groupCount_; ++i)
        groups_[i]->RotateAbout(angle, point, mode);
    PlacementRotateAbout(&bounds_, angle, point);
}

void RotateTool::RotateSelectionStep(double a, double /*b*/, uint8_t flag)
{
    IntRect page;
    GetPageRect(&page);
    const IntPoint centre{bounds_.x + bounds_.width / 2, bounds_.y + bounds_.height / 2};
    for (int16_t i = 0; i < count_; ++i) {
        double angle = a;
        selected_[i]->FitRotation(&angle, centre, page, 0);
        selected_[i]->RotateAbout(angle, centre, flag ? 0 : 2);
    }
}

void RotateTool::DrawPreview()
{
    TrackerView* view = document_->CardView();
    Dc* dc = view ? view->GetViewDC() : nullptr;
    if (!dc)
        return;
    const Pen pen = dc->selectPen(Pen{PS_SOLID, 1, kBlack});
    const int32_t rop = dc->setRop2(R2_NOTXORPEN);
    for (int16_t i = 0; i < count_; ++i) {
        FramePlacement p = selected_[i]->Geometry();
        PlacementRotateAbout(&p, previewAngle_, previewCentre_);
        CornerQuad q;
        PlacementToCornerQuad(p, &q);
        selected_[i]->DocToViewQuad(&q);
        IntPoint ring[5] = {q.corners[0], q.corners[1], q.corners[2], q.corners[3], q.corners[0]};
        dc->polyline(ring, 5);
    }
    dc->setRop2(rop);
    dc->selectPen(pen);
}

void RotateTool::PreviewRotation(double angle, const IntPoint& centre)
{
    if (previewShown_)
        DrawPreview();
    previewAngle_ = angle;
    previewCentre_ = centre;
    DrawPreview();
    previewShown_ = true;
}

void RotateTool::CommitRotation()
{
    if (!previewShown_)
        return;
    DrawPreview();
    previewShown_ = false;
    ClearChangedMarks();
    RotateSelectionAbout(previewCentre_, previewAngle_, 0, 1);
    if (CurrPageMng* pages = document_->PageManager())
        pages->InvalidateChanged(kInvalidateVacated);
    // Handles drawn at the old places go with a full repaint.
    RefreshView();
}
