// The tools that place barcodes: the plain barcode, the counter barcode,
// the database field (a field barcode, or a record picture for the Picture
// field) and the two quick-card frames. A click places them: the barcode
// tracker leaves a small square where the button was let go, and the frame
// then fits itself to what it shows.
#pragma once

#include "barcode/barcode_record.h"
#include "carddoc/rect_tool.h"
#include "frames/barcode_frame_format.h"

// Application cursors of the barcode tools.
enum : int32_t {
    kCursorCounter = 14,
    kCursorBarcode = 15,
    kCursorQuickCard13 = 20,
    kCursorDatabaseField = 22,
    kCursorQuickCard18 = 33,
};

// The text bar's font lists: on while a barcode tool is current.
constexpr int16_t kBarFontLists = 131;

class BarcodeTool : public RectTool {
public:
    explicit BarcodeTool(ToolDocument* document);
    int16_t GetKind() override { return kToolBarcode; }
    int16_t GetFrameType() override;
    void Activate(FrameTool* previous, int16_t kind) override;
    void Deactivate() override;
    void ApplyDefaults() override;
    CTracker* CreateTracker(int16_t mode) override;
    int32_t GetCursor(const IntPoint& viewPoint) override;

    // The 348 bytes every frame the tool makes starts from.
    const uint8_t* DefaultRecord() const { return record_; }
    // Barcode Info with nothing selected edits this default.
    void SetDefaultRecord(const uint8_t* record);

protected:
    void SetSymbology(int16_t type);

    uint8_t record_[kBarcodeRecordSize] = {};
};

class CounterBarcodeTool : public BarcodeTool {
public:
    explicit CounterBarcodeTool(ToolDocument* document);
    int16_t GetKind() override { return kToolCounterBarcode; }
    int16_t GetFrameType() override;
    void ApplyDefaults() override;
    int32_t GetCursor(const IntPoint& viewPoint) override;

    const uint8_t* DefaultCounter() const { return counter_; }
    void SetDefaultCounter(const uint8_t* counter);

private:
    uint8_t counter_[kCounterSpecSize] = {};
};

// Makes a field barcode of the tool's database field; for the Picture
// field a record picture, drawn like a rectangle.
class DBFieldTool : public BarcodeTool {
public:
    explicit DBFieldTool(ToolDocument* document);
    int16_t GetKind() override { return kToolDatabaseField; }
    int16_t GetFrameType() override;
    void ApplyDefaults() override;
    CTracker* CreateTracker(int16_t mode) override;
    int32_t GetCursor(const IntPoint& viewPoint) override;

private:
    bool MakesPicture() const;
};

// The quick-card frame of the Quick Card Specification: an address block
// under Postnet bars, set up by the program's one settings record.
class Barcode13Tool : public BarcodeTool {
public:
    explicit Barcode13Tool(ToolDocument* document);
    int16_t GetKind() override { return kToolBarcode13; }
    int16_t GetFrameType() override;
    void ApplyDefaults() override;
    int32_t GetCursor(const IntPoint& viewPoint) override;
};

// The quick card of Place Quick Card, laid out by the program's one
// quick-card item.
class Barcode18Tool : public BarcodeTool {
public:
    explicit Barcode18Tool(ToolDocument* document);
    int16_t GetKind() override { return kToolBarcode18; }
    int16_t GetFrameType() override;
    void ApplyDefaults() override;
    int32_t GetCursor(const IntPoint& viewPoint) override;
};

// The shared records of the two quick-card tools, read from "QXDefPref"
// once per run and written back when a card document goes.
uint8_t* QuickCardSpecRecord();
struct QuickCardItem;
QuickCardItem* QuickCardLayoutItem();
