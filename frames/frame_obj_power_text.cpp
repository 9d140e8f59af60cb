#include "frames/frame_obj_power_text.h"

#include <cstring>

#include "foundation/byte_order.h"

FrameObjPowerText::FrameObjPowerText()
{
    // The record's values at creation; every other byte is 0.
    static const struct {
        size_t offset;
        uint16_t value;
    } kInitial[] = {
        {130, 1},   {132, 0},   {142, 1}, {144, 16}, {146, 100}, {148, 1}, {150, 16},
        {152, 100}, {154, 1},   {156, 100}, {158, 1}, {160, 1},  {162, 1}, {164, 13},
        {166, 100}, {168, 1},   {170, 100},
    };
    for (const auto& v : kInitial)
        PutU16LE(effect_ + v.offset, v.value);
}

uint32_t FrameObjPowerText::DataSize() const { return FrameObjRect::DataSize() + kGlyphEffectSize; }

int32_t FrameObjPowerText::ReadBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObjRect::ReadBody(file, target);
    if (result != 0)
        return result;
    uint8_t bytes[kGlyphEffectSize];
    const int32_t err = FileRead(file, bytes, sizeof bytes);
    if (err == 0)
        std::memcpy(effect_, bytes, sizeof bytes);
    return err;
}

int32_t FrameObjPowerText::WriteBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObjRect::WriteBody(file, target);
    if (result != 0)
        return result;
    return FileWrite(file, effect_, sizeof effect_);
}

int32_t FrameObjPowerText::CopyTo(FrameObj* destination)
{
    FrameObjRect::CopyTo(destination);
    if (destination->GetType() == kFramePowerText)
        static_cast<FrameObjPowerText*>(destination)->SetEffect(effect_);
    return 0;
}

void FrameObjPowerText::SetEffect(const uint8_t* record)
{
    MarkChanged(1, 0);
    std::memcpy(effect_, record, kGlyphEffectSize);
    Recompute(0);
}
