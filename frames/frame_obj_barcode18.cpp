#include "frames/frame_obj_barcode18.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/win_error.h"
#include "graphics/quick_card_block.h"

FrameObjBarcode18::FrameObjBarcode18() { PutI32LE(header_ + kQuickCardHeaderWord8Offset, 1); }

FrameObjBarcode18::~FrameObjBarcode18() { HandleFree(block18_); }

uint32_t FrameObjBarcode18::DataSize() const
{
    return FrameObjBarcode::DataSize() + kQuickCardHeaderSize + HandleGetSize(block18_);
}

int32_t FrameObjBarcode18::ReadBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObjBarcode::ReadBody(file, target);
    if (result != 0)
        return result;
    uint8_t bytes[kQuickCardHeaderSize];
    int32_t err = FileRead(file, bytes, sizeof bytes);
    if (err != 0)
        return err;
    const uint32_t size = GetU32LE(bytes + kQuickCardBlockSizeOffset);
    Handle block = nullptr;
    if (size != 0) {
        err = ReadHandleFromFile(file, size, &block);
        if (err == 0 && QuickCardBlockConvertOld(block) != 0)
            err = kErrInvalidParameter;
        if (err != 0) {
            HandleFree(block);
            block = QuickCardBlockNew();
        }
    }
    std::memcpy(header_, bytes, sizeof bytes);
    PutU32LE(header_ + kQuickCardBlockSizeOffset, 0);
    HandleFree(block18_);
    block18_ = block;
    return err;
}

int32_t FrameObjBarcode18::WriteBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObjBarcode::WriteBody(file, target);
    if (result != 0)
        return result;
    uint8_t bytes[kQuickCardHeaderSize];
    std::memcpy(bytes, header_, sizeof bytes);
    const uint32_t size = HandleGetSize(block18_);
    PutU32LE(bytes + kQuickCardBlockSizeOffset, size);
    int32_t err = FileWrite(file, bytes, sizeof bytes);
    if (size)
        err += FileWrite(file, HandleData(block18_), size);
    return err;
}

int32_t FrameObjBarcode18::CopyTo(FrameObj* destination)
{
    if (destination->GetType() == kFrameBarcode18) {
        auto* d = static_cast<FrameObjBarcode18*>(destination);
        std::memcpy(d->header_, header_, kQuickCardHeaderSize);
        Handle copy = block18_;
        if (copy && HandleDuplicate(&copy) != 0)
            copy = nullptr;
        HandleFree(d->block18_);
        d->block18_ = copy;
    }
    return FrameObjBarcode::CopyTo(destination);
}

void FrameObjBarcode18::SetQuickCardBlock(Handle block)
{
    MarkChanged(1, 0);
    Handle copy = block;
    if (copy && HandleDuplicate(&copy) != 0)
        copy = nullptr;
    HandleFree(block18_);
    block18_ = copy;
    Recompute(0);
}
