// The Quick Card frame of type 18: a Postnet barcode over a Quick Card
// block. Behind the barcode record it stores a 36-byte header, whose word
// at 12 holds the block's byte size in a file, and then the block's bytes.
#pragma once

#include "frames/frame_obj_quick_card_barcode.h"

class FrameObjBarcode18 : public FrameObjQuickCardBarcode {
public:
    FrameObjBarcode18();
    ~FrameObjBarcode18() override;

    int16_t GetType() const override { return kFrameBarcode18; }
    uint32_t DataSize() const override;
    int32_t CopyTo(FrameObj* destination) override;

    // The block inside the frame's border, below the bars when shown.
    void DrawText(Dc* dc) override;
    // The block's size at the zoom, in document units; with the bars
    // above it, as it is drawn.
    void MeasureContent(IntRect* out) override;
    // Bit 0x4000 of the style goes to the block's items (set or clear the
    // other bits); the frame keeps the style without it.
    void SetFontStyle(int16_t style, int32_t arg2, int32_t arg3) override;
    // The block's lines follow the anchor.
    void SetAutoSizeAnchor(int16_t anchor) override;

    const uint8_t* Header() const { return header_; }
    Handle QuickCardBlock() const { return block18_; }
    // Marks the change and keeps a copy of the block.
    void SetQuickCardBlock(Handle block);

protected:
    uint8_t* ShownWord() override { return header_ + kQuickCardFrameShownOffset; }
    // The Quick Card Info dialog of the block.
    void EditBlock() override;

    // A block of the older layout is converted; one that the file cannot
    // hold, or that is neither layout, is replaced by an empty one and the
    // read fails.
    int32_t ReadBody(FileHandle file, BlockTarget target) override;
    int32_t WriteBody(FileHandle file, BlockTarget target) override;

    uint8_t header_[kQuickCardFrameHeaderSize] = {};
    Handle block18_ = nullptr;
};
