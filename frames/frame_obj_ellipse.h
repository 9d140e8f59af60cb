// The ellipse frame. It keeps nothing beyond the root's block.
#pragma once

#include "frames/frame_obj.h"

class FrameObjEllipse : public FrameObj {
public:
    int16_t GetType() const override { return kFrameEllipse; }

    void PathRect(Dc* dc, const IntRect& r) override;
    void PathGeometry(Dc* dc, const FrameGeometry& g) override;
    std::optional<Region> InnerRegion(Dc* dc, const FrameGeometry& g) override;
    void StrokeBorder(Dc* dc, int16_t width) override;
    void FillShape(Dc* dc, uint8_t solid) override;
    void StrokeOutline(Dc* dc, const FrameGeometry& g) override;
    bool AddRotatedPoints(Dc* dc, WrapPointList* list, int32_t limit) override;
};
