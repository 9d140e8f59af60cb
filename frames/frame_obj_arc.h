// The quarter-ellipse arc frame. Its geometry block holds the rotation
// angle as quadrant x 90 and the quadrant (0-3) as f32 in the word behind
// the angle; nothing is stored beyond the root's block. The placement's
// origin is the centre of the ellipse; the arc runs through the quarter
// that the placement's unturned rectangle covers.
#pragma once

#include "frames/frame_obj_rect.h"
#include "frames/frame_obj_stroke_only.h"

class FrameObjArc : public FrameObjStrokeOnly<FrameObjRect> {
public:
    int16_t GetType() const override { return kFrameArc; }

    // The quadrant is the direction of the drag from the rectangle's first
    // corner to its second.
    void SetFromRect(const IntRect& rect) override;
    void StrokeOutline(Dc* dc, const FrameGeometry& g) override;
    bool AddRotatedPoints(Dc* dc, WrapPointList* list, int32_t limit) override;

    // The band along the arc that takes hits, logical view units.
    virtual Region MakeArcRegion();

    // Traces the band of the arc of p (centre at its origin), thickness
    // across; at the full depth the whole quarter.
    static void TraceArcBand(Dc* dc, const FramePlacement& p, int32_t thickness);

protected:
    // The quarter ellipse, centred at the view placement's origin.
    void StrokeAtWidth(Dc* dc, int16_t viewWidth) override;
    Region HitRegion() override { return MakeArcRegion(); }
};
