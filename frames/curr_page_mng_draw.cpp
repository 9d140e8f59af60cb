// The current-page manager's drawing side: which frames to draw again after
// a change, drawing the marked frames, the clip regions that keep a frame
// from painting over opaque frames above it, the output shift, the overlap
// list of the text layout and the record and counter refresh.
#include <algorithm>
#include <optional>

#include "frames/curr_page_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_scratch_dc.h"
#include "frames/frame_store.h"
#include "frames/frame_view_services.h"
#include "frames/record_header_format.h"
#include "frames/story_store.h"
#include "graphics/rect_ops.h"
#include "platform/dc.h"

namespace {

// The frames that overlap the text frame being laid out, for the whole
// program: the layout of one frame at a time reads it.
FrameObj* gOverlaps[CurrPageMng::kMaxOverlaps] = {};
int16_t gOverlapCount = 0;

// Whether the two have pixels in common, as RectIntersect finds; asked of
// every later frame for every text frame of every card, so without a call.
bool Meets(const IntRect& a, const IntRect& b)
{
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

IntRect Grown(const IntRect& r)
{
    IntRect g = r;
    RectInset(&g, -1, -1);
    return g;
}

bool IsLiveText(const FrameObj* frame)
{
    return frame->GetType() == kFrameText && frame->Block().drawnAsImage == 0;
}

}  // namespace

void CurrPageMng::RedrawCurrentPage(uint8_t eraseHandles, uint8_t defer, uint8_t merge)
{
    FrameView* view = document_ ? document_->View() : nullptr;
    Dc* dc = view ? view->GetViewDC() : nullptr;
    const int16_t modifier = merge ? kInvalidateMerge : 0;
    ResetFrameStates(0);
    InvalidateChanged(int16_t(modifier + kInvalidateOld));
    InvalidateChanged(int16_t(modifier + kInvalidateNew));
    ClearChanged();
    FrameStore* store = document_ ? document_->Frames() : nullptr;
    if (store && store->ReflowHeld(false)) {
        InvalidateChanged(kInvalidateArea);
        ClearChanged();
    }
    MarkModified();
    redrawRequested_ = 1;
    if (defer || !document_ || !document_->ImmediateRedraw() || !view)
        return;
    if (eraseHandles && dc) {
        view->NotifyViewChanged();
        for (int16_t i = 0; i < frameCount_; ++i)
            frames_[i]->DrawHandlesPass(dc, 1);
        for (int16_t i = 0; i < groupCount_; ++i)
            groups_[i]->DrawHandlesPass(dc, 1);
    }
    overlayEnabled_ = 0;
    view->UpdateNow();
    overlayEnabled_ = 1;
    view->NotifyViewChanged();
    if (dc)
        DrawHandlesOverlay(dc);
}

void CurrPageMng::InvalidateChanged(int16_t mode)
{
    const bool merge = (mode & kInvalidateMerge) != 0;
    const int16_t pass = int16_t(mode & ~kInvalidateMerge);
    FrameView* view = document_ ? document_->View() : nullptr;
    for (int16_t i = 0; i < frameCount_; ++i) {
        FrameObj* frame = frames_[i];
        if (!frame->IsChanged())
            continue;
        IntRect r;
        frame->GetBounds(&r, 1, pass == kInvalidateOld ? kGeometrySaved : kGeometryCurrent);
        int16_t frameMode = pass;
        if (merge) {
            IntRect other;
            frame->GetBounds(&other, 1, pass == kInvalidateOld ? kGeometryCurrent : kGeometrySaved);
            if (RectEqual(r, other))
                frameMode = kInvalidateArea;
        }
        r = Grown(r);
        if (view) {
            IntRect device = r;
            view->LPtoDPRect(&device);
            view->InvalidateRect(device, false);
        }
        PropagateRedraw(i, r, frameMode);
    }
}

void CurrPageMng::PropagateRedraw(int16_t index, const IntRect& viewRect, int16_t mode)
{
    FrameObj* frame = FrameAt(index);
    if (!frame)
        return;
    const bool immediate = document_ && document_->ImmediateRedraw();
    const bool noBackground = frame->Attributes().background == kNoBackground;
    auto textBelow = [&]() {
        for (int16_t j = 0; j < index; ++j) {
            FrameObj* below = frames_[j];
            if (!IsLiveText(below) || !Meets(below->ViewRect(), viewRect))
                continue;
            below->SetDrawState(kDrawNeeded);
            below->Invalidate(0);
            PropagateRedraw(j, Grown(below->ViewRect()), kInvalidateArea);
        }
    };
    switch (mode) {
    case kInvalidateArea: {
        if (FrameView* view = document_ ? document_->View() : nullptr) {
            IntRect device = viewRect;
            view->LPtoDPRect(&device);
            view->InvalidateRect(device, false);
        }
        MarkOverlapping(viewRect, index, 1, immediate ? 1 : 0);
        if (noBackground)
            MarkOverlapping(viewRect, index, 0, 0);
        break;
    }
    case kInvalidateOld:
    case kInvalidateVacated: {
        MarkOverlapping(viewRect, index, 1, immediate ? 1 : 0);
        const bool wraps = frame->Block().outlineKind != 0;
        for (int16_t j = 0; j < index; ++j) {
            FrameObj* below = frames_[j];
            if (!Meets(below->ViewRect(), viewRect))
                continue;
            below->SetDrawState(kDrawNeeded);
            if (wraps && IsLiveText(below)) {
                below->Invalidate(0);
                PropagateRedraw(j, Grown(below->ViewRect()), kInvalidateArea);
            }
        }
        break;
    }
    case kInvalidateNew: {
        MarkOverlapping(viewRect, index, 1, immediate ? 1 : 0);
        if (immediate ? noBackground : frame->IsTransparent())
            MarkOverlapping(viewRect, index, 0, 0);
        if (frame->Block().outlineKind != 0)
            textBelow();
        break;
    }
    default:
        break;
    }
}

void CurrPageMng::ReflowTextMeeting(const IntRect& viewRect)
{
    for (int16_t i = 0; i < frameCount_; ++i) {
        FrameObj* frame = frames_[i];
        if (!IsLiveText(frame) || !Meets(frame->ViewRect(), viewRect))
            continue;
        frame->SetDrawState(kDrawNeeded);
        frame->Invalidate(0);
    }
    // Flowed now: a plain refresh of the view follows some deletions.
    if (FrameStore* store = document_ ? document_->Frames() : nullptr)
        store->ReflowHeld(false);
}

void CurrPageMng::MarkOverlapping(const IntRect& rect, int16_t index, uint8_t above, uint8_t transparentOnly)
{
    const int16_t first = above ? int16_t(index + 1) : int16_t(0);
    const int16_t last = above ? frameCount_ : index;
    for (int16_t i = first < 0 ? int16_t(0) : first; i < last && i < frameCount_; ++i) {
        FrameObj* frame = frames_[i];
        if (transparentOnly && !frame->IsTransparent())
            continue;
        if (Meets(frame->ViewRect(), rect))
            frame->SetDrawState(kDrawNeeded);
    }
}

void CurrPageMng::InvalidateFrame(FrameObj* frame, uint8_t above)
{
    const int16_t index = frame ? IndexOfFrame(frame) : int16_t(-1);
    if (index >= 0)
        MarkOverlapping(Grown(frame->ViewRect()), index, above, 0);
}

void CurrPageMng::InvalidateOverlaps(FrameObj* frame, uint8_t above, uint8_t force)
{
    if (!frame || (frame->Block().outlineKind == 0 && !force))
        return;
    const int16_t index = IndexOfFrame(frame);
    if (index < 0)
        return;
    const IntRect r = frame->ViewRect();
    const int16_t first = above ? index : int16_t(0);
    const int16_t last = above ? frameCount_ : index;
    for (int16_t j = first; j < last; ++j) {
        FrameObj* other = frames_[j];
        if (!Meets(other->ViewRect(), r))
            continue;
        other->SetDrawState(kDrawNeeded);
        if (IsLiveText(other)) {
            other->Invalidate(0);
            PropagateRedraw(j, Grown(other->ViewRect()), kInvalidateArea);
        }
    }
}

void CurrPageMng::ClearChanged()
{
    for (int16_t i = 0; i < frameCount_; ++i)
        frames_[i]->MarkChanged(0, 0);
}

void CurrPageMng::MarkAllChanged()
{
    for (int16_t i = 0; i < frameCount_; ++i) {
        frames_[i]->MarkChanged(1, 0);
        frames_[i]->Invalidate(0);
    }
}

void CurrPageMng::ResetFrameStates(uint8_t value)
{
    for (int16_t i = 0; i < frameCount_; ++i) {
        FrameObj* frame = frames_[i];
        if (value != 0)
            frame->SetDrawState(value);
        else if (frame->DrawState() == kDrawDone)
            frame->SetDrawState(kDrawNothing);
    }
}

void CurrPageMng::RecalcAll()
{
    for (int16_t i = 0; i < frameCount_; ++i)
        frames_[i]->Recompute(1);
    for (int16_t i = 0; i < groupCount_; ++i)
        groups_[i]->Recompute(1);
}

void CurrPageMng::OffsetAll(const IntPoint& delta, uint8_t mode)
{
    for (int16_t i = 0; i < frameCount_; ++i) {
        frames_[i]->OffsetBy(delta, mode, 0);
        frames_[i]->Recompute(0);
    }
}

void CurrPageMng::DrawAll(Dc* dc, uint8_t full)
{
    redrawRequested_ = 0;
    for (int16_t i = 0; i < frameCount_; ++i) {
        if (frames_[i]->DrawState() != kDrawNothing)
            frames_[i]->DrawClipped(dc, full);
    }
    DrawHandlesOverlay(dc);
}

void CurrPageMng::DrawAllFiltered(Dc* dc, uint8_t full, uint8_t backdropOnly)
{
    if (!backdropOnly)
        redrawRequested_ = 0;
    for (int16_t i = 0; i < frameCount_; ++i) {
        FrameObj* frame = frames_[i];
        if (frame->DrawState() == kDrawNothing || (frame->Block().backdrop != 0) != (backdropOnly != 0))
            continue;
        frame->DrawClipped(dc, full);
    }
    if (!backdropOnly)
        DrawHandlesOverlay(dc);
}

void CurrPageMng::DrawAllFrames()
{
    FrameView* view = document_ ? document_->View() : nullptr;
    Dc* dc = view ? view->GetViewDC() : nullptr;
    if (!dc)
        return;
    for (int16_t i = 0; i < frameCount_; ++i)
        frames_[i]->DrawClipped(dc, 1);
}

void CurrPageMng::DrawHandlesOverlay(Dc* dc)
{
    if (!overlayEnabled_ || !dc)
        return;
    for (int16_t i = 0; i < frameCount_; ++i) {
        frames_[i]->DrawHandlesPass(dc, 1);
        frames_[i]->SetDrawState(kDrawDone);
    }
    for (int16_t i = 0; i < groupCount_; ++i) {
        groups_[i]->DrawHandlesPass(dc, 1);
        groups_[i]->SetDrawState(kDrawDone);
    }
}

bool CurrPageMng::VisibleRegionOf(FrameObj* frame, Region* region)
{
    if (!frame) {
        *region = Region();
        return false;
    }
    FrameView* view = document_ ? document_->View() : nullptr;
    Dc* dc = view ? view->GetViewDC() : nullptr;
    if (frame->GetType() == kFrameLine && view) {
        IntRect client;
        view->GetClientRectLogical(&client);
        *region = Region::FromRect(client);
    } else {
        frame->GetOutlineRegion(dc, region);
    }
    const int16_t index = IndexOfFrame(frame);
    if (index < 0)
        return true;
    for (int16_t i = int16_t(frameCount_ - 1); i > index; --i) {
        FrameObj* above = frames_[i];
        if (!above->IsOpaque())
            continue;
        Region cover;
        above->GetOutlineRegion(dc, &cover);
        region->combine(*region, cover, RGN_DIFF);
    }
    return true;
}

bool CurrPageMng::SubtractOpaqueFrames(std::optional<Region>* region, uint8_t skipBackdrop)
{
    FrameView* view = document_ ? document_->View() : nullptr;
    Dc* dc = view ? view->GetViewDC() : nullptr;
    if (!*region) {
        IntRect client;
        if (view)
            view->GetClientRectLogical(&client);
        *region = Region::FromRect(client);
    }
    for (int16_t i = 0; i < frameCount_; ++i) {
        FrameObj* frame = frames_[i];
        if (!frame->IsOpaque() || (skipBackdrop && frame->Block().backdrop))
            continue;
        Region cover;
        frame->GetOutlineRegion(dc, &cover);
        (*region)->combine(**region, cover, RGN_DIFF);
    }
    return true;
}

void CurrPageMng::BeginPageOutput(int16_t outputMode, int16_t pageNumber)
{
    uint16_t slot = 0;
    GetIndex(GetPIndex(pageNumber), &slot);
    const IntPoint origin = SlotOrigin(slot);
    savedZoom_ = zoom_;
    zoom_.numerator = 1;
    zoom_.denominator = 1;
    for (int16_t i = 0; i < frameCount_; ++i)
        frames_[i]->ShiftForOutput(1, uint8_t(outputMode), origin.x, origin.y);
}

void CurrPageMng::EndPageOutput(int16_t pageNumber)
{
    uint16_t slot = 0;
    GetIndex(GetPIndex(pageNumber), &slot);
    const IntPoint origin = SlotOrigin(slot);
    zoom_ = savedZoom_;
    for (int16_t i = 0; i < frameCount_; ++i)
        frames_[i]->ShiftForOutput(0, 0, origin.x, origin.y);
}

void CurrPageMng::CollectOverlaps(FrameObj* frame)
{
    gOverlapCount = 0;
    const int16_t index = frame ? IndexOfFrame(frame) : int16_t(-1);
    if (index < 0)
        return;
    // Measured on the page, not in pixels: at a small zoom a frame that
    // overlaps by a point or two rounds to merely touching, and the text
    // would flow there as if nothing lay over it.
    IntRect bounds;
    frame->GetBounds(&bounds, kGeometryCurrent);
    for (int16_t i = int16_t(index + 1); i < frameCount_ && gOverlapCount < kMaxOverlaps; ++i) {
        IntRect over;
        frames_[i]->GetBounds(&over, kGeometryCurrent);
        if (Meets(over, bounds))
            gOverlaps[gOverlapCount++] = frames_[i];
    }
}

int16_t CurrPageMng::GetOverlapCount() { return gOverlapCount; }

FrameObj* CurrPageMng::OverlapAt(int16_t index)
{
    return index >= 0 && index < gOverlapCount ? gOverlaps[index] : nullptr;
}

void CurrPageMng::RefreshRecordFrames()
{
    bool found = false;
    for (int16_t i = 0; i < frameCount_; ++i) {
        FrameObj* frame = frames_[i];
        const int16_t type = frame->GetType();
        const bool fed = type == kFrameText || type == kFrameBarcode || type == kFrameBarcode13 ||
                         type == kFrameFieldBarcode || type == kFrameBarcode18 || type == kFramePicture;
        if (!fed || !frame->Block().recordFed)
            continue;
        frame->MarkChanged(1, 0);
        frame->Invalidate(0);
        if (type != kFrameText)
            frame->Recompute(0);
        found = true;
    }
    if (!found || !document_)
        return;
    const bool modified = document_->IsModified();
    RedrawCurrentPage(1, 1, 1);
    document_->SetModified(modified);
}

void CurrPageMng::SetRecordFedAll(uint8_t on)
{
    for (int16_t i = 0; i < frameCount_; ++i)
        frames_[i]->SetRecordFed(on);
}

void CurrPageMng::SetCounterValue(int32_t value)
{
    for (int16_t i = 0; i < frameCount_; ++i) {
        FrameObj* frame = frames_[i];
        if (frame->GetType() != kFrameCounterBarcode)
            continue;
        frame->SetCounterValue(value);
        frame->MarkChanged(0, 0);
        frame->Recompute(0);
    }
}

void CurrPageMng::RelayoutTextFrames()
{
    FrameStore* store = document_ ? document_->Frames() : nullptr;
    StoryStore* stories = document_ ? document_->Stories() : nullptr;
    for (int16_t i = 0; i < frameCount_; ++i) {
        FrameObj* frame = frames_[i];
        if (frame->GetType() != kFrameText)
            continue;
        frame->Invalidate(0);
        if (stories && frame->Block().storyId > 0)
            stories->LoadData(uint16_t(frame->Block().storyId), kRecKeep);
        if (store)
            store->FlowFrame(frame->FrameId(), true);
    }
}
