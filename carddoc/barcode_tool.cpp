#include "carddoc/barcode_tool.h"

#include <cstring>
#include <new>

#include "barcode/barcode_measure.h"
#include "carddoc/card_document_host.h"
#include "carddoc/trackers.h"
#include "database/field_table.h"
#include "foundation/byte_order.h"
#include "foundation/pstr.h"
#include "frames/frame_obj_barcode.h"
#include "frames/frame_obj_barcode13.h"
#include "frames/frame_obj_barcode18.h"
#include "frames/frame_obj_counter_barcode.h"
#include "platform/dc.h"
#include "records/preferences.h"

namespace {

constexpr uint8_t kHollowPattern = 1;
constexpr int16_t kCaptionPoints = 12;

// The counter starts at 1 and steps by 1, one label each, in 3 digits.
constexpr int32_t kCounterDefaults[8] = {1, 1, 1, 0, 3, 0, 0, 0};

// The settings' words that never start on: the barcode shown, and two
// words the dialog sets.
constexpr size_t kSpecForcedOff[] = {22, 2, 12};
constexpr size_t kSpecMarkWord = 22;

}  // namespace

uint8_t* QuickCardSpecRecord()
{
    static bool settled = false;
    uint8_t* record = GlobalToolPrefs();
    if (!settled) {
        settled = true;
        for (size_t word : kSpecForcedOff)
            PutU32LE(record + 4 * word, 0);
    }
    return record;
}

QuickCardItem* QuickCardLayoutItem()
{
    static bool settled = false;
    QuickCardItem* item = GlobalQuickCardItem();
    if (!settled) {
        settled = true;
        item->words[0] = 0;
        item->words[2] = 1;
    }
    return item;
}

// ---- BarcodeTool ----

BarcodeTool::BarcodeTool(ToolDocument* document) : RectTool(document)
{
    PStrFromCStr(record_ + kBarcodeDataOffset, "0123456789123");
    PutF64LE(record_ + 256, 72.0);
    PutF64LE(record_ + 264, 1.0);
    PutF64LE(record_ + 272, 1.0);
    PutF64LE(record_ + 280, 4.0);
    PutU16LE(record_ + kBarcodeSymbologyOffset, uint16_t(kBarcodeUpcA));
    std::memset(record_ + kBarcodeOptionsOffset, 1, kBarcodeOptionCount);
    PutF64LE(record_ + kBarcodeCaptionSizeOffset, 12.0);
    // Measured once on the screen at 100%, so that the record carries a
    // size before any frame has been made from it.
    if (std::unique_ptr<Dc> screen = Dc::ForMeasuring()) {
        BarcodeRecord rec;
        BarcodeRecordRead(record_, &rec);
        MeasureBarcode(screen.get(), &rec, nullptr, 1, 1);
        BarcodeRecordWrite(rec, record_);
    }

    FrameAttributes& d = defaults_;
    d.geometry.lineWidth = 0;
    d.background = kNoBackground;
    d.fillPattern = kHollowPattern;
    d.fontId = 0;
    d.fontSize = kCaptionPoints;
    d.fontStyle = 0;
}

void BarcodeTool::SetSymbology(int16_t type) { PutU16LE(record_ + kBarcodeSymbologyOffset, uint16_t(type)); }

namespace {

// What the status bar asks of the user while the tool waits for a click:
// it names what the click places.
const char* PlacePrompt(int16_t frameType)
{
    switch (frameType) {
    case kFramePicture:
        return "Drag a rectangle on the card to place the picture.";
    case kFrameCounterBarcode:
        return "Click on the card where the counter goes.";
    case kFrameFieldBarcode:
        return "Click on the card where the database field goes.";
    case kFrameBarcode13:
    case kFrameBarcode18:
        return "Click on the card where the quick card goes.";
    default:
        return "Click on the card where the barcode goes.";
    }
}

}  // namespace

int16_t BarcodeTool::GetFrameType() { return kFrameBarcode; }

void BarcodeTool::Activate(FrameTool* previous, int16_t kind)
{
    FrameTool::Activate(previous, kind);
    SetBarItemState(kBarFontLists, true);
    // The menu command only chooses the tool; until the user clicks on the
    // card nothing shows, so the status bar says what to do.
    ShowToolPrompt(PlacePrompt(GetFrameType()));
}

void BarcodeTool::Deactivate()
{
    FrameTool::Deactivate();
    SetBarItemState(kBarFontLists, false);
    ShowToolPrompt({});
}

void BarcodeTool::SetDefaultRecord(const uint8_t* record) { std::memcpy(record_, record, kBarcodeRecordSize); }

void BarcodeTool::ApplyDefaults()
{
    FrameTool::ApplyDefaults();
    if (auto* barcode = dynamic_cast<FrameObjBarcode*>(frame_))
        barcode->SetBarcodeRecord(record_);
}

CTracker* BarcodeTool::CreateTracker(int16_t mode)
{
    auto* tracker = new (std::nothrow) CBarcodeTracker(document_->CardView(), this, uint16_t(mode), 1);
    if (tracker)
        tracker->SetShape(uint16_t(GetFrameType()));
    return tracker;
}

int32_t BarcodeTool::GetCursor(const IntPoint& /*viewPoint*/) { return kCursorBarcode; }

// ---- CounterBarcodeTool ----

CounterBarcodeTool::CounterBarcodeTool(ToolDocument* document) : BarcodeTool(document)
{
    for (size_t i = 0; i < 8; ++i)
        PutI32LE(counter_ + kCounterStartOffset + 4 * i, kCounterDefaults[i]);
}

int16_t CounterBarcodeTool::GetFrameType() { return kFrameCounterBarcode; }

void CounterBarcodeTool::SetDefaultCounter(const uint8_t* counter)
{
    std::memcpy(counter_, counter, kCounterSpecSize);
}

void CounterBarcodeTool::ApplyDefaults()
{
    BarcodeTool::ApplyDefaults();
    if (auto* counter = dynamic_cast<FrameObjCounterBarcode*>(frame_))
        counter->SetCounterSpec(counter_);
}

int32_t CounterBarcodeTool::GetCursor(const IntPoint& /*viewPoint*/) { return kCursorCounter; }

// ---- DBFieldTool ----

DBFieldTool::DBFieldTool(ToolDocument* document) : BarcodeTool(document) { SetSymbology(kBarcodePostnet); }

bool DBFieldTool::MakesPicture() const { return defaults_.dataField == kFieldPicture; }

int16_t DBFieldTool::GetFrameType() { return MakesPicture() ? kFramePicture : kFrameFieldBarcode; }

void DBFieldTool::ApplyDefaults()
{
    if (MakesPicture())
        FrameTool::ApplyDefaults();
    else
        BarcodeTool::ApplyDefaults();
}

CTracker* DBFieldTool::CreateTracker(int16_t mode)
{
    return MakesPicture() ? FrameTool::CreateTracker(mode) : BarcodeTool::CreateTracker(mode);
}

int32_t DBFieldTool::GetCursor(const IntPoint& /*viewPoint*/) { return kCursorDatabaseField; }

// ---- Barcode13Tool ----

Barcode13Tool::Barcode13Tool(ToolDocument* document) : BarcodeTool(document)
{
    SetSymbology(kBarcodePostnet);
    QuickCardSpecRecord();
}

int16_t Barcode13Tool::GetFrameType() { return kFrameBarcode13; }

void Barcode13Tool::ApplyDefaults()
{
    BarcodeTool::ApplyDefaults();
    auto* quick = dynamic_cast<FrameObjBarcode13*>(frame_);
    if (!quick)
        return;
    const uint8_t* settings = QuickCardSpecRecord();
    quick->SetQuickCardSpec(settings);
    quick->SetBarcodeOption(uint8_t(GetU32LE(settings + 4 * kSpecMarkWord)));
    quick->Recompute(0);
    quick->MarkChanged(1, 0);
}

int32_t Barcode13Tool::GetCursor(const IntPoint& /*viewPoint*/) { return kCursorQuickCard13; }

// ---- Barcode18Tool ----

Barcode18Tool::Barcode18Tool(ToolDocument* document) : BarcodeTool(document)
{
    SetSymbology(kBarcodePostnet);
    QuickCardLayoutItem();
}

int16_t Barcode18Tool::GetFrameType() { return kFrameBarcode18; }

void Barcode18Tool::ApplyDefaults()
{
    BarcodeTool::ApplyDefaults();
    auto* quick = dynamic_cast<FrameObjBarcode18*>(frame_);
    if (!quick)
        return;
    const QuickCardItem* item = QuickCardLayoutItem();
    quick->SetQuickCardBlock(item->data);
    quick->SetBarcodeOption(uint8_t(item->words[0] & 0xFF));
    quick->Recompute(0);
    quick->MarkChanged(1, 0);
}

int32_t Barcode18Tool::GetCursor(const IntPoint& /*viewPoint*/) { return kCursorQuickCard18; }
