// The rounded-rectangle frame. It keeps nothing beyond the root's block.
#pragma once

#include "frames/frame_obj.h"

class FrameObjRoundRect : public FrameObj {
public:
    int16_t GetType() const override { return kFrameRoundRect; }
};
