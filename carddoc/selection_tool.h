// The Object tool: the card editor's arrow. It keeps the selected frames of
// the shown pages and the selected group frames, shows their handles, turns
// presses into selecting, moving, resizing and rubber-band selection,
// arrow keys into nudges and Delete into deletion, and records and replays
// the document's single undo step for what was done to the selection.
//
// Every other part of the editor reaches the selection through the one
// instance in the document's tool table (kind 0), also while another tool
// is current. The commands that act on the whole selection -- attributes,
// placement, grouping, deletion, the Edit menu, alignment -- are in
// selection_commands.cpp.
//
// The lists hold pointers into the current-page manager; they are emptied
// whenever the shown pages change or the tool is activated, and whoever
// deletes or unloads frames empties them first.
#pragma once

#include <cstdint>
#include <vector>

#include "carddoc/card_context_menus.h"
#include "frames/frame_block_format.h"
#include "toolbase/frame_tool.h"

class CTracker;
class FrameObj;

// Application cursors the Object tool shows.
enum : int32_t {
    kCursorPan = 1,
    kCursorMove = 3,
    kCursorLocked = 4,
};

// The rotate tool, which keeps a selection of its own and hands it over.
constexpr int16_t kRotateToolKind = 11;

// The modes of the trackers the tool makes besides the frames' own.
enum : int16_t {
    kTrackBand = 1,
    kTrackMove = 3,
    kTrackScroll = 6,
};

// The 68-byte attribute block of the selection: the bits of the sameness
// mask that GetCommonAttrs clears when the selected frames differ.
enum : uint32_t {
    kSameHeight = 1u << 2,
    kSameWidth = 1u << 3,
    kSameAngle = 1u << 4,
    kSameLineWidth = 1u << 5,
    kSameBorderStyle = 1u << 6,
    kSameSides = (1u << 7) | (1u << 8) | (1u << 9) | (1u << 10),
    kSameLineColour = 1u << 11,
    kSameLineShade = 1u << 12,
    kSameFillColour = 1u << 13,
    kSameFillShade = 1u << 14,
    kSameBackground = 1u << 15,
    kSameLinePattern = 1u << 16,
    kSameFillPattern = 1u << 17,
    kSameShown = 1u << 18,
    kSameLocked = 1u << 19,
    kSamePrintable = 1u << 20,
    kSameLineSecond = 1u << 22,
};

// A deleted frame kept for undo: where it stood and what it was linked to.
struct DeletionRecord {
    uint32_t frameId = 0;
    uint16_t zOrder = 0;
    uint16_t type = 0;
    uint8_t residence = 0;
    uint16_t previous = 0;
    uint16_t next = 0;
};
constexpr uint32_t kDeletionRecordSize = 13;

class SelectionTool : public FrameTool {
public:
    static constexpr int16_t kCapacity = 450;

    explicit SelectionTool(ToolDocument* document);
    ~SelectionTool() override;

    // ---- FrameTool ----
    int16_t GetKind() override { return kToolObject; }
    // The type all selected frames share; 0 when none is selected or they
    // differ.
    int16_t GetFrameType() override;
    void Activate(FrameTool* previous, int16_t kind) override;
    void Deactivate() override;
    void PagesClosing() override;
    uint8_t KeyDown(const KeyEvent& key) override;
    int32_t MouseDown(const IntPoint& viewPoint) override;
    int32_t RightButtonUp(const IntPoint& viewPoint) override;
    bool CanDoEditCommand(int16_t command) override;
    bool DoEditCommand(int16_t command) override;
    // The rubber band selects what it touches; never makes a frame.
    FrameObj* CreateFrame(const IntRect& viewRect) override;
    CTracker* CreateTracker(int16_t mode) override;
    void SetColor(int16_t value, int16_t target) override;
    void SetShade(int16_t value, int16_t target) override;
    void SetPattern(int16_t value, int16_t target) override;
    void SetBorderStyle(int16_t value) override;
    void SetLineWidth(int16_t value) override;
    void SetFramePlacement(int16_t field, int32_t value, int32_t showHandles, bool redraw) override;
    void SetFont(int16_t id) override;
    void SetFontSize(int16_t size) override;
    void SetFontStyle(int16_t bits, int16_t on, int16_t mask) override;
    void SetAlignment(int16_t value) override;
    void SetDatabaseField(int16_t index) override;
    void GetGraphicAttrs(GraphicAttrs* out) override;
    void GetTextAttrs(TextAttrs* out) override;
    int32_t GetCursor(const IntPoint& viewPoint) override;
    void UndoRedo() override;
    bool SaveUndo(int16_t action) override;
    void ClearUndo() override;

    // ---- the selection ----
    // Empties both lists; with redraw the handles go first and each
    // frame's place is repainted.
    void DeselectAll(bool redraw);
    void InvalidateSelection(bool buffered);
    // Draws the handles of every selected frame and group inverted: two
    // calls leave the view as it was.
    void ToggleHandles(bool buffered);
    // The feedback of a drag: every selected frame whole (full), else the
    // bounds of several frames or the outline of one.
    void DrawSelectionOutline(bool full);
    // A frame together with every frame of its outermost group.
    void SelectWithGroup(FrameObj* frame, bool toggle);
    // Adds a frame in z-order, or with toggle removes one already selected.
    void SelectFrame(FrameObj* frame, bool toggle);
    void SelectGroup(FrameObj* group, bool toggle);
    // The earliest selected frame with a resize handle under the point,
    // and the handle (1-8).
    FrameObj* HandleAt(const IntPoint& viewPoint, int16_t* handle);
    FrameObj* SelectedFrameAt(const IntPoint& viewPoint);
    // The topmost unselected frame under the point, looking through the
    // selected ones.
    FrameObj* FrameBelowSelection(const IntPoint& viewPoint);
    // A locked or pinned frame in the selection, or with checkRotation one
    // that cannot turn.
    bool IsSelectionFixed(bool checkRotation);
    void ComputeSelectionBounds();
    void ShowSelection(bool on);
    // Narrows the offset (document units) so that no selected frame leaves
    // the page; mode 0 measures the frames, 2 their drag copies.
    void ClampOffsetToPage(IntPoint* offset, int16_t mode, uint8_t force);
    void MoveSelectionBy(const IntPoint& offset, int16_t mode, uint8_t force);
    void RecomputeSelection(bool withRegion);
    void BeginDrag(bool mark);
    void EndDrag(bool commit);
    void SetSelectionDrawMode(uint8_t value);
    void MarkChangedAndRedraw(bool mark, bool invalidate);

    // ---- commands on the whole selection ----
    bool CanGroup();
    bool CanUngroup();
    void GroupSelection(uint32_t groupId);
    // Takes one level of grouping off; the group frame that was selected,
    // or null.
    FrameObj* UngroupSelection();
    void DeleteSelection();
    // The 68-byte block the selected frames share, with the sameness mask;
    // the common frame type.
    int16_t GetCommonAttrs(FrameAttributes* out, uint32_t* mask);
    bool GetCommonCaptionAlignment(int16_t* out);
    void AlignSelection(int16_t horizontal, int16_t vertical, bool relativeToFirst);
    // After copies of frames were added and selected: new group frames for
    // the groups they name.
    void RebuildGroups();
    // pairs: (old id, new id) in the low and high halves of each 32-bit
    // entry, one per selected frame.
    void RemapAnchors(Handle pairs);
    int16_t BarcodeTypeOfSelection();
    bool AllBarcodeMarked();
    void ToggleBarcodeMark();
    // The context menu for what is selected.
    int16_t ContextMenuId();

    // ---- what others read ----
    bool IsSelected(const FrameObj* frame) const;
    int16_t CurrentIndex() const;
    int16_t GetSelCount() const { return count_; }
    FrameObj* GetSelFrame(int16_t i) const { return i >= 0 && i < count_ ? selected_[i] : nullptr; }
    int16_t GetGroupCount() const { return groupCount_; }
    FrameObj* GetGroupEntry(int16_t i) const { return i >= 0 && i < groupCount_ ? groups_[i] : nullptr; }
    int16_t SavedSelCount() const { return savedCount_; }
    FrameObj* SavedFrame(int16_t i) const { return i >= 0 && i < savedCount_ ? selected_[i] : nullptr; }
    FrameObj* FirstSelected() const { return first_; }
    const FrameGeometry& SelectionBounds() const { return bounds_; }

protected:
    // Applies op to every selected frame between hiding and showing the
    // handles, then publishes and records "Change Frame".
    template <typename Op>
    void ChangeEach(Op op, bool publishText);
    // A frame's bounds, or its selected group's.
    IntRect GetFrameBounds(FrameObj* frame);
    void FindLeftTopFrames(int16_t* horizontal, int16_t* vertical);
    void AlignOne(int16_t reference, int16_t i, int16_t axis, int16_t mode);
    // Edit > Undo of a single deletion, and its redo.
    void UndoDeletion(const DeletionRecord& record);
    // Takes the frames of the ids (pasted ones) off the page with their
    // groups; the undo record goes with them, as a new frame's does.
    void UndoNewFrames(const std::vector<uint32_t>& ids);
    // Takes a frame off its page and keeps it loaded for undo.
    void TakeOff(FrameObj* frame);
    // The selection is dropped first, then the frames and the groups go
    // (a copy: deselecting empties the arrays they may come from).
    void DeleteDeselected(const std::vector<FrameObj*>& frames, const std::vector<FrameObj*>& groups);
    bool BufferedDrawing();

    FrameObj* selected_[kCapacity] = {};
    int16_t count_ = 0;
    int16_t savedCount_ = 0;
    int16_t lastInsert_ = 0;
    FrameObj* first_ = nullptr;
    FrameObj* groups_[kCapacity] = {};
    int16_t groupCount_ = 0;
    int16_t savedGroupCount_ = 0;
    FrameGeometry bounds_;
};

// The Object tool of a document, or null.
SelectionTool* SelectionToolOf(ToolDocument* document);

// The deletion record into 13 bytes and back.
void EncodeDeletionRecord(const DeletionRecord& record, uint8_t* out);
DeletionRecord DecodeDeletionRecord(const uint8_t* in);
