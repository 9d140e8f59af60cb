// The straight line with two end caps. Its persistent form is the root's
// geometry block: start point, signed width and height to the end, the
// direction in the angle, the length in the word behind it, line width and
// style in the border words and the caps in the sides byte (start cap in
// the high nibble). The line record beside it is derived from that block.
#pragma once

#include "frames/frame_obj.h"

class FrameObjLine : public FrameObj {
public:
    FrameObjLine()
    {
        block_.handleCount = 2;
        line_.lineWidth = 1;
        line_.lineStyle = 1;
    }
    int16_t GetType() const override { return kFrameLine; }
    const LineRecord& Line() const { return line_; }

protected:
    LineRecord line_;
};
