// The counter barcode: a barcode frame whose data is a counter, described by
// 544 bytes of counter settings stored behind the barcode record.
#pragma once

#include "frames/frame_obj_barcode.h"

class FrameObjCounterBarcode : public FrameObjBarcode {
public:
    FrameObjCounterBarcode();

    int16_t GetType() const override { return kFrameCounterBarcode; }
    uint32_t DataSize() const override;
    int32_t CopyTo(FrameObj* destination) override;
    // The number of labels produced so far.
    void SetCounterValue(int32_t value) override;

    // The base's, then the data is fetched again and the frame re-measured.
    void SetRecordFed(uint8_t on) override;
    // "[Counter]" on screen off a record; else prefix, number and suffix,
    // and the counter advances when the advance flag is set.
    void GetBarcodeData(uint8_t* out) override;
    // Measuring never advances the counter.
    void Recompute(uint8_t withRegion) override;
    // Every label printed or exported advances the counter; drawing on the
    // screen never does.
    int32_t ShiftForOutput(uint8_t on, uint8_t mode, int32_t dx, int32_t dy) override;
    // Shift: object info; Ctrl while shown as bars: Barcode Info; else the
    // Counter Info.
    void EditInfo(int32_t arg) override;

    const uint8_t* CounterSpec() const { return spec_; }
    void SetCounterSpec(const uint8_t* settings);

protected:
    int32_t ReadBody(FileHandle file, BlockTarget target) override;
    int32_t WriteBody(FileHandle file, BlockTarget target) override;

    uint8_t spec_[kCounterSpecSize] = {};
};
