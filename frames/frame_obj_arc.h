// The quarter-ellipse arc frame. Its geometry block holds the rotation
// angle as quadrant x 90 and the quadrant (0-3) as f32 in the word behind
// the angle; nothing is stored beyond the root's block.
#pragma once

#include "frames/frame_obj_rect.h"

class FrameObjArc : public FrameObjRect {
public:
    int16_t GetType() const override { return kFrameArc; }
};
