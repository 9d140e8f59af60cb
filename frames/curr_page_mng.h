// CurrPageMng: what the card document shows. Up to two pages in two page
// slots (slot 0 the front, slot 1 the back), every frame object of those
// pages in one z-ordered list (index 0 the bottom), the group frames in a
// second list, the ruler guides of each slot and the zoom all view
// conversions use. It loads a page when the user goes to it and stores it
// back when the user leaves it; it decides which frames to draw again after
// a change and has them draw themselves.
//
// The frames belong to the frame store; the manager only holds pointers to
// the objects the store has loaded. Pasteboard frames come from the
// document's shared list and are put beneath the page frames whatever page
// is shown.
#pragma once

#include <cstdint>
#include <optional>

#include "foundation/int_geometry.h"
#include "frames/page_record_format.h"

class Dc;
class FrameDocument;
class FrameObj;
class Region;

// Guide kinds.
enum : uint8_t {
    kGuideEmpty = 0,
    kGuideVertical = 1,
    kGuideHorizontal = 2,
};

struct GuideEntry {
    int16_t position = 0;  // document units from the page's origin
    uint8_t kind = kGuideEmpty;
    uint8_t spare = 0;  // kept as the page record had it
};

// Mode, numerator, denominator and the two words the view keeps with a page.
struct ZoomBlock {
    int16_t mode = 4;
    int16_t numerator = 1;
    int16_t denominator = 1;
    int16_t view1 = 0;
    int16_t view2 = 0;
};

// Invalidation modes of InvalidateChanged and PropagateRedraw.
enum : int16_t {
    kInvalidateOld = 1,
    kInvalidateNew = 2,
    kInvalidateVacated = 4,
    kInvalidateArea = 8,
    kInvalidateMerge = 0x10,
};

class CurrPageMng {
public:
    static constexpr int16_t kListSlots = 450;
    // One slot of each list stays free: at most 449 frames and 449 groups.
    static constexpr int16_t kMaxFrames = kListSlots - 1;
    static constexpr int16_t kGuidesPerSlot = 40;
    static constexpr int16_t kMaxOverlaps = 300;

    explicit CurrPageMng(FrameDocument* document);
    CurrPageMng(const CurrPageMng&) = delete;
    CurrPageMng& operator=(const CurrPageMng&) = delete;

    FrameDocument* Document() const { return document_; }

    // ---- pages ----
    void CopyPageRects();
    // False when both numbers and the handles they name are those shown.
    bool SetPageNumbers(int16_t slot0, int16_t slot1);
    void LoadPageSettings();
    // Loads both shown pages (and the pasteboard frames beneath them); the
    // frame store's re-flow result. Without flowText the text is left to
    // a caller that lays out every text frame itself before anything reads
    // the layout (a printed sheet does, card by card, for each record). A
    // chained frame's text starts where the frame before it ended, so a
    // page with chains is flowed all the same.
    bool LoadCurrentPages(uint8_t withShared, bool flowText = true);
    // Stores the shown pages back and empties the manager; 0.
    int32_t CloseCurrentPages();
    // Zoom, guides, frame counts and guide block into the page records.
    void CurrPage2Page();
    uint32_t GetPIndex(int16_t pageNumber);
    int32_t GetIndex(uint32_t handle, uint16_t* slot);
    int16_t GetPageNumber(uint32_t handle);
    // The first slot whose page meets rect (document units); kNoPageHandle
    // and the pasteboard when none does.
    uint32_t PageAtRect(const IntRect& rect, uint8_t* residence) const;
    int16_t PageNumberOfSlot(int slot) const { return pageNumbers_[slot]; }
    uint32_t PageHandleOfSlot(int slot) const { return pageHandles_[slot]; }
    const IntRect& PageRect(int slot) const { return pageRects_[slot]; }
    int16_t SlotFrameCount(int slot) const { return slotFrameCounts_[slot]; }

    // ---- frame list ----
    bool HasRoom();
    bool AppendFrame(FrameObj* frame);
    bool InsertFrameAt(FrameObj* frame, int16_t index);
    bool RemoveFrame(FrameObj* frame);
    int16_t IndexOfFrame(const FrameObj* frame) const;
    int16_t IndexOfFrameId(uint16_t id) const;
    FrameObj* FindFrameById(uint16_t id) const;
    // The topmost frame under the point (view units), leaving out the top
    // skip frames.
    FrameObj* FrameAtPoint(const IntPoint& viewPoint, int16_t skip);
    bool FrameBoundsAt(int16_t index, IntRect* out) const;
    // Moves a listed frame down to index; null when it cannot.
    FrameObj* MoveFrameTo(FrameObj* frame, int16_t index);
    // Moves a listed frame up so that n frames stay above it.
    void MoveFrameBelowTop(FrameObj* frame, int16_t n);
    void MoveFrameUp(FrameObj* frame, int16_t n);
    FrameObj* GetBackdropFrame();
    FrameObj* FindTextFrameFrom(const int16_t* start) const;
    int16_t FrameCount() const { return frameCount_; }
    FrameObj* FrameAt(int16_t index) const;

    // ---- groups ----
    bool HasGroupRoom();
    bool AddGroupFrame(FrameObj* group);
    bool RemoveGroupFrame(FrameObj* group);
    int16_t IndexOfGroupFrame(const FrameObj* group) const;
    FrameObj* FindGroupFrame(uint32_t id) const;
    void UpdateGroups();
    // Union of the bounds of the frames whose innermost group is id.
    void GroupBounds(uint32_t id, IntRect* out) const;
    int16_t GroupCount() const { return groupCount_; }
    FrameObj* GroupAt(int16_t index) const;

    // ---- guides ----
    bool AddGuide(uint8_t kind, const IntPoint& viewPoint);
    bool FindGuideNear(const IntPoint& viewPoint, int16_t* slot, int16_t* entry, uint8_t kind, int16_t distance);
    void SnapPoint(const IntPoint& viewPoint, IntPoint* out);
    bool RemoveGuideAt(const IntPoint& viewPoint);
    void ClearGuide(int16_t slot, int16_t entry);
    void GuidesChanged();
    void MakeGuideGrid(uint16_t xStep, int16_t yStep);
    void GetGuideSpacing(int16_t* x, int16_t* y);
    // in: the block replaces the manager's; otherwise it is copied out.
    void CopyGuideBlock(uint8_t* block, uint8_t in);
    const GuideEntry& Guide(int slot, int entry) const { return guides_[slot][entry]; }

    // ---- zoom ----
    void SetZoom(uint16_t numerator, uint16_t denominator, int16_t mode, uint8_t recompute);
    void GetZoom(int16_t* numerator, int16_t* denominator, int16_t* mode) const;
    void GetPreviousZoom(int16_t* numerator, int16_t* denominator, int16_t* mode) const;
    void PushZoom(uint8_t recompute, uint16_t numerator, uint16_t denominator);
    void RestoreZoom(uint8_t recompute);

    // ---- alignment ----
    bool ApplyAlignments();
    void AlignFrameTo(FrameObj* anchor, FrameObj* frame, int16_t axis, int16_t mode);
    void AlignmentBounds(FrameObj* frame, IntRect* out) const;
    void RevertAlignOffsets();
    void ClearAlignmentsTo(uint16_t idH, uint16_t idV);

    // ---- drawing and invalidation ----
    void InvalidateChanged(int16_t mode);
    void PropagateRedraw(int16_t index, const IntRect& viewRect, int16_t mode);
    void MarkOverlapping(const IntRect& rect, int16_t index, uint8_t above, uint8_t transparentOnly);
    void InvalidateFrame(FrameObj* frame, uint8_t above);
    void InvalidateOverlaps(FrameObj* frame, uint8_t above, uint8_t force);
    // The text frames that meet the rectangle (view units) build their wrap
    // outlines again and are drawn: a frame that stood there left the page.
    void ReflowTextMeeting(const IntRect& viewRect);
    void ClearChanged();
    void MarkAllChanged();
    void ResetFrameStates(uint8_t value);
    void RecalcAll();
    void OffsetAll(const IntPoint& delta, uint8_t mode);
    void DrawAll(Dc* dc, uint8_t full);
    void DrawAllFiltered(Dc* dc, uint8_t full, uint8_t backdropOnly);
    // Output drawing, into the view's drawing context.
    void DrawAllFrames();
    void DrawHandlesOverlay(Dc* dc);
    // The part of the frame no opaque frame above covers, logical view
    // units; false for a null frame.
    bool VisibleRegionOf(FrameObj* frame, Region* region);
    // Removes the opaque frames from region; a null region starts as the
    // client area.
    bool SubtractOpaqueFrames(std::optional<Region>* region, uint8_t skipBackdrop);
    void BeginPageOutput(int16_t outputMode, int16_t pageNumber);
    void EndPageOutput(int16_t pageNumber);
    void CollectOverlaps(FrameObj* frame);
    static int16_t GetOverlapCount();
    static FrameObj* OverlapAt(int16_t index);
    void RefreshRecordFrames();
    void SetRecordFedAll(uint8_t on);
    void SetCounterValue(int32_t value);
    void RelayoutTextFrames();
    bool OverlayEnabled() const { return overlayEnabled_ != 0; }
    bool RedrawRequested() const { return redrawRequested_ != 0; }

    // The redraw sequence after an edit.
    void RedrawCurrentPage(uint8_t eraseHandles, uint8_t defer, uint8_t merge);

private:
    // Pages.
    void LoadPageFrameLists();
    void LoadPageFrames();
    void SelectTextStories();
    // Whether a text frame of the loaded pages is linked to another.
    bool HasChainedText() const;
    int32_t StorePageFrames();
    int16_t ExtractSharedFrames();
    void NumberFrames();
    void EmptySlot(int slot);
    int SlotOfHandle(uint32_t handle) const;
    IntPoint SlotOrigin(int slot) const;
    // Guides: the page under a view point and the point relative to it.
    int16_t SlotUnder(const IntPoint& viewPoint, IntPoint* pagePoint) const;
    void MarkModified();

    FrameDocument* document_;
    IntRect pageRects_[2];
    int16_t pageNumbers_[2] = {kNoPageNumber, kNoPageNumber};
    uint32_t pageHandles_[2] = {kNoPageHandle, kNoPageHandle};
    int16_t slotFrameCounts_[2] = {};
    ZoomBlock zoom_;
    ZoomBlock savedZoom_;
    ZoomBlock previousZoom_;
    GuideEntry guides_[2][kGuidesPerSlot];
    uint8_t guideBlock_[kPageGuideBlockSize] = {};
    int16_t frameCount_ = 0;
    int16_t groupCount_ = 0;
    FrameObj* frames_[kListSlots] = {};
    FrameObj* groups_[kListSlots] = {};
    uint8_t overlayEnabled_ = 1;
    uint8_t reportFlags_ = 0xFF;
    uint8_t redrawRequested_ = 0;
};
