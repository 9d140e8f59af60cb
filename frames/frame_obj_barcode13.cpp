#include "frames/frame_obj_barcode13.h"

#include <cstring>

#include "foundation/byte_order.h"

FrameObjBarcode13::FrameObjBarcode13()
{
    PutI32LE(spec_ + kQuickCardCloseUpOffset, 1);
    PutI32LE(spec_ + kQuickCardSkipEmptyOffset, 1);
    for (size_t field = 1; field <= kQuickCardFieldCount; ++field) {
        PutI32LE(spec_ + kQuickCardIncludeOffset + 4 * (field - 1), field == 1 ? 0 : 1);
        PutI32LE(spec_ + kQuickCardNewLineOffset + 4 * (field - 1), field >= 4 && field <= 8 ? 1 : 0);
    }
}

uint32_t FrameObjBarcode13::DataSize() const { return FrameObjBarcode::DataSize() + kQuickCardSpecSize; }

int32_t FrameObjBarcode13::ReadBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObjBarcode::ReadBody(file, target);
    if (result != 0)
        return result;
    uint8_t bytes[kQuickCardSpecSize];
    const int32_t err = FileRead(file, bytes, sizeof bytes);
    if (err == 0)
        std::memcpy(spec_, bytes, sizeof bytes);
    return err;
}

int32_t FrameObjBarcode13::WriteBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObjBarcode::WriteBody(file, target);
    if (result != 0)
        return result;
    return FileWrite(file, spec_, sizeof spec_);
}

int32_t FrameObjBarcode13::CopyTo(FrameObj* destination)
{
    if (destination->GetType() == kFrameBarcode13)
        std::memcpy(static_cast<FrameObjBarcode13*>(destination)->spec_, spec_, kQuickCardSpecSize);
    return FrameObjBarcode::CopyTo(destination);
}

void FrameObjBarcode13::SetQuickCardSpec(const uint8_t* settings)
{
    MarkChanged(1, 0);
    std::memcpy(spec_, settings, kQuickCardSpecSize);
    Recompute(0);
}
