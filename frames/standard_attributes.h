// The attributes a new frame and the drawing tools start from.
#pragma once

#include <cstdint>

#include "frames/frame_block_format.h"

// Black border and text at full tint over a white fill, shown and printed,
// with no font, size, style or field of their own, and a solid line of
// lineWidth on the given sides: a new frame's is two units on every side,
// the tools' none.
FrameAttributes StandardFrameAttributes(int16_t lineWidth, uint8_t sides);
