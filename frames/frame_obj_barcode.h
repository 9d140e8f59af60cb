// The barcode frame: a text frame that shows one barcode, described by the
// 348-byte barcode record (barcode_frame_format.h) stored behind its block.
// The data it encodes is asked of its source just before every drawing and
// measuring; it shows it as bars (barcode option 1) or as one line of text.
// The counter, field and Quick Card frames derive from it.
#pragma once

#include "foundation/pstr.h"
#include "frames/barcode_frame_format.h"
#include "frames/frame_obj_text.h"

struct BarcodeRecord;

class FrameObjBarcode : public FrameObjText {
public:
    FrameObjBarcode();

    int16_t GetType() const override { return kFrameBarcode; }
    uint32_t DataSize() const override;
    int32_t CopyTo(FrameObj* destination) override;

    // Each of these changes what the frame measures: the base's change,
    // then the re-measure flag (the colour, tint and pattern setters only
    // for the text's own, selector 3).
    void SetColour(uint8_t value, uint8_t selector) override;
    void SetTint(uint8_t value, uint8_t selector) override;
    void SetPattern(uint8_t value, uint8_t selector) override;
    void SetBorderWidth(int16_t width) override;
    void SetFont(int16_t font) override;
    void SetFontSize(int16_t size) override;
    void SetFontStyle(int16_t style, int32_t arg2, int32_t arg3) override;
    void ToggleSaved() override;

    const uint8_t* Record() const { return record_; }
    uint16_t Symbology() const;
    bool ShownAsBarcode() const { return block_.barcodeOption != 0; }
    bool RemeasurePending() const { return record_[kBarcodeRemeasureOffset] != 0; }
    // Marks the change, takes the 348 bytes and recomputes.
    void SetBarcodeRecord(const uint8_t* record);

    // The bars, or the data as text.
    void DrawContent(Dc* dc) override;
    // The data as one line of text at the frame's top-left.
    void DrawText(Dc* dc) override;
    void DrawTextInto(Dc* dc) override;
    // Measures the content and fits the frame to it.
    void Recompute(uint8_t withRegion) override;
    // The re-measure flag follows the output.
    int32_t ShiftForOutput(uint8_t on, uint8_t mode, int32_t dx, int32_t dy) override;
    // Shift: the frame's object info; else the Barcode Info while shown as
    // bars.
    void EditInfo(int32_t arg) override;

    // The text to encode now.
    virtual void GetBarcodeData(uint8_t* out);
    // The size of what the frame shows, document units, grown by the
    // border.
    virtual void MeasureContent(IntRect* out);
    // The size of the data drawn as text in the frame's font at its
    // document size.
    virtual void MeasureText(Dc* dc, IntRect* out);
    // Whether the content is drawn as bars now.
    virtual bool DrawsBars() const;
    // Draws the bars in the frame's font and colours.
    void DrawBars(Dc* dc);

protected:
    int32_t ReadBody(FileHandle file, BlockTarget target) override;
    int32_t WriteBody(FileHandle file, BlockTarget target) override;
    void SetSymbology(uint16_t symbology);
    void SetRemeasure() { record_[kBarcodeRemeasureOffset] = 1; }
    // Whether the frame is being printed or exported.
    bool InOutput() const { return outputShift_ != 0; }
    // Fetches the data into the record's data text.
    void FetchData();
    // Measures the record's barcode in document units.
    void MeasureBars(IntRect* out);

    uint8_t record_[kBarcodeRecordSize] = {};
    double lastAngle_ = 0.0;
    IntRect measured_;
};
