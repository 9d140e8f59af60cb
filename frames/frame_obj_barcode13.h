// The Quick Card frame of type 13: a Postnet barcode over a ten-field
// address block, described by 92 bytes of field settings stored behind the
// barcode record.
#pragma once

#include <array>
#include <string>

#include "frames/address_block_layout.h"
#include "frames/frame_obj_quick_card_barcode.h"

class FrameObjBarcode13 : public FrameObjQuickCardBarcode {
public:
    FrameObjBarcode13();

    int16_t GetType() const override { return kFrameBarcode13; }
    uint32_t DataSize() const override;
    int32_t CopyTo(FrameObj* destination) override;

    // The address block in the frame's font at its view size.
    void DrawText(Dc* dc) override;
    void MeasureContent(IntRect* out) override;

    const uint8_t* QuickCardSpec() const { return spec_; }
    void SetQuickCardSpec(const uint8_t* settings);

protected:
    // The fields' texts: the record's, or their bracketed names.
    void FieldTexts(std::array<std::string, kAddressFieldCount>* texts) const;
    uint8_t* ShownWord() override { return spec_ + kQuickCardShownOffset; }
    // The Quick Card dialog of the address fields.
    void EditBlock() override;

    int32_t ReadBody(FileHandle file, BlockTarget target) override;
    int32_t WriteBody(FileHandle file, BlockTarget target) override;

    uint8_t spec_[kQuickCardSpecSize] = {};
};
