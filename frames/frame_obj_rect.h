// The rectangle frame; also the base of the text, arc, image and power-text frames. It keeps nothing beyond the root's block.
#pragma once

#include "frames/frame_obj.h"

class FrameObjRect : public FrameObj {
public:
    int16_t GetType() const override { return kFrameRect; }
};
