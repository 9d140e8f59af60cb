#include "carddoc/selection_tool.h"

#include <algorithm>
#include <memory>

#include "carddoc/labels_doc.h"
#include "carddoc/selection_trackers.h"
#include "carddoc/trackers.h"
#include "foundation/byte_order.h"
#include "foundation/keys.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_record_format.h"
#include "frames/frame_store.h"
#include "graphics/placement.h"
#include "graphics/rect_ops.h"
#include "platform/dc.h"
#include "platform/key_event.h"
#include "toolbase/tracker.h"

namespace {

// How close a press must come to a guide to take it away, and how long the
// pointer must then stay still.
constexpr int16_t kGuideDistance = 3;
constexpr int32_t kGuideHoldMs = 30;
// Handles reach this far beyond a frame's rectangle.
constexpr int32_t kHandleReach = 5;
constexpr int16_t kBigStep = 10;

// Bars the selection switches: the text bar's font lists and its alignment
// buttons.
constexpr int16_t kBarFonts = 131;
constexpr int16_t kBarAlignment = 134;

bool Touches(const IntRect& a, const IntRect& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace

SelectionTool* SelectionToolOf(ToolDocument* document)
{
    return document ? dynamic_cast<SelectionTool*>(document->ToolOfKind(kToolObject)) : nullptr;
}

void EncodeDeletionRecord(const DeletionRecord& r, uint8_t* out)
{
    PutU32LE(out, r.frameId);
    PutU16LE(out + 4, r.zOrder);
    PutU16LE(out + 6, r.type);
    out[8] = r.residence;
    PutU16LE(out + 9, r.previous);
    PutU16LE(out + 11, r.next);
}

DeletionRecord DecodeDeletionRecord(const uint8_t* in)
{
    DeletionRecord r;
    r.frameId = GetU32LE(in);
    r.zOrder = GetU16LE(in + 4);
    r.type = GetU16LE(in + 6);
    r.residence = in[8];
    r.previous = GetU16LE(in + 9);
    r.next = GetU16LE(in + 11);
    return r;
}

SelectionTool::SelectionTool(ToolDocument* document) : FrameTool(document)
{
    bounds_.lineWidth = 1;
    bounds_.lineStyle = 1;
    bounds_.sides = kAllSides;
}

SelectionTool::~SelectionTool()
{
    // The base destructor can no longer reach this class's ClearUndo, which
    // must destroy a frame kept for undo.
    if (document_ && document_->UndoOwner() == this)
        document_->SetUndoOwner(nullptr);
}

bool SelectionTool::BufferedDrawing() { return document_->ImmediateRedraw(); }

// ---- lifecycle ----

int16_t SelectionTool::GetFrameType()
{
    if (count_ == 0)
        return 0;
    const int16_t type = selected_[0]->GetType();
    for (int16_t i = 1; i < count_; ++i) {
        if (selected_[i]->GetType() != type)
            return 0;
    }
    return type;
}

void SelectionTool::Activate(FrameTool* previous, int16_t kind)
{
    FrameTool::Activate(previous, kind);
    count_ = savedCount_ = groupCount_ = 0;
    first_ = nullptr;
    if (!previous || previous == this)
        return;
    const int16_t from = previous->GetKind();
    if (from == kRotateToolKind) {
        if (auto* rotate = dynamic_cast<SelectionTool*>(previous)) {
            const int16_t n = std::min(rotate->savedCount_, kCapacity);
            for (int16_t i = 0; i < n; ++i)
                SelectWithGroup(rotate->selected_[i], false);
            InvalidateSelection(false);
        }
        return;
    }
    const bool makesFrames = (from >= 1 && from <= 10) || from == 14 || from == 15 || from >= 17;
    if (!makesFrames || previous->RememberedId() == 0)
        return;
    FrameStore* frames = document_->Frames();
    CurrPageMng* pages = document_->PageManager();
    FrameObj* made = frames ? frames->GetLoadedFrame(uint16_t(previous->RememberedId())) : nullptr;
    // Only a frame of the shown pages can be listed.
    if (made && pages && pages->IndexOfFrame(made) >= 0) {
        SelectWithGroup(made, true);
        InvalidateSelection(false);
    }
}

void SelectionTool::Deactivate()
{
    savedCount_ = count_;
    savedGroupCount_ = groupCount_;
    first_ = nullptr;
    DeselectAll(true);
    SetBarItemState(kBarFonts, false);
    SetBarItemState(kBarAlignment, false);
}

void SelectionTool::PagesClosing()
{
    Deactivate();
    savedCount_ = savedGroupCount_ = 0;
    first_ = nullptr;
}

// ---- the lists ----

bool SelectionTool::IsSelected(const FrameObj* frame) const
{
    return frame && std::find(selected_, selected_ + count_, frame) != selected_ + count_;
}

int16_t SelectionTool::CurrentIndex() const
{
    for (int16_t i = 0; i < count_; ++i) {
        if (selected_[i] == first_)
            return i;
    }
    return int16_t(count_ - 1);
}

void SelectionTool::SelectFrame(FrameObj* frame, bool toggle)
{
    CurrPageMng* pages = document_->PageManager();
    if (!frame || !frame->Block().selectable || !pages)
        return;
    const int16_t z = pages->IndexOfFrame(frame);
    if (z < 0)
        return;
    FrameObj** end = selected_ + count_;
    FrameObj** at = std::find(selected_, end, frame);
    if (at != end) {
        if (!toggle)
            return;
        frame->SetSelected(0);
        std::copy(at + 1, end, at);
        --count_;
    } else {
        int16_t pos = 0;
        while (pos < count_ && pages->IndexOfFrame(selected_[pos]) <= z)
            ++pos;
        if (count_ < kCapacity) {
            std::copy_backward(selected_ + pos, end, end + 1);
            selected_[pos] = frame;
            frame->SetSelected(1);
            ++count_;
            lastInsert_ = pos;
            if (count_ == 1)
                first_ = frame;
        }
    }
    if (toggle) {
        PublishGraphicAttrs();
        PublishTextAttrs();
    }
}

void SelectionTool::SelectGroup(FrameObj* group, bool toggle)
{
    CurrPageMng* pages = document_->PageManager();
    if (!group || !group->Block().selectable || !pages)
        return;
    const int16_t z = pages->IndexOfGroupFrame(group);
    if (z < 0)
        return;
    FrameObj** end = groups_ + groupCount_;
    FrameObj** at = std::find(groups_, end, group);
    if (at != end) {
        if (!toggle)
            return;
        group->SetSelected(0);
        std::copy(at + 1, end, at);
        --groupCount_;
        return;
    }
    int16_t pos = 0;
    while (pos < groupCount_ && pages->IndexOfGroupFrame(groups_[pos]) <= z)
        ++pos;
    if (groupCount_ >= kCapacity)
        return;
    std::copy_backward(groups_ + pos, end, end + 1);
    groups_[pos] = group;
    group->SetSelected(1);
    ++groupCount_;
}

void SelectionTool::SelectWithGroup(FrameObj* frame, bool toggle)
{
    CurrPageMng* pages = document_->PageManager();
    if (!frame || !pages)
        return;
    const uint32_t outer = frame->GetId(-1);
    if (outer == 0) {
        SelectFrame(frame, toggle);
        return;
    }
    SelectGroup(pages->FindGroupFrame(outer), toggle);
    for (int16_t i = 0; i < pages->FrameCount(); ++i) {
        FrameObj* member = pages->FrameAt(i);
        if (member->GetId(-1) == outer)
            SelectFrame(member, toggle);
    }
}

void SelectionTool::DeselectAll(bool redraw)
{
    if (redraw && count_ > 0) {
        ToggleHandles(false);
        TrackerView* view = document_->CardView();
        for (int16_t i = 0; i < count_ + groupCount_; ++i) {
            FrameObj* f = i < count_ ? selected_[i] : groups_[i - count_];
            if (!view)
                break;
            IntRect r = f->ViewRect();
            RectInset(&r, -kHandleReach, -kHandleReach);
            view->LPtoDPRect(&r);
            view->InvalidateRect(r, false);
        }
    }
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->SetSelected(0);
    for (int16_t i = 0; i < groupCount_; ++i)
        groups_[i]->SetSelected(0);
    count_ = 0;
    groupCount_ = 0;
}

// ---- drawing the selection ----

void SelectionTool::InvalidateSelection(bool buffered)
{
    if (count_ == 0 || (buffered && BufferedDrawing()))
        return;
    NotifyViewChanged();
    if (TrackerView* view = document_->CardView()) {
        for (int16_t i = 0; i < count_ + groupCount_; ++i) {
            FrameObj* f = i < count_ ? selected_[i] : groups_[i - count_];
            IntRect r = f->ViewRect();
            RectInset(&r, -kHandleReach, -kHandleReach);
            view->LPtoDPRect(&r);
            view->InvalidateRect(r, false);
        }
    }
    ToggleHandles(false);
}

void SelectionTool::ToggleHandles(bool buffered)
{
    if (count_ == 0 || (buffered && BufferedDrawing()))
        return;
    TrackerView* view = document_->CardView();
    Dc* dc = view ? view->GetViewDC() : nullptr;
    if (!dc)
        return;
    NotifyViewChanged();
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->DrawHandlesPass(dc, 1);
    for (int16_t i = 0; i < groupCount_; ++i)
        groups_[i]->DrawHandlesPass(dc, 1);
}

void SelectionTool::DrawSelectionOutline(bool full)
{
    TrackerView* view = document_->CardView();
    Dc* dc = view ? view->GetViewDC() : nullptr;
    if (!dc || count_ == 0)
        return;
    const int32_t rop = dc->rop2();
    if (full) {
        for (int16_t i = 0; i < count_; ++i)
            selected_[i]->Draw(dc);
    } else if (count_ > 1) {
        int16_t n = 1, d = 1;
        GetZoom(&n, &d);
        FrameGeometry g = bounds_;
        PlacementScale(&g, n, d);
        CornerQuad q;
        PlacementCorners(g, &q);
        const Pen old = dc->selectPen(Pen{PS_SOLID, 1, kBlack});
        dc->setRop2(R2_NOTXORPEN);
        IntPoint corners[5] = {q.corners[0], q.corners[1], q.corners[2], q.corners[3], q.corners[0]};
        dc->polyline(corners, 5);
        dc->selectPen(old);
    } else {
        selected_[0]->DrawDragOutline(dc);
    }
    dc->setRop2(rop);
}

// ---- hits ----

FrameObj* SelectionTool::HandleAt(const IntPoint& viewPoint, int16_t* handle)
{
    for (int16_t i = 0; i < count_; ++i) {
        if (const int16_t h = selected_[i]->HitHandle(viewPoint)) {
            *handle = h;
            return selected_[i];
        }
    }
    *handle = 0;
    return nullptr;
}

FrameObj* SelectionTool::SelectedFrameAt(const IntPoint& viewPoint)
{
    for (int16_t i = 0; i < count_; ++i) {
        if (selected_[i]->HitTest(viewPoint))
            return selected_[i];
    }
    return nullptr;
}

FrameObj* SelectionTool::FrameBelowSelection(const IntPoint& viewPoint)
{
    CurrPageMng* pages = document_->PageManager();
    if (!pages)
        return nullptr;
    int16_t depth = 0;
    for (;;) {
        FrameObj* f = pages->FrameAtPoint(viewPoint, depth);
        if (!f || !IsSelected(f))
            return f;
        depth = int16_t(pages->FrameCount() - pages->IndexOfFrame(f));
    }
}

bool SelectionTool::IsSelectionFixed(bool checkRotation)
{
    for (int16_t i = 0; i < count_; ++i) {
        const FrameObj* f = selected_[i];
        if (f->Attributes().locked || f->Block().pinned || (checkRotation && !f->IsRotatable()))
            return true;
    }
    return false;
}

// ---- moving ----

void SelectionTool::ComputeSelectionBounds()
{
    IntRect all{};
    for (int16_t i = 0; i < count_; ++i) {
        IntRect r;
        selected_[i]->GetBounds(&r, 0, kGeometryCurrent);
        if (i == 0)
            all = r;
        else
            RectUnion(all, r, &all);
    }
    RectToPlacement(all, &bounds_);
    bounds_.lineWidth = 1;
    bounds_.lineStyle = 1;
}

void SelectionTool::ShowSelection(bool on)
{
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->SetDrawingEnabled(on ? 1 : 0);
    for (int16_t i = 0; i < groupCount_; ++i)
        groups_[i]->SetDrawingEnabled(on ? 1 : 0);
}

void SelectionTool::ClampOffsetToPage(IntPoint* offset, int16_t mode, uint8_t force)
{
    // Frames stand in the coordinates of the whole page area (both page
    // slots and the margin around them), so that is the limit, not one
    // slot's size.
    IntRect page;
    if (auto* doc = dynamic_cast<CLabelsDoc*>(document_))
        doc->GetPageRect(&page);
    else
        GetPageRect(&page);
    const int16_t which = mode == 2 ? kGeometryDrag : kGeometryCurrent;
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->ClampMove(offset, page, which, force);
}

void SelectionTool::MoveSelectionBy(const IntPoint& offset, int16_t mode, uint8_t force)
{
    for (int16_t i = 0; i < count_; ++i) {
        selected_[i]->MoveBy(offset, mode, force);
        selected_[i]->ValidateAnchors();
    }
    for (int16_t i = 0; i < groupCount_; ++i)
        groups_[i]->MoveBy(offset, mode, force);
    bounds_.x += offset.x;
    bounds_.y += offset.y;
}

void SelectionTool::RecomputeSelection(bool withRegion)
{
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->Recompute(withRegion ? 1 : 0);
    for (int16_t i = 0; i < groupCount_; ++i)
        groups_[i]->Recompute(withRegion ? 1 : 0);
}

void SelectionTool::BeginDrag(bool mark)
{
    ComputeSelectionBounds();
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->BeginDrag(mark ? 1 : 0);
    for (int16_t i = 0; i < groupCount_; ++i)
        groups_[i]->BeginDrag(mark ? 1 : 0);
}

void SelectionTool::EndDrag(bool commit)
{
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->EndDrag(commit ? 1 : 0);
    for (int16_t i = 0; i < groupCount_; ++i)
        groups_[i]->EndDrag(commit ? 1 : 0);
    ComputeSelectionBounds();
}

void SelectionTool::SetSelectionDrawMode(uint8_t value)
{
    for (int16_t i = 0; i < count_; ++i)
        selected_[i]->SetGhost(value);
}

void SelectionTool::MarkChangedAndRedraw(bool mark, bool invalidate)
{
    for (int16_t i = 0; i < count_; ++i) {
        selected_[i]->MarkChanged(mark ? 1 : 0, 0);
        selected_[i]->Invalidate(invalidate ? 1 : 0);
    }
    RedrawPage(0, 0);
}

// ---- the mouse and the keys ----

CTracker* SelectionTool::CreateTracker(int16_t mode)
{
    TrackerView* view = document_->CardView();
    switch (mode) {
    case kTrackMove:
        if (IsSelectionFixed(false)) {
            document_->SetViewCursor(kCursorLocked);
            return nullptr;
        }
        return new CObjectTracker(view, this, uint16_t(kTrackMove), 1);
    case kTrackScroll: return new CDragTracker(view, this, uint16_t(kTrackScroll), 1);
    default: {
        auto* band = new CTracker(view, this, uint16_t(kTrackBand), 1);
        band->SetShape(kBandRect);
        return band;
    }
    }
}

int32_t SelectionTool::MouseDown(const IntPoint& viewPoint)
{
    CurrPageMng* pages = document_->PageManager();
    if (!pages)
        return 0;
    const bool shift = IsKeyDown(kVkShift) != 0;
    const bool control = IsKeyDown(kVkControl) != 0;
    const bool alt = IsKeyDown(kVkAlt) != 0;
    std::unique_ptr<CTracker> tracker;
    FrameObj* contentDrag = nullptr;
    int16_t handle = 0;

    // A frame's own resize tracker for one of its handles.
    auto resizeTracker = [&](FrameObj* frame) {
        std::unique_ptr<FrameTracker> made(frame->CreateTracker(document_->CardView(), kUndoResizeFrame));
        if (auto* t = dynamic_cast<CTracker*>(made.get())) {
            made.release();
            t->SetHandleIndex(uint16_t(handle));
            tracker.reset(t);
        }
    };

    if (GetClickState() == 2) {
        if (count_ == 1 && selected_[0]->GetType() == kFrameText) {
            if (auto* doc = dynamic_cast<CLabelsDoc*>(document_))
                doc->SetTool(kToolText, 0);
            else
                document_->SelectTool(kToolText);
            return 1;
        }
        if (count_ > 0)
            selected_[0]->EditInfo(0);
    } else if (control && alt) {
        tracker.reset(CreateTracker(kTrackScroll));
    } else if (shift) {
        if (FrameObj* f = HandleAt(viewPoint, &handle)) {
            ToggleHandles(false);
            resizeTracker(f);
        } else if (FrameObj* hit = pages->FrameAtPoint(viewPoint, 0)) {
            ToggleHandles(false);
            SelectWithGroup(hit, true);
            InvalidateSelection(false);
        }
    } else if (FrameObj* f = HandleAt(viewPoint, &handle)) {
        ToggleHandles(false);
        resizeTracker(f);
        document_->SetViewCursor(kCursorHandle);
    } else if (SelectedFrameAt(viewPoint)) {
        if (count_ == 1 && alt) {
            contentDrag = selected_[0];
        } else if (control) {
            if (FrameObj* below = FrameBelowSelection(viewPoint)) {
                ToggleHandles(false);
                SelectWithGroup(below, true);
                InvalidateSelection(false);
            }
            tracker.reset(CreateTracker(kTrackMove));
        } else {
            FrameObj* hit = pages->FrameAtPoint(viewPoint, 0);
            if (hit && !IsSelected(hit)) {
                DeselectAll(true);
                SelectWithGroup(hit, true);
                InvalidateSelection(false);
            }
            tracker.reset(CreateTracker(kTrackMove));
        }
    } else if (FrameObj* hit = pages->FrameAtPoint(viewPoint, 0)) {
        DeselectAll(true);
        SelectWithGroup(hit, true);
        InvalidateSelection(false);
        tracker.reset(CreateTracker(kTrackMove));
    } else {
        int16_t slot = 0, entry = 0;
        if (pages->FindGuideNear(viewPoint, &slot, &entry, 0, kGuideDistance) && WaitMouseHold(kGuideHoldMs)) {
            pages->RemoveGuideAt(viewPoint);
            return 1;
        }
        DeselectAll(true);
        tracker.reset(CreateTracker(kTrackBand));
        PublishTextAttrs();
    }

    if (tracker) {
        tracker->Track(viewPoint);
        const int16_t mode = int16_t(tracker->Mode());
        const uint8_t flags = tracker->ChangeFlags();
        if (mode == kTrackBand) {
            CreateFrame(tracker->Result());
        } else if (flags == kTrackScrolled) {
            RefreshView();
        } else if (flags == kTrackMoved) {
            RedrawPage(0, 0);
        }
        if (mode == kUndoResizeFrame)
            ToggleHandles(flags != 0);
        if (flags != 0 && mode != kTrackBand)
            SaveUndo(mode);
        tracker.reset();
        PublishGraphicAttrs();
        return 1;
    }
    if (contentDrag) {
        ToggleHandles(false);
        const bool panned = contentDrag->TrackContent();
        SaveUndo(kUndoMovePicture);
        ToggleHandles(true);
        if (panned)
            MarkChangedAndRedraw(true, true);
        else
            ToggleHandles(false);
        return panned ? 1 : 0;
    }
    return 0;
}

FrameObj* SelectionTool::CreateFrame(const IntRect& viewRect)
{
    IntRect band = viewRect;
    RectNormalize(&band);
    DeselectAll(true);
    if (CurrPageMng* pages = document_->PageManager()) {
        for (int16_t i = 0; i < pages->FrameCount(); ++i) {
            FrameObj* f = pages->FrameAt(i);
            if (!f->Block().selectable)
                continue;
            IntRect r;
            f->GetBounds(&r, 1, kGeometryCurrent);
            if (r.right == r.left)
                ++r.right;
            if (r.bottom == r.top)
                ++r.bottom;
            if (Touches(r, band))
                SelectWithGroup(f, false);
        }
    }
    InvalidateSelection(false);
    PublishGraphicAttrs();
    PublishTextAttrs();
    return nullptr;
}

uint8_t SelectionTool::KeyDown(const KeyEvent& key)
{
    if (IsKeyDown(key, kKeyDelete)) {
        DeleteSelection();
        return 0;
    }
    IntPoint offset;
    const int32_t step = key.shift ? kBigStep : 1;
    if (IsKeyDown(key, kKeyLeft))
        offset.x = -step;
    else if (IsKeyDown(key, kKeyRight))
        offset.x = step;
    else if (IsKeyDown(key, kKeyUp))
        offset.y = -step;
    else if (IsKeyDown(key, kKeyDown))
        offset.y = step;
    else
        return 0;
    if (count_ > 0) {
        ToggleHandles(false);
        ClampOffsetToPage(&offset, 0, 0);
        MoveSelectionBy(offset, 0, 0);
        RecomputeSelection(true);
        ToggleHandles(true);
        MarkChangedAndRedraw(true, true);
        PublishGraphicAttrs();
        SaveUndo(kUndoMoveFrame);
    }
    return 1;
}

int32_t SelectionTool::GetCursor(const IntPoint& viewPoint)
{
    if (IsKeyDown(kVkControl) && IsKeyDown(kVkAlt))
        return kCursorPan;
    int16_t handle = 0;
    if (HandleAt(viewPoint, &handle))
        return kCursorHandle;
    const FrameObj* f = SelectedFrameAt(viewPoint);
    if (!f)
        return kCursorArrow;
    if (f->Attributes().locked)
        return kCursorLocked;
    return f->Block().pinned ? int32_t(kCursorArrow) : int32_t(kCursorMove);
}

int32_t SelectionTool::RightButtonUp(const IntPoint& viewPoint)
{
    document_->SetViewCursor(kCursorArrow);
    document_->ShowContextMenu(viewPoint);
    if (CurrPageMng* pages = document_->PageManager())
        pages->ResetFrameStates(1);
    document_->SetViewCursor(GetCursor(viewPoint));
    return 0;
}

// ---- undo ----

bool SelectionTool::SaveUndo(int16_t action)
{
    if (count_ == 0) {
        document_->SetUndoOwner(nullptr);
        return false;
    }
    ClearUndo();
    Handle h = nullptr;
    if (action == kUndoDeleteFrame) {
        FrameObj* f = selected_[0];
        DeletionRecord r;
        r.frameId = f->FrameId();
        if (CurrPageMng* pages = document_->PageManager())
            r.zOrder = uint16_t(std::max<int16_t>(pages->IndexOfFrame(f), 0));
        r.type = uint16_t(f->GetType());
        uint8_t record[kFrameRecordSize] = {};
        if (FrameStore* frames = document_->Frames(); frames && frames->GetFrameRecord(f->FrameId(), record) >= 0) {
            r.previous = FramePrevious(record);
            r.next = FrameNext(record);
        }
        h = HandleNew(kDeletionRecordSize);
        if (h)
            EncodeDeletionRecord(r, HandleData(h));
    } else {
        h = HandleNew(uint32_t(count_) * 4);
        if (h) {
            for (int16_t i = 0; i < count_; ++i)
                PutU32LE(HandleData(h) + 4 * i, selected_[i]->FrameId());
        }
    }
    if (!h)
        return false;
    undo_.saved = h;
    undo_.action = action;
    document_->SetUndoOwner(this);
    document_->UndoAvailable();
    return true;
}

void SelectionTool::TakeOff(FrameObj* frame)
{
    CurrPageMng* pages = document_->PageManager();
    FrameStore* frames = document_->Frames();
    if (pages && pages->RemoveFrame(frame))
        pages->ReflowTextMeeting(frame->ViewRect());
    if (!frames)
        return;
    if (frame->GetType() == kFrameText && frames->IsChained(frame)) {
        frames->Unlink(frame);
        frames->SetStoryId(frame->FrameId(), 0);
        frame->SetStoryId(0);
    }
    frames->SetFlag4(frame, true);
    uint8_t record[kFrameRecordSize] = {};
    if (frames->GetFrameRecord(frame->FrameId(), record) >= 0) {
        SetFrameResidence(record, kResidenceTakenOff);
        frames->SetFrameRecord(frame->FrameId(), record);
    }
    document_->SetModified(true);
}

void SelectionTool::UndoDeletion(const DeletionRecord& r)
{
    CurrPageMng* pages = document_->PageManager();
    FrameStore* frames = document_->Frames();
    FrameObj* f = frames ? frames->GetLoadedFrame(uint16_t(r.frameId)) : nullptr;
    if (!f || !pages)
        return;
    DeselectAll(true);
    if (undo_.redo) {
        pages->ClearChanged();
        f->MarkChanged(1, 0);
        pages->InvalidateChanged(kInvalidateVacated);
        TakeOff(f);
        return;
    }
    frames->SetFlag4(f, false);
    if (!pages->InsertFrameAt(f, int16_t(std::min<int32_t>(r.zOrder, pages->FrameCount()))))
        return;
    if (r.type == kFrameText) {
        if (r.previous != 0)
            frames->LinkAfter(r.previous, f);
        else if (r.next != 0)
            frames->LinkFrames(f, r.next);
    }
    uint8_t record[kFrameRecordSize] = {};
    if (frames->GetFrameRecord(f->FrameId(), record) >= 0) {
        SetFrameResidence(record, r.residence);
        frames->SetFrameRecord(f->FrameId(), record);
    }
    f->Recompute(1);
    pages->InvalidateOverlaps(f, 1, 0);
    SelectWithGroup(f, true);
    document_->SetModified(true);
}

void SelectionTool::UndoRedo()
{
    if (!undo_.saved)
        return;
    CurrPageMng* pages = document_->PageManager();
    if (undo_.action == kUndoNewFrame) {
        std::vector<uint32_t> ids(HandleGetSize(undo_.saved) / 4);
        for (size_t i = 0; i < ids.size(); ++i)
            ids[i] = GetU32LE(HandleData(undo_.saved) + 4 * i);
        UndoNewFrames(ids);
        return;
    }
    if (undo_.action == kUndoDeleteFrame) {
        if (HandleGetSize(undo_.saved) >= kDeletionRecordSize)
            UndoDeletion(DecodeDeletionRecord(HandleData(undo_.saved)));
    } else {
        ToggleHandles(false);
        const uint32_t n = HandleGetSize(undo_.saved) / 4;
        for (uint32_t i = 0; i < n; ++i) {
            const uint32_t id = GetU32LE(HandleData(undo_.saved) + 4 * i);
            FrameObj* f = pages ? pages->FindFrameById(uint16_t(id)) : nullptr;
            if (f)
                f->ToggleSaved();
        }
        if (pages)
            pages->UpdateGroups();
        document_->SetModified(true);
    }
    MarkChangedAndRedraw(true, true);
    undo_.redo = undo_.redo ? 0 : 1;
    PublishGraphicAttrs();
}

void SelectionTool::UndoNewFrames(const std::vector<uint32_t>& ids)
{
    CurrPageMng* pages = document_->PageManager();
    if (!pages)
        return;
    std::vector<FrameObj*> frames;
    for (uint32_t id : ids)
        if (FrameObj* f = pages->FindFrameById(uint16_t(id)))
            frames.push_back(f);
    std::vector<FrameObj*> groups;
    for (FrameObj* f : frames) {
        while (const uint32_t outer = f->GetId(-1)) {
            FrameObj* group = pages->FindGroupFrame(outer);
            if (group && std::find(groups.begin(), groups.end(), group) == groups.end() &&
                std::find(frames.begin(), frames.end(), group) == frames.end())
                groups.push_back(group);
            f->RemoveLastId();
        }
        f->MarkChanged(1, 0);
    }
    pages->InvalidateChanged(kInvalidateVacated);
    document_->SetUndoOwner(nullptr);
    DeleteDeselected(frames, groups);
    PublishGraphicAttrs();
    PublishTextAttrs();
}

void SelectionTool::DeleteDeselected(const std::vector<FrameObj*>& frames, const std::vector<FrameObj*>& groups)
{
    DeselectAll(true);
    for (FrameObj* f : frames)
        FrameTool::DeleteFrame(f);
    for (FrameObj* g : groups)
        FrameTool::DeleteFrame(g);
    RefreshView();
}

void SelectionTool::ClearUndo()
{
    if (undo_.saved && undo_.action == kUndoDeleteFrame && !undo_.redo &&
        HandleGetSize(undo_.saved) >= kDeletionRecordSize) {
        const DeletionRecord r = DecodeDeletionRecord(HandleData(undo_.saved));
        if (FrameStore* frames = document_->Frames()) {
            if (FrameObj* f = frames->GetLoadedFrame(uint16_t(r.frameId))) {
                frames->SetFlag4(f, false);
                frames->DeleteFrame(f);
            }
        }
    }
    FrameTool::ClearUndo();
}
