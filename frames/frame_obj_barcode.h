// The barcode frame: a text frame that shows one barcode, described by the
// 348-byte barcode record (barcode_frame_format.h) stored behind its block.
// The counter, field and Quick Card frames derive from it.
#pragma once

#include "frames/barcode_frame_format.h"
#include "frames/frame_obj_text.h"

class FrameObjBarcode : public FrameObjText {
public:
    FrameObjBarcode();

    int16_t GetType() const override { return kFrameBarcode; }
    uint32_t DataSize() const override;
    int32_t CopyTo(FrameObj* destination) override;

    const uint8_t* Record() const { return record_; }
    uint16_t Symbology() const;
    // Marks the change, takes the 348 bytes and recomputes.
    void SetBarcodeRecord(const uint8_t* record);

protected:
    int32_t ReadBody(FileHandle file, BlockTarget target) override;
    int32_t WriteBody(FileHandle file, BlockTarget target) override;
    void SetSymbology(uint16_t symbology);

    uint8_t record_[kBarcodeRecordSize] = {};
    double lastAngle_ = 0.0;
    IntRect measured_;
};
