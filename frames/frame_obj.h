// The root of the frame classes (frame type 0): everything all frames share
// -- geometry, colours, patterns, border, text attributes, alignment, group
// membership, the page link -- its persistent block (frame_block_format.h)
// and the bookkeeping that drives redrawing and saving.
//
// In memory the two variable parts of the block (the text-wrap outline and
// the group-id list) are Handles held here; only their sizes go to a file.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "frames/frame_block_format.h"
#include "graphics/placement_records.h"

class FrameDocument;

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
    virtual void Invalidate(int32_t flag);
    virtual void Recompute(uint8_t withRegion);
    virtual void ToggleSaved();
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
    // Rotated bounds of the current, saved or drag geometry, document
    // units.
    virtual void GetBounds(IntRect* out, int16_t which) const;
    virtual void MoveBy(const IntPoint& delta, int16_t mode, uint8_t force);
    virtual void OffsetBy(const IntPoint& delta, uint8_t positive, uint8_t remember);
    virtual bool IsRotatable() const { return block_.rotatable != 0; }

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

protected:
    // What a subclass appends to the block goes through these; the root's
    // part comes first, and a subclass adds its own only when it succeeded.
    virtual int32_t ReadBody(FileHandle file, BlockTarget target);
    virtual int32_t WriteBody(FileHandle file, BlockTarget target);
    // Marks the change and the region stale, as every changing setter does.
    void BeginChange() { MarkChanged(1, 0); }

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
};

// Reads n bytes where the file stands into a fresh Handle, after checking
// that the file holds them. 0, 38 when the file is shorter, 8 when memory
// runs out; out is null on failure.
int32_t ReadHandleFromFile(FileHandle file, uint32_t n, Handle* out);
