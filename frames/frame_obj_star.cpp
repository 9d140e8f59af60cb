#include "frames/frame_obj_star.h"

uint32_t FrameObjStar::DataSize() const { return FrameObj::DataSize() + kStarRecordSize; }

int32_t FrameObjStar::ReadBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObj::ReadBody(file, target);
    if (result != 0)
        return result;
    uint8_t bytes[kStarRecordSize];
    const int32_t err = FileRead(file, bytes, sizeof bytes);
    if (err == 0)
        star_ = GetStarParams(bytes);
    return err;
}

int32_t FrameObjStar::WriteBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObj::WriteBody(file, target);
    if (result != 0)
        return result;
    uint8_t bytes[kStarRecordSize];
    PutStarParams(bytes, star_);
    return FileWrite(file, bytes, sizeof bytes);
}

int32_t FrameObjStar::CopyTo(FrameObj* destination)
{
    FrameObj::CopyTo(destination);
    if (destination->GetType() == kFrameStar)
        static_cast<FrameObjStar*>(destination)->SetStarParams(star_);
    return 0;
}

void FrameObjStar::SetStarParams(const StarParams& star)
{
    star_ = star;
    modified_ = 1;
}
