// The barcode fed from a database field (the root's database field number).
// It stores nothing beyond the barcode frame. Off a record it shows the
// field's name.
#pragma once

#include "frames/frame_obj_barcode.h"

class FrameObjFieldBarcode : public FrameObjBarcode {
public:
    FrameObjFieldBarcode();
    int16_t GetType() const override { return kFrameFieldBarcode; }

    // The base's, then the data is fetched again and the frame re-measured.
    void SetRecordFed(uint8_t on) override;
    void SetDataField(int16_t field) override;

    // During output or when record-fed the field's text for the current
    // card; else its bracketed name, as "[Barcoded Name]" while shown as a
    // barcode.
    void GetBarcodeData(uint8_t* out) override;
    // Bars only for a record: record-fed, printing or exporting, or in
    // the print preview.
    bool DrawsBars() const override;
};
