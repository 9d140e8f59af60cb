#include "frames/frame_obj_counter_barcode.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/keys.h"
#include "frames/content_frame_host.h"
#include "frames/counter_text.h"
#include "frames/own_record_io.h"

FrameObjCounterBarcode::FrameObjCounterBarcode()
{
    PutI32LE(spec_ + kCounterStartOffset, 1);
    PutI32LE(spec_ + kCounterStepOffset, 1);
    PutI32LE(spec_ + kCounterRepeatOffset, 1);
    PutI32LE(spec_ + kCounterWidthOffset, 3);
    block_.barcodeOption = 0;
}

uint32_t FrameObjCounterBarcode::DataSize() const { return FrameObjBarcode::DataSize() + kCounterSpecSize; }

int32_t FrameObjCounterBarcode::ReadBody(FileHandle file, BlockTarget target)
{
    return ReadOwnRecord(FrameObjBarcode::ReadBody(file, target), file, spec_, sizeof spec_);
}

int32_t FrameObjCounterBarcode::WriteBody(FileHandle file, BlockTarget target)
{
    return WriteOwnRecord(FrameObjBarcode::WriteBody(file, target), file, spec_, sizeof spec_);
}

int32_t FrameObjCounterBarcode::CopyTo(FrameObj* destination)
{
    if (destination->GetType() == kFrameCounterBarcode)
        std::memcpy(static_cast<FrameObjCounterBarcode*>(destination)->spec_, spec_, kCounterSpecSize);
    return FrameObjBarcode::CopyTo(destination);
}

void FrameObjCounterBarcode::SetCounterValue(int32_t value)
{
    PutI32LE(spec_ + kCounterValueOffset, value);
    modified_ = 1;
}

void FrameObjCounterBarcode::SetCounterSpec(const uint8_t* settings)
{
    MarkChanged(1, 0);
    std::memcpy(spec_, settings, kCounterSpecSize);
    Recompute(0);
}

void FrameObjCounterBarcode::GetBarcodeData(uint8_t* out)
{
    if (!InOutput() && !block_.recordFed) {
        PStrFromCStr(out, "[Counter]");
        return;
    }
    CounterText(spec_, out);
    if (GetI32LE(spec_ + kCounterAdvanceOffset) != 0) {
        PutI32LE(spec_ + kCounterValueOffset, int32_t(uint32_t(GetI32LE(spec_ + kCounterValueOffset)) + 1));
        modified_ = 1;
    }
}

void FrameObjCounterBarcode::SetRecordFed(uint8_t on)
{
    FrameObjBarcode::SetRecordFed(on);
    FetchData();
    SetRemeasure();
    Recompute(0);
}

void FrameObjCounterBarcode::Recompute(uint8_t withRegion)
{
    const int32_t advance = GetI32LE(spec_ + kCounterAdvanceOffset);
    PutI32LE(spec_ + kCounterAdvanceOffset, 0);
    FrameObjBarcode::Recompute(withRegion);
    PutI32LE(spec_ + kCounterAdvanceOffset, advance);
}

int32_t FrameObjCounterBarcode::ShiftForOutput(uint8_t on, uint8_t mode, int32_t dx, int32_t dy)
{
    const int32_t result = FrameObjBarcode::ShiftForOutput(on, mode, dx, dy);
    PutI32LE(spec_ + kCounterAdvanceOffset, on ? 1 : 0);
    return result;
}

void FrameObjCounterBarcode::EditInfo(int32_t arg)
{
    if (IsKeyDown(kVkShift))
        FrameObjText::EditInfo(arg);
    else if (IsKeyDown(kVkControl) && ShownAsBarcode())
        ContentHostOf(this)->DoBarcodeInfo();
    else
        ContentHostOf(this)->DoCounterInfo();
}
