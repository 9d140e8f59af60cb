#include "carddoc/rotate_tool.h"

#include <algorithm>
#include <memory>

#include "carddoc/rotate_tracker.h"
#include "foundation/byte_order.h"
#include "foundation/keys.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "graphics/beep.h"
#include "graphics/placement.h"
#include "platform/dc.h"

namespace {

constexpr uint16_t kRotateMode = 3;

SavedSelectionSource& Source()
{
    static SavedSelectionSource source;
    return source;
}

std::vector<FrameObj*> ObjectToolSelection(ToolDocument* document)
{
    if (Source())
        return Source()(document);
    std::vector<FrameObj*> frames;
    for (int16_t i = 0; i < document->SelectionCount(); ++i)
        if (FrameObj* f = document->SelectedFrame(i))
            frames.push_back(f);
    return frames;
}

void Union(IntRect* into, const IntRect& r, bool first)
{
    if (first) {
        *into = r;
        return;
    }
    into->left = std::min(into->left, r.left);
    into->top = std::min(into->top, r.top);
    into->right = std::max(into->right, r.right);
    into->bottom = std::max(into->bottom, r.bottom);
}

}  // namespace

SavedSelectionSource SetSavedSelectionSource(SavedSelectionSource source)
{
    SavedSelectionSource previous = std::move(Source());
    Source() = std::move(source);
    return previous;
}

void RotateTool::Activate(FrameTool* previous, int16_t kind)
{
    FrameTool::Activate(previous, kind);
    selected_.clear();
    groups_.clear();
    saved_.clear();
    if (previous && previous->GetKind() == kToolObject) {
        for (FrameObj* frame : ObjectToolSelection(document_))
            SelectWithGroup(frame);
        RedrawSelection();
    }
}

void RotateTool::Deactivate()
{
    saved_ = selected_;
    DeselectAll(true);
    FrameTool::Deactivate();
}

void RotateTool::PagesClosing()
{
    // The frames go with the pages: nothing of them may stay listed.
    selected_.clear();
    groups_.clear();
    saved_.clear();
    frame_ = nullptr;
}

void RotateTool::SelectWithGroup(FrameObj* frame)
{
    CurrPageMng* pages = document_->PageManager();
    if (!frame || !pages || !frame->Block().selectable)
        return;
    auto add = [this](FrameObj* f) {
        if (std::find(selected_.begin(), selected_.end(), f) == selected_.end()) {
            selected_.push_back(f);
            f->SetSelected(1);
        }
    };
    if (frame->IdCount() == 0) {
        add(frame);
    } else {
        // The frame turns with the whole of its outermost group.
        const uint32_t group = frame->GetId(-1);
        for (int16_t i = 0; i < pages->FrameCount(); ++i) {
            FrameObj* f = pages->FrameAt(i);
            if (f && f->IdCount() > 0 && f->GetId(-1) == group)
                add(f);
        }
        FrameObj* g = pages->FindGroupFrame(group);
        if (g && std::find(groups_.begin(), groups_.end(), g) == groups_.end())
            groups_.push_back(g);
    }
    ComputeBounds();
}

void RotateTool::DeselectAll(bool redraw)
{
    for (FrameObj* f : selected_)
        f->SetSelected(0);
    const bool had = !selected_.empty();
    selected_.clear();
    groups_.clear();
    if (redraw && had)
        RedrawSelection();
}

void RotateTool::RedrawSelection()
{
    if (CurrPageMng* pages = document_->PageManager())
        pages->ResetFrameStates(1);
    RefreshView();
}

void RotateTool::ComputeBounds()
{
    IntRect all{};
    bool first = true;
    for (FrameObj* f : selected_) {
        IntRect r;
        f->GetBounds(&r, 0, kGeometryCurrent);
        Union(&all, r, first);
        first = false;
    }
    bounds_ = FramePlacement{};
    bounds_.x = all.left;
    bounds_.y = all.top;
    bounds_.width = int16_t(all.right - all.left);
    bounds_.height = int16_t(all.bottom - all.top);
}

int32_t RotateTool::MouseDown(const IntPoint& viewPoint)
{
    const bool shift = IsKeyDown(kVkShift) != 0;
    if (selected_.empty() || shift) {
        if (shift)
            DeselectAll(true);
        CurrPageMng* pages = document_->PageManager();
        if (FrameObj* hit = pages ? pages->FrameAtPoint(viewPoint, 0) : nullptr)
            SelectWithGroup(hit);
        RedrawSelection();
    }
    std::unique_ptr<CTracker> tracker(CreateTracker(kRotateMode));
    if (!tracker) {
        PlayBeep(16);
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
    if (selected_.empty())
        return nullptr;
    for (FrameObj* f : selected_) {
        if (f->Attributes().locked || f->Block().pinned || !f->IsRotatable())
            return nullptr;
    }
    return new (std::nothrow) CRotateTracker(document_->CardView(), this, uint16_t(mode), 1);
}

int32_t RotateTool::GetCursor(const IntPoint& /*viewPoint*/) { return kCursorRotated; }

bool RotateTool::SaveUndo(int16_t action)
{
    if (selected_.empty()) {
        document_->SetUndoOwner(nullptr);
        return false;
    }
    ClearUndo();
    Handle h = HandleNew(uint32_t(4 * selected_.size()));
    if (!h)
        return false;
    for (size_t i = 0; i < selected_.size(); ++i)
        PutU32LE(HandleData(h) + 4 * i, selected_[i]->FrameId());
    undo_.saved = h;
    undo_.action = action;
    document_->SetUndoOwner(this);
    document_->UndoAvailable();
    return true;
}

void RotateTool::RotateSelectionAbout(const IntPoint& point, double angle, int16_t mode, uint8_t /*flag*/)
{
    for (FrameObj* f : selected_)
        f->RotateAbout(angle, point, mode);
    for (FrameObj* g : groups_)
        g->RotateAbout(angle, point, mode);
    PlacementRotateAbout(&bounds_, angle, point);
}

void RotateTool::RotateSelectionStep(double a, double /*b*/, uint8_t flag)
{
    IntRect page;
    GetPageRect(&page);
    IntPoint centre{bounds_.x + bounds_.width / 2, bounds_.y + bounds_.height / 2};
    for (FrameObj* f : selected_) {
        double angle = a;
        f->FitRotation(&angle, centre, page, 0);
        f->RotateAbout(angle, centre, flag ? 0 : 2);
    }
}

void RotateTool::DrawRotationPreview(double angle, const IntPoint& centre)
{
    TrackerView* view = document_->CardView();
    Dc* dc = view ? view->GetViewDC() : nullptr;
    if (!dc)
        return;
    const Pen pen = dc->selectPen(Pen{PS_SOLID, 1, kBlack});
    const int32_t rop = dc->setRop2(R2_NOTXORPEN);
    for (FrameObj* f : selected_) {
        FramePlacement p = f->Geometry();
        PlacementRotateAbout(&p, angle, centre);
        CornerQuad q;
        PlacementToCornerQuad(p, &q);
        f->DocToViewQuad(&q);
        IntPoint ring[5] = {q.corners[0], q.corners[1], q.corners[2], q.corners[3], q.corners[0]};
        dc->polyline(ring, 5);
    }
    dc->setRop2(rop);
    dc->selectPen(pen);
}

void RotateTool::CommitRotation(double angle, const IntPoint& centre)
{
    ClearChangedMarks();
    RotateSelectionAbout(centre, angle, 0, 1);
    if (CurrPageMng* pages = document_->PageManager())
        pages->InvalidateChanged(kInvalidateVacated);
}
