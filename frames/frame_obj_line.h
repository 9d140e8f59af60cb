// The straight line with two end caps. Its persistent form is the root's
// geometry block: start point, signed width and height to the end, the
// direction in the angle, the length in the word behind it, line width and
// style in the border words and the caps in the sides byte (start cap in
// the high nibble). The line record beside it is derived from that block
// and holds the line in view units after every recompute.
#pragma once

#include <vector>

#include "frames/frame_obj.h"
#include "frames/frame_obj_stroke_only.h"

class FrameObjLine : public FrameObjStrokeOnly<FrameObj> {
public:
    FrameObjLine()
    {
        block_.handleCount = 2;
        line_.lineWidth = 1;
        line_.lineStyle = 1;
    }
    int16_t GetType() const override { return kFrameLine; }
    const LineRecord& Line() const { return line_; }

    // The first corner of the rectangle is the start, the second the end:
    // the direction of the drag is kept.
    void SetFromRect(const IntRect& rect) override;
    // 0 x and 1 y of the start (the end follows), 2 the length, 3 and 4
    // the direction in degrees.
    void SetGeometryField(int16_t index, int16_t value) override;
    void BoundsOfGeometry(const FrameGeometry& g, IntRect* out) const override;
    void GetBounds(IntRect* out, uint8_t toView, int16_t which) const override;
    using FrameObj::GetBounds;
    void Recompute(uint8_t withRegion) override;
    std::optional<Region> MakeOutlineRegion(Dc* dc, uint8_t view) override;
    void GetOutlineRegion(Dc* dc, Region* out) override;
    std::optional<Region> InnerRegion(Dc* dc, const FrameGeometry& g) override;
    void StrokeOutline(Dc* dc, const FrameGeometry& g) override;
    void GetHandlePoint(IntPoint* out, int16_t n) const override;
    FrameTracker* CreateTracker(FrameView* view, int16_t mode) override;
    void RotateAbout(double angle, const IntPoint& centre, int16_t mode) override;
    void BeginDrag(uint8_t mark) override;
    bool AddRectPoints(Dc* dc, WrapPointList* list, int32_t limit) override;
    bool AddRotatedPoints(Dc* dc, WrapPointList* list, int32_t limit) override;

    // Start and end from the geometry, document units.
    virtual void GetEndPoints(IntRect* out) const;
    // Bounds of the line with its width and caps.
    virtual void LineBounds(const LineRecord& line, IntRect* out) const;
    // Traces the line's outline (width and caps) with MoveTo and LineTo.
    virtual void PathLine(Dc* dc, const LineRecord& line);

    // The outline of the line with its width and caps, grown by grow on
    // every side: four corners, turned with the line about its start.
    static std::vector<IntPoint> OutlinePolygon(const LineRecord& line, int32_t grow);

protected:
    // The line with its caps, from the view's line record.
    void StrokeAtWidth(Dc* dc, int16_t viewWidth) override;
    // The outline region, which the hit rebuilds and keeps.
    Region HitRegion() override;

    LineRecord line_;
};
