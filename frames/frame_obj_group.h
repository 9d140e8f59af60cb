// A group of frames: it has no handles of its own and draws no body; its
// members name it as the last entry of their group-id lists.
#pragma once

#include "frames/frame_obj.h"

class FrameObjGroup : public FrameObj {
public:
    FrameObjGroup()
    {
        block_.handleCount = 0;
        block_.pageWord = 1;
    }
    int16_t GetType() const override { return kFrameGroup; }
};
