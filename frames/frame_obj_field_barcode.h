// The barcode fed from a database field (the root's database field number).
// It stores nothing beyond the barcode frame.
#pragma once

#include "frames/frame_obj_barcode.h"

class FrameObjFieldBarcode : public FrameObjBarcode {
public:
    FrameObjFieldBarcode()
    {
        block_.barcodeOption = 0;
        SetSymbology(1);
    }
    int16_t GetType() const override { return kFrameFieldBarcode; }
};
