// The root of the frame classes (frame type 0): everything all frames share
// -- geometry, colours, patterns, border, text attributes, alignment, group
// membership, the page link -- its persistent block (frame_block_format.h)
// and the bookkeeping that drives redrawing and saving.
//
// In memory the two variable parts of the block (the text-wrap outline and
// the group-id list) are Handles held here; only their sizes go to a file.
#pragma once

#include <cstdint>

#include <optional>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "frames/frame_block_format.h"
#include "graphics/placement_records.h"
#include "platform/dc.h"

class FrameDocument;
class FrameTracker;
class FrameView;
class WrapPointList;

// The frame type codes; 8 and 10 have no class.
enum : int16_t {
    kFramePlain = 0,
    kFrameRect = 1,
    kFrameRoundRect = 2,
    kFrameEllipse = 3,
    kFrameLine = 4,
    kFrameText = 5,
    kFrameArc = 6,
    kFrameImage = 7,
    kFrameGroup = 9,
    kFrameBarcode = 11,
    kFrameCounterBarcode = 12,
    kFrameBarcode13 = 13,
    kFrameFieldBarcode = 14,
    kFramePicture = 15,
    kFramePowerText = 16,
    kFrameStar = 17,
    kFrameBarcode18 = 18,
};

// The value of a 16-bit attribute that is not set (or mixed).
constexpr int16_t kAttrNotSet = -1111;

// Which file a block goes to: the document keeps a picture inside the
// image frame's block, the swap file only its place in the swap file.
enum class BlockTarget { kDocument, kSwap };

// Which geometry GetBounds measures.
enum : int16_t {
    kGeometryCurrent = 0,
    kGeometrySaved = 1,
    kGeometryDrag = 2,
};

// Draw states: nothing to do, drawn with its handles shown, to be drawn.
enum : uint8_t {
    kDrawNothing = 0,
    kDrawDone = 1,
    kDrawNeeded = 2,
};

// Residences of a frame: on its page, on the pasteboard.
enum : uint8_t {
    kOnPage = 0,
    kOnPasteboard = 2,
};

// Output mode of a PostScript device, where patterns are copied.
constexpr uint8_t kOutputPostScript = 3;
// A background colour index of 255: no background.
constexpr uint8_t kNoBackground = 255;

class FrameObj {
public:
    FrameObj();
    virtual ~FrameObj();
    FrameObj(const FrameObj&) = delete;
    FrameObj& operator=(const FrameObj&) = delete;

    virtual int16_t GetType() const { return kFramePlain; }

    FrameDocument* Document() const { return document_; }
    void SetDocument(FrameDocument* document) { document_ = document; }
    const FrameBlock& Block() const { return block_; }
    const FrameAttributes& Attributes() const { return block_.attr; }
    const FrameGeometry& Geometry() const { return block_.attr.geometry; }
    uint16_t FrameId() const { return block_.frameId; }
    void SetFrameId(uint16_t id) { block_.frameId = id; }

    // ---- persistent block ----
    // At position, or where the file stands for -1. The result is the sum
    // of the file layer's codes (0: every part succeeded). A read that
    // fails leaves the frame as it was.
    int32_t Read(FileHandle file, int32_t position);
    int32_t Write(FileHandle file, int32_t position);
    // The store's swap and document transfers: position -1 touches nothing
    // and answers 1. ReadBack clears the modified flag.
    int32_t ReadBack(FileHandle file, int32_t position);
    int32_t WriteBack(FileHandle file, int32_t position);
    // The block's bytes as Write puts them (148 + both variable parts, plus
    // what a subclass appends).
    virtual uint32_t DataSize() const;
    // The block at the file's position, with x and y relative to origin.
    // The write's result.
    virtual int32_t WriteOffset(FileHandle file, const IntPoint& origin);
    // Reads a block where the file stands, keeps this frame's id (the id
    // read goes to oldId), drops the text-wrap outline and moves by delta.
    virtual int32_t ReloadFrom(FileHandle file, const IntPoint& delta, uint16_t* oldId);

    // ---- change protocol ----
    virtual void MarkChanged(uint8_t on, uint8_t keepRegion);
    virtual bool IsChanged() const { return changed_ != 0; }
    // The changed flag alone, without the rest of the protocol: the page
    // manager holds it while it aligns a frame.
    void SetChangedFlag(bool on) { changed_ = on ? 1 : 0; }
    virtual void Invalidate(int32_t flag);
    virtual void Recompute(uint8_t withRegion);
    virtual void ToggleSaved();
    // The frame is about to leave memory, its data written to the swap
    // file; what it hands over there is taken again when it is read back.
    virtual void LeavingMemory() {}
    virtual void SaveBlock();
    virtual void SwapBlock();
    virtual void CopyBlockOut(FrameAttributes* destination) const;
    virtual void CopyBlockIn(const FrameAttributes& source);
    bool IsModified() const { return modified_ != 0; }
    void SetModified(bool on) { modified_ = on ? 1 : 0; }
    const FrameAttributes& SavedBlock() const { return saved_; }

    // ---- geometry ----
    virtual void SetGeometry(const FrameGeometry& geometry);
    virtual void SetFromQuad(const CornerQuad& quad);
    virtual void SetFromRect(const IntRect& rect);
    virtual void SetGeometryField(int16_t index, int16_t value);
    // Bounding rectangle of a turned geometry.
    virtual void BoundsOfGeometry(const FrameGeometry& geometry, IntRect* out) const;
    // Corners of the current geometry or of the saved block, in view units
    // on request; the quad's angle is always the current angle.
    virtual void GetCorners(CornerQuad* out, uint8_t toView, uint8_t saved) const;
    // Rotated bounds of the current, saved or drag geometry, document
    // units or view units on request.
    virtual void GetBounds(IntRect* out, uint8_t toView, int16_t which) const;
    void GetBounds(IntRect* out, int16_t which) const { GetBounds(out, 0, which); }
    // Mode 0 moves the frame, mode 2 only the drag geometry. force ignores
    // the locked flag for this call (never the pinned one).
    virtual void MoveBy(const IntPoint& delta, int16_t mode, uint8_t force);
    // Shrinks offset so that the bounds of the current (any which but 1
    // and 2), saved (1) or drag (2) geometry moved by it stay inside limit;
    // a locked frame that is not pinned gets (0, 0) unless forced.
    virtual void ClampMove(IntPoint* offset, const IntRect& limit, int16_t which, uint8_t force);
    // Mode 0 turns the frame about centre, mode 2 only the drag geometry.
    virtual void RotateAbout(double angle, const IntPoint& centre, int16_t mode);
    // The largest whole-degree turn toward *angle that keeps the turned
    // bounds inside limit; 0 for a frame that cannot turn.
    virtual void FitRotation(double* angle, const IntPoint& centre, const IntRect& limit, int16_t mode);
    virtual void OffsetBy(const IntPoint& delta, uint8_t positive, uint8_t remember);
    virtual bool IsRotatable() const { return block_.rotatable != 0; }
    // The drag geometry becomes a copy of the geometry; mark starts a
    // change.
    virtual void BeginDrag(uint8_t mark);
    // The geometry takes the drag geometry (its own sides mask kept).
    virtual void EndDrag(uint8_t commit);
    // Printing and export: moves the frame by -(dx, dy) while on, back when
    // off; answers 0.
    virtual int32_t ShiftForOutput(uint8_t on, uint8_t mode, int32_t dx, int32_t dy);
    // Mode 1 moves by offset and remembers it, mode 2 takes the remembered
    // offset back, mode 0 only forgets it.
    void ApplyAlignOffset(int16_t mode, const IntPoint& offset);
    // Clears alignments that name this frame's anchors.
    void ValidateAnchors();
    // Fits the frame to its content rectangle (document units) by the
    // auto-size anchor, taking back the previous fit first.
    void ApplyAutoSize(const IntRect& content);

    // ---- zoom and units ----
    int32_t DocToViewLength(int32_t length) const;
    double DocToViewLengthF(double length) const;
    void DocToViewQuad(CornerQuad* q) const;
    void DocToViewRect(IntRect* r) const;
    void ViewToDocQuad(CornerQuad* q) const;
    void ViewToDocRect(IntRect* r) const;
    void DocToViewPoint(IntPoint* p) const;
    void ViewToDocPoint(IntPoint* p) const;

    // ---- outlines and regions (view regions in logical view units) ----
    // Region of the outline path of the view (view) or document geometry;
    // nullopt when the path fails.
    virtual std::optional<Region> MakeOutlineRegion(Dc* dc, uint8_t view);
    // The same into *rgn (replacing it); false, with *rgn emptied, on a
    // path failure.
    virtual bool BuildOutlineRegion(Dc* dc, Region* rgn, uint8_t view);
    // Rebuilds the cached outline region when it is stale, then copies it.
    virtual void GetOutlineRegion(Dc* dc, Region* out);
    // Five points: the four corners and the first again.
    virtual std::vector<IntPoint> QuadPolygon(const CornerQuad& q) const;
    virtual std::vector<IntPoint> GeometryPolygon(const FrameGeometry& g) const;
    virtual std::vector<IntPoint> RectPolygon(const IntRect& r) const;
    // Outline paths, traced between the context's beginPath and endPath.
    virtual void PathQuad(Dc* dc, const CornerQuad& q);
    virtual void PathRect(Dc* dc, const IntRect& r);
    virtual void PathGeometry(Dc* dc, const FrameGeometry& g);
    // The geometry inset by its border on its bordered sides, as a region.
    virtual std::optional<Region> InnerRegion(Dc* dc, const FrameGeometry& g);
    virtual void InnerViewRegion(Dc* dc, Region* out);
    // The view rectangle less the border on the bordered sides.
    virtual void GetInnerRect(IntRect* out) const;

    // ---- text wrap ----
    // The frame's outline for text flowing round it, in document units;
    // false, with nothing added, when the list has no room below limit.
    virtual bool AddOutlinePoints(Dc* dc, WrapPointList* list, int32_t limit);
    virtual bool AddRectPoints(Dc* dc, WrapPointList* list, int32_t limit);
    virtual bool AddRotatedPoints(Dc* dc, WrapPointList* list, int32_t limit);

    // ---- drawing ----
    // The page manager's entry: fill, content, border and frame edge,
    // clipped to what no opaque frame above covers when clip is set.
    virtual void DrawClipped(Dc* dc, uint8_t clip);
    // Fill, content and border.
    virtual void Draw(Dc* dc);
    virtual void DrawFill(Dc* dc);
    virtual void DrawBorder(Dc* dc);
    virtual void DrawContentPass(Dc* dc);
    virtual void DrawHandlesPass(Dc* dc, uint8_t onlyWhenEnabled);
    // The border band, width view units wide, in the selected brush.
    virtual void StrokeBorder(Dc* dc, int16_t width);
    // Paints the shape's inside with the selected brush (solid: the whole
    // inside, for the background).
    virtual void FillShape(Dc* dc, uint8_t solid);
    // What the frame shows inside (nothing in the root).
    virtual void DrawContent(Dc* dc);
    virtual void DrawHandles(Dc* dc);
    // Rubber-band outline of the drag geometry, NOT-XOR.
    virtual void DrawDragOutline(Dc* dc);
    // One-unit outline of a view geometry in the selected brush.
    virtual void StrokeOutline(Dc* dc, const FrameGeometry& g);
    virtual void DrawFrameEdge(Dc* dc, uint8_t selected, uint8_t erase, uint8_t clip);
    virtual void FrameOutline(Dc* dc);
    // Installs the part of the frame no opaque frame above covers as the
    // clip; saved gets the clip that was there (nullopt: none). True.
    virtual bool GetClipRegion(Dc* dc, std::optional<Region>* saved);
    // Clears the redraw-pending flag; true.
    virtual bool ClearRedraw(int32_t a, int32_t b, int32_t c);

    // ---- hits and handles ----
    virtual bool HitTest(const IntPoint& viewPoint);
    // Handle n (1-4 the corners, 5-8 the side midpoints), view units.
    virtual void GetHandlePoint(IntPoint* out, int16_t n) const;
    // The 4 x 4 pixel square around (x, y).
    virtual void GetHandleRect(int32_t x, int32_t y, IntRect* out) const;
    // The handle under the point, or 0.
    int16_t HitHandle(const IntPoint& viewPoint) const;
    // Null for a locked or pinned frame.
    virtual FrameTracker* CreateTracker(FrameView* view, int16_t mode);
    virtual bool TrackContent() { return false; }
    virtual void EditInfo(int32_t arg);

    // ---- attributes ----
    virtual void SetSelectable(uint8_t on) { block_.selectable = on; }
    virtual void SetSelected(uint8_t on);
    virtual void SetDrawingEnabled(uint8_t on) { drawingEnabled_ = on; }
    virtual void SetGhost(uint8_t on) { ghost_ = on; }
    virtual void SetRecordFed(uint8_t on);
    virtual void SetBarcodeOption(uint8_t value);
    virtual void SetDataField(int16_t field);
    // Selector 1 fill, 2 background, 3 text, any other the border.
    virtual void SetColour(uint8_t value, uint8_t selector);
    // Selector 1 fill, 3 text, any other the border.
    virtual void SetTint(uint8_t value, uint8_t selector);
    virtual void SetPattern(uint8_t value, uint8_t selector);
    virtual void SetBorderStyle(int16_t style);
    virtual void SetBorderWidth(int16_t width);
    virtual void SetFont(int16_t font);
    virtual void SetFontSize(int16_t size);
    virtual void SetFontStyle(int16_t style, int32_t arg2, int32_t arg3);
    virtual void SetAutoSizeAnchor(int16_t anchor);
    virtual void Touch(int32_t flag);
    virtual void SetCounterValue(int32_t /*value*/) {}
    void SetAttrLowNibble(uint8_t value);
    void SetAlignment(uint16_t anchorH, uint16_t anchorV, int16_t modeH, int16_t modeV);
    void GetAlignment(uint16_t* anchorH, uint16_t* anchorV, int16_t* modeH, int16_t* modeV) const;
    void SetStoryId(int16_t id);
    virtual void ResetStory();
    bool IsAutoSize() const { return block_.autoSize != 0; }
    int16_t GetAutoSizeBlock(AutoSizeBlock* out) const;
    void SetAutoSizeBlock(const AutoSizeBlock& block);
    // Zeroes the block; keeps its anchor mode unless all is set.
    void ClearAutoSize(bool all);
    void SetAutoSize(uint8_t on);
    void SetBackdrop(uint8_t on);
    void SetUndeletable(uint8_t on);
    void SetPinned(uint8_t on);
    void SetShown(uint8_t on);
    void SetLocked(uint8_t on);
    void SetPrintable(uint8_t on);
    void SetOutline(uint8_t kind, int16_t inset);
    void SetTextInset(int16_t inset);

    // ---- page link ----
    // Selector non-zero: the z-order word, else the page word.
    virtual void SetPageWord(int16_t value, uint8_t selector);
    virtual void SetPageLink(uint32_t pageHandle, uint8_t residence);

    // ---- group-id list: u32 frame ids, innermost last ----
    virtual void AppendId(uint32_t id);
    // -1, or an index past the end, gives the last entry; 0 without a
    // list or for an index below -1.
    virtual uint32_t GetId(int16_t index) const;
    virtual void RemoveLastId();
    virtual int16_t IdCount() const;
    // Every entry equal to id becomes replacement, or goes when replacement
    // is 0; whether id was there.
    virtual bool RemoveId(uint32_t id, uint32_t replacement);
    Handle GroupIds() const { return groupIds_; }

    // ---- text-wrap outline ----
    Handle WrapOutline() const { return wrapOutline_; }
    // Takes ownership of h (null drops the outline).
    void SetWrapOutline(Handle h);

    // Copies the attribute block, the outline settings, the rotatable,
    // record-fed and barcode-option bytes and the group list; 0.
    virtual int32_t CopyTo(FrameObj* destination);
    // 'TEXT' and a Handle holding "Tessaline Data", 14 bytes; null when
    // memory is short.
    virtual Handle MakeClipboardText(uint32_t* typeTag) const;

    // The current-page manager's zoom.
    void GetZoom(int16_t* numerator, int16_t* denominator) const;
    const FrameGeometry& ViewGeometry() const { return viewGeometry_; }
    const IntRect& ViewRect() const { return viewRect_; }
    const CornerQuad& ViewCorners() const { return viewCorners_; }
    const FrameGeometry& DragGeometry() const { return dragGeometry_; }
    uint8_t DrawState() const { return drawState_; }
    void SetDrawState(uint8_t state) { drawState_ = state; }
    bool RedrawPending() const { return redrawPending_ != 0; }
    void ClearRedrawPending() { redrawPending_ = 0; }
    bool IsGhost() const { return ghost_ != 0; }
    bool IsDrawingEnabled() const { return drawingEnabled_ != 0; }
    bool IsOutputShift() const { return outputShift_ != 0; }
    uint8_t OutputMode() const { return outputMode_; }
    bool IsRegionValid() const { return regionValid_ != 0; }
    uint8_t LastEdgeState() const { return lastEdgeState_; }
    const IntPoint& AlignOffset() const { return alignOffset_; }
    // Transparent for redraw marking: no background, or a line or an arc.
    bool IsTransparent() const;
    // Opaque for clipping: a background, not a line or an arc, drawn and
    // shown.
    bool IsOpaque() const;

protected:
    // What a subclass appends to the block goes through these; the root's
    // part comes first, and a subclass adds its own only when it succeeded.
    virtual int32_t ReadBody(FileHandle file, BlockTarget target);
    virtual int32_t WriteBody(FileHandle file, BlockTarget target);
    // Marks the change and the region stale, as every changing setter does.
    void BeginChange() { MarkChanged(1, 0); }

    // Services of the document; null without one.
    FrameView* View() const;
    Dc* ViewDc() const;
    // A colour of the document's table at a tint.
    ColorRef Tint(uint8_t index, uint8_t percent) const;
    // The raster operation the passes that follow the ghost rule use.
    int32_t GhostRop(int32_t rop) const { return ghost_ ? R2_NOTXORPEN : rop; }
    // The handle rectangles' brush: the pattern one for frames that cannot
    // be moved freely.
    bool HandlesRestricted() const;
    // The border pass's body, also run by the erase step.
    void BorderPass(Dc* dc);
    // Converts a logical view region for the device and back.
    void RegionToDevice(Dc* dc, Region* rgn) const;
    void RegionToLogical(Dc* dc, Region* rgn) const;
    // The geometry this which names.
    const FrameGeometry& GeometryOf(int16_t which) const;

    FrameDocument* document_ = nullptr;
    FrameBlock block_;
    Handle groupIds_ = nullptr;
    Handle wrapOutline_ = nullptr;

    // Run-time state, never written to a file.
    uint32_t runtimeWord_ = 0;
    FrameAttributes saved_;
    IntRect viewRect_;
    CornerQuad viewCorners_;
    FrameGeometry viewGeometry_;
    FrameGeometry dragGeometry_;
    uint8_t drawState_ = 1;
    uint8_t regionValid_ = 0;
    uint8_t ghost_ = 0;
    uint8_t drawingEnabled_ = 1;
    uint8_t lastEdgeState_ = 0;
    uint8_t outputShift_ = 0;
    uint8_t outputMode_ = 0;
    uint8_t changed_ = 0;
    uint8_t redrawPending_ = 1;
    uint8_t modified_ = 1;
    uint8_t clipWanted_ = 0;
    IntPoint alignOffset_;
    Region outlineRegion_;
};

// Reads n bytes where the file stands into a fresh Handle, after checking
// that the file holds them. 0, 38 when the file is shorter, 8 when memory
// runs out; out is null on failure.
int32_t ReadHandleFromFile(FileHandle file, uint32_t n, Handle* out);
