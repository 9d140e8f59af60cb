// The Quick Card frame of type 18: a Postnet barcode over a Quick Card
// block. Behind the barcode record it stores a 36-byte header, whose word
// at 12 holds the block's byte size in a file, and then the block's bytes.
#pragma once

#include "frames/frame_obj_barcode.h"

class FrameObjBarcode18 : public FrameObjBarcode {
public:
    FrameObjBarcode18();
    ~FrameObjBarcode18() override;

    int16_t GetType() const override { return kFrameBarcode18; }
    uint32_t DataSize() const override;
    int32_t CopyTo(FrameObj* destination) override;

    const uint8_t* Header() const { return header_; }
    Handle QuickCardBlock() const { return block18_; }
    // Marks the change and keeps a copy of the block.
    void SetQuickCardBlock(Handle block);

protected:
    // A block of the older layout is converted; one that the file cannot
    // hold, or that is neither layout, is replaced by an empty one and the
    // read fails.
    int32_t ReadBody(FileHandle file, BlockTarget target) override;
    int32_t WriteBody(FileHandle file, BlockTarget target) override;

    uint8_t header_[kQuickCardHeaderSize] = {};
    Handle block18_ = nullptr;
};
