// InkBoundsRecorder: the box of what a drawing puts on paper, its shapes
// and the outlines of its glyphs, in logical units. Used with
// Dc::ForRecording on a drawing done only to measure it: the space a
// drawing leaves blank around its marks is not counted.
#pragma once

#include <QRectF>

#include "platform/dc_recorder.h"

class Dc;

class InkBoundsRecorder : public DcRecorder {
public:
    // The recording context, for the positions and glyphs of its text.
    void Attach(const Dc* dc) { dc_ = dc; }
    // Empty when nothing was drawn.
    const QRectF& Ink() const { return ink_; }

    void lineTo(int32_t x, int32_t y) override;
    void polyline(const IntPoint* points, int count) override { AddPoints(points, count); }
    void polylineTo(const IntPoint* points, int count) override;
    void polyPolygon(const IntPoint* points, const int* counts, int polygons) override;
    void rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void roundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t, int32_t) override;
    void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void fillRect(const IntRect& r, const Brush&) override;
    void fillRgn(const Region& region, const Brush&) override { AddRegion(region); }
    void paintRgn(const Region& region) override { AddRegion(region); }
    void extTextOut(int32_t x, int32_t y, uint32_t options, const IntRect* rect, std::string_view text,
                    const int32_t* dx) override;

private:
    void Add(const QRectF& box);
    void AddPoints(const IntPoint* points, int count);
    void AddRegion(const Region& region);

    const Dc* dc_ = nullptr;
    QRectF ink_;
};
