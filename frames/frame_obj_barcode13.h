// The Quick Card frame of type 13: a Postnet barcode over a ten-field
// address block, described by 92 bytes of field settings stored behind the
// barcode record.
#pragma once

#include <array>
#include <string>

#include "frames/address_block_layout.h"
#include "frames/frame_obj_barcode.h"

class FrameObjBarcode13 : public FrameObjBarcode {
public:
    FrameObjBarcode13();

    int16_t GetType() const override { return kFrameBarcode13; }
    uint32_t DataSize() const override;
    int32_t CopyTo(FrameObj* destination) override;

    // The address block, then (with the barcode option) the Postnet bars
    // above it.
    void DrawContent(Dc* dc) override;
    // The address block in the frame's font at its view size.
    void DrawText(Dc* dc) override;
    void DrawTextInto(Dc* dc) override { DrawText(dc); }
    void MeasureContent(IntRect* out) override;
    // Postnet digits of the record, or the sample on screen.
    void GetBarcodeData(uint8_t* out) override;
    // Shift: object info; else the Quick Card Specification.
    void EditInfo(int32_t arg) override;
    void BarcodeHook80(const uint8_t* block) override { SetQuickCardSpec(block); }

    const uint8_t* QuickCardSpec() const { return spec_; }
    void SetQuickCardSpec(const uint8_t* settings);

protected:
    // Whether field texts come from the current record.
    bool UsesRecord() const { return block_.recordFed || outputShift_; }
    // The fields' texts: the record's, or their bracketed names.
    void FieldTexts(std::array<std::string, kAddressFieldCount>* texts) const;
    // Height of the Postnet bars above the block at the zoom, 0 when
    // none are shown.
    int32_t BarsHeight(Dc* dc, int16_t numerator, int16_t denominator, int32_t* width);

    int32_t ReadBody(FileHandle file, BlockTarget target) override;
    int32_t WriteBody(FileHandle file, BlockTarget target) override;

    uint8_t spec_[kQuickCardSpecSize] = {};
};
