// The ellipse frame. It keeps nothing beyond the root's block.
#pragma once

#include "frames/frame_obj.h"

class FrameObjEllipse : public FrameObj {
public:
    int16_t GetType() const override { return kFrameEllipse; }
};
