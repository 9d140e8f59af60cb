// The star or regular polygon frame: the root's block followed by the
// 12-byte star record (star_record_format.h).
#pragma once

#include "frames/frame_obj.h"
#include "frames/star_record_format.h"

class FrameObjStar : public FrameObj {
public:
    int16_t GetType() const override { return kFrameStar; }
    uint32_t DataSize() const override;
    int32_t CopyTo(FrameObj* destination) override;

    const StarParams& Star() const { return star_; }
    void SetStarParams(const StarParams& star);

protected:
    int32_t ReadBody(FileHandle file, BlockTarget target) override;
    int32_t WriteBody(FileHandle file, BlockTarget target) override;

    StarParams star_;
};
