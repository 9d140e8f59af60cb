// The Quick Card frame of type 13: a Postnet barcode over a ten-field
// address block, described by 92 bytes of field settings stored behind the
// barcode record.
#pragma once

#include "frames/frame_obj_barcode.h"

class FrameObjBarcode13 : public FrameObjBarcode {
public:
    FrameObjBarcode13();

    int16_t GetType() const override { return kFrameBarcode13; }
    uint32_t DataSize() const override;
    int32_t CopyTo(FrameObj* destination) override;

    const uint8_t* QuickCardSpec() const { return spec_; }
    void SetQuickCardSpec(const uint8_t* settings);

protected:
    int32_t ReadBody(FileHandle file, BlockTarget target) override;
    int32_t WriteBody(FileHandle file, BlockTarget target) override;

    uint8_t spec_[kQuickCardSpecSize] = {};
};
