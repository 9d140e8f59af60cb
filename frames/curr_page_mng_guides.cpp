// Guides, snapping and the guide grid; the zoom; alignment of frames to
// their anchor frames.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "foundation/int_math.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_obj.h"
#include "frames/frame_view_services.h"
#include "graphics/rect_ops.h"

// ---- guides ----

int16_t CurrPageMng::SlotUnder(const IntPoint& viewPoint, IntPoint* pagePoint) const
{
    if (!document_)
        return -1;
    const int16_t ordinal = document_->PageSlotAtPoint(viewPoint, pagePoint);
    if (ordinal == 0)
        return -1;
    const int16_t slot = document_->GetPageSlot(ordinal);
    return slot >= 0 && slot < 2 ? slot : int16_t(-1);
}

bool CurrPageMng::AddGuide(uint8_t kind, const IntPoint& viewPoint)
{
    IntPoint page;
    const int16_t slot = SlotUnder(viewPoint, &page);
    if (slot < 0)
        return false;
    for (GuideEntry& g : guides_[slot]) {
        if (g.kind != kGuideEmpty)
            continue;
        g.kind = kind;
        g.position = int16_t(kind == kGuideHorizontal ? page.y : page.x);
        GuidesChanged();
        return true;
    }
    return false;
}

bool CurrPageMng::FindGuideNear(const IntPoint& viewPoint, int16_t* slot, int16_t* entry, uint8_t kind,
                                int16_t distance)
{
    IntPoint page;
    const int16_t s = SlotUnder(viewPoint, &page);
    if (s < 0)
        return false;
    for (int16_t e = 0; e < kGuidesPerSlot; ++e) {
        const GuideEntry& g = guides_[s][e];
        if (g.kind == kGuideEmpty || (kind != 0 && g.kind != kind))
            continue;
        const int32_t along = g.kind == kGuideVertical ? page.x : page.y;
        if (std::abs(along - g.position) < distance) {
            *slot = s;
            *entry = e;
            return true;
        }
    }
    return false;
}

void CurrPageMng::SnapPoint(const IntPoint& viewPoint, IntPoint* out)
{
    const int32_t distance = zoom_.mode == 1 ? 18 : 9;
    const int32_t num = zoom_.numerator, den = zoom_.denominator;
    auto toDoc = [&](int32_t v) { return num != 0 ? ScaleTrunc(v, den, num) : v; };
    auto toView = [&](int32_t v) { return den != 0 ? ScaleTrunc(v, num, den) : v; };
    const IntPoint doc{toDoc(viewPoint.x), toDoc(viewPoint.y)};
    *out = viewPoint;
    bool snappedX = false, snappedY = false;
    for (int slot = 0; slot < 2; ++slot) {
        if (pageHandles_[slot] == kNoPageHandle)
            continue;
        const IntPoint origin = SlotOrigin(slot);
        for (const GuideEntry& g : guides_[slot]) {
            if (!snappedY && g.kind == kGuideHorizontal && std::abs(doc.y - (origin.y + g.position)) < distance) {
                out->y = toView(origin.y + g.position);
                snappedY = true;
            }
        }
        for (const GuideEntry& g : guides_[slot]) {
            if (!snappedX && g.kind == kGuideVertical && std::abs(doc.x - (origin.x + g.position)) < distance) {
                out->x = toView(origin.x + g.position);
                snappedX = true;
            }
        }
    }
}

bool CurrPageMng::RemoveGuideAt(const IntPoint& viewPoint)
{
    int16_t slot = 0, entry = 0;
    if (!FindGuideNear(viewPoint, &slot, &entry, 0, 3))
        return false;
    const uint8_t vertical = guides_[slot][entry].kind == kGuideVertical ? 1 : 0;
    ClearGuide(slot, entry);
    if (FrameView* view = document_ ? document_->View() : nullptr)
        view->TrackGuide(viewPoint, vertical);
    return true;
}

void CurrPageMng::ClearGuide(int16_t slot, int16_t entry)
{
    if (slot < 0 || slot > 1 || entry < 0 || entry >= kGuidesPerSlot)
        return;
    guides_[slot][entry].kind = kGuideEmpty;
    GuidesChanged();
}

void CurrPageMng::GuidesChanged()
{
    if (FrameView* view = document_ ? document_->View() : nullptr)
        view->Refresh();
    MarkModified();
}

void CurrPageMng::MakeGuideGrid(uint16_t xStep, int16_t yStep)
{
    if (!document_)
        return;
    const int16_t visible = document_->GetVisiblePageCount();
    for (int16_t n = 1; n <= visible; ++n) {
        const int16_t slot = document_->GetPageSlot(n);
        if (slot < 0 || slot > 1)
            continue;
        IntRect bounds;
        document_->GetPageSlotRect(slot, &bounds);
        const int32_t width = bounds.right - bounds.left;
        const int32_t height = bounds.bottom - bounds.top;
        for (GuideEntry& g : guides_[slot])
            g.kind = kGuideEmpty;
        if (xStep == 0 && yStep == 0)
            continue;
        MarkModified();
        int32_t x = xStep, y = yStep;
        int16_t e = 0;
        while (e < kGuidesPerSlot) {
            bool placed = false;
            if (yStep > 0 && y < height) {
                guides_[slot][e++] = GuideEntry{int16_t(y), kGuideHorizontal, 0};
                y += yStep;
                placed = true;
            }
            if (xStep != 0 && x < width && e < kGuidesPerSlot) {
                guides_[slot][e++] = GuideEntry{int16_t(x), kGuideVertical, 0};
                x += xStep;
                placed = true;
            }
            if (!placed)
                break;
        }
    }
}

void CurrPageMng::GetGuideSpacing(int16_t* x, int16_t* y)
{
    *x = 0;
    *y = 0;
    const int16_t slot = document_ && document_->GetVisiblePageCount() > 0 ? document_->GetPageSlot(1) : int16_t(-1);
    if (slot < 0 || slot > 1)
        return;
    int32_t previousV = 0, previousH = 0;
    int32_t spacingV = 0, spacingH = 0;
    for (const GuideEntry& g : guides_[slot]) {
        if (g.kind != kGuideVertical && g.kind != kGuideHorizontal)
            continue;
        int32_t& previous = g.kind == kGuideVertical ? previousV : previousH;
        int32_t& spacing = g.kind == kGuideVertical ? spacingV : spacingH;
        if (previous == 0)
            spacing = g.position;
        else
            spacing = std::min(spacing, std::abs(g.position - previous));
        previous = g.position;
    }
    *x = int16_t(spacingV);
    *y = int16_t(spacingH);
}

void CurrPageMng::CopyGuideBlock(uint8_t* block, uint8_t in)
{
    if (in)
        std::memcpy(guideBlock_, block, sizeof guideBlock_);
    else
        std::memcpy(block, guideBlock_, sizeof guideBlock_);
}

// ---- zoom ----

void CurrPageMng::SetZoom(uint16_t numerator, uint16_t denominator, int16_t mode, uint8_t recompute)
{
    previousZoom_.mode = zoom_.mode;
    previousZoom_.numerator = zoom_.numerator;
    previousZoom_.denominator = zoom_.denominator;
    zoom_.mode = mode;
    zoom_.numerator = int16_t(numerator);
    zoom_.denominator = int16_t(denominator);
    if (recompute)
        RecalcAll();
}

void CurrPageMng::GetZoom(int16_t* numerator, int16_t* denominator, int16_t* mode) const
{
    *numerator = zoom_.numerator;
    *denominator = zoom_.denominator;
    *mode = zoom_.mode;
}

void CurrPageMng::GetPreviousZoom(int16_t* numerator, int16_t* denominator, int16_t* mode) const
{
    *numerator = previousZoom_.numerator;
    *denominator = previousZoom_.denominator;
    *mode = previousZoom_.mode;
}

void CurrPageMng::PushZoom(uint8_t recompute, uint16_t numerator, uint16_t denominator)
{
    savedZoom_ = zoom_;
    zoom_.numerator = int16_t(numerator);
    zoom_.denominator = int16_t(denominator);
    if (recompute)
        RecalcAll();
}

void CurrPageMng::RestoreZoom(uint8_t recompute)
{
    zoom_ = savedZoom_;
    if (recompute)
        RecalcAll();
}

// ---- alignment ----

void CurrPageMng::AlignmentBounds(FrameObj* frame, IntRect* out) const
{
    const uint32_t groupId = frame->GetId(-1);
    if (const FrameObj* group = groupId ? FindGroupFrame(groupId) : nullptr)
        group->GetBounds(out, 0, kGeometryCurrent);
    else
        frame->GetBounds(out, 0, kGeometryCurrent);
}

void CurrPageMng::AlignFrameTo(FrameObj* anchor, FrameObj* frame, int16_t axis, int16_t mode)
{
    if (!anchor || !frame)
        return;
    IntRect a, f;
    AlignmentBounds(anchor, &a);
    AlignmentBounds(frame, &f);
    const int32_t a1 = axis == 1 ? a.left : a.top, a2 = axis == 1 ? a.right : a.bottom;
    const int32_t f1 = axis == 1 ? f.left : f.top, f2 = axis == 1 ? f.right : f.bottom;
    int32_t d = 0;
    switch (mode) {
    case 1:
        d = a1 - f1;
        break;
    case 2:
        d = (a1 + a2) / 2 - (f1 + f2) / 2;
        break;
    case 3:
        d = a2 - f2;
        break;
    default:
        return;
    }
    // Aligning is not an edit of its own: the frame's change mark stays as
    // it was and no pre-change copy is taken.
    const bool changed = frame->IsChanged();
    frame->SetChangedFlag(true);
    frame->ApplyAlignOffset(1, axis == 1 ? IntPoint{d, 0} : IntPoint{0, d});
    frame->Recompute(1);
    frame->SetChangedFlag(changed);
}

bool CurrPageMng::ApplyAlignments()
{
    bool moved = false;
    bool groupsUpdated = false;
    for (int16_t i = 0; i < frameCount_; ++i) {
        FrameObj* frame = frames_[i];
        frame->ApplyAlignOffset(0, IntPoint{});
        uint16_t idH = 0, idV = 0;
        int16_t modeH = 0, modeV = 0;
        frame->GetAlignment(&idH, &idV, &modeH, &modeV);
        if (idH == 0 || idV == 0)
            continue;
        FrameObj* anchorH = FindFrameById(idH);
        FrameObj* anchorV = FindFrameById(idV);
        if (!anchorH || !anchorV)
            continue;
        if (!groupsUpdated) {
            UpdateGroups();
            groupsUpdated = true;
        }
        const int32_t x = frame->Geometry().x, y = frame->Geometry().y;
        AlignFrameTo(anchorH, frame, 1, modeH);
        AlignFrameTo(anchorV, frame, 2, modeV);
        if (frame->Geometry().x != x || frame->Geometry().y != y)
            moved = true;
    }
    if (moved) {
        UpdateGroups();
        RelayoutTextFrames();
    }
    return moved;
}

void CurrPageMng::RevertAlignOffsets()
{
    for (int16_t i = 0; i < frameCount_; ++i)
        frames_[i]->ApplyAlignOffset(2, IntPoint{});
}

void CurrPageMng::ClearAlignmentsTo(uint16_t idH, uint16_t idV)
{
    for (int16_t i = 0; i < frameCount_; ++i) {
        uint16_t h = 0, v = 0;
        int16_t mh = 0, mv = 0;
        frames_[i]->GetAlignment(&h, &v, &mh, &mv);
        // An id of 0 names no anchor: it must not match every frame that
        // has none on that axis.
        if ((idH != 0 && h == idH) || (idV != 0 && v == idV))
            frames_[i]->SetAlignment(0, 0, 0, 0);
    }
}
