// The rectangle frame; also the base of the text, arc, image and power-text
// frames. It keeps nothing beyond the root's block; its border is the
// styled border of the graphics layer along the sides its mask chooses.
#pragma once

#include "frames/frame_obj.h"

class FrameObjRect : public FrameObj {
public:
    int16_t GetType() const override { return kFrameRect; }

    void PathGeometry(Dc* dc, const FrameGeometry& g) override;
    void StrokeBorder(Dc* dc, int16_t width) override;
    void StrokeOutline(Dc* dc, const FrameGeometry& g) override;
};
