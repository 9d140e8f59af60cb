// A group of frames: it has no handles of its own and draws no body; its
// members name it as the last entry of their group-id lists. Its geometry
// is the union of its members' bounds, brought up to date by UpdateGroup.
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

    void DrawClipped(Dc* dc, uint8_t clip) override;
    void DrawBorder(Dc* dc) override;
    void FrameOutline(Dc* dc) override;
    // The outline of the whole group in the checkered brush, NOT-XOR.
    void DrawHandles(Dc* dc) override;

    // Takes the union of the bounds of the page's frames whose innermost
    // group is this one.
    virtual void UpdateGroup();
};
