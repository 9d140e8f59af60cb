#include "platform/ink_bounds_recorder.h"

#include <QPainterPath>

#include "platform/dc.h"

// An empty box (an empty region, no glyphs) adds nothing.
void InkBoundsRecorder::Add(const QRectF& box) { ink_ = ink_.isNull() ? box : ink_.united(box); }

void InkBoundsRecorder::lineTo(int32_t x, int32_t y)
{
    const IntPoint from = dc_ ? dc_->currentPosition() : IntPoint{x, y};
    const IntPoint both[2] = {from, {x, y}};
    polyline(both, 2);
}

void InkBoundsRecorder::polyline(const IntPoint* points, int count)
{
    if (!points || count <= 0)
        return;
    QRectF box(points[0].x, points[0].y, 0, 0);
    for (int i = 1; i < count; ++i)
        box = box.united(QRectF(points[i].x, points[i].y, 0, 0));
    // A line of one pixel's width covers the pixels it runs through.
    Add(box.adjusted(0, 0, 1, 1));
}

void InkBoundsRecorder::paintRgn(const Region& region)
{
    // The pixels it covers, as the paper gets them.
    const IntRect r = region.bounds();
    Add(QRectF(r.left, r.top, r.right - r.left, r.bottom - r.top));
}

void InkBoundsRecorder::extTextOut(int32_t x, int32_t y, uint32_t, const IntRect*, std::string_view text,
                                   const int32_t*)
{
    // The glyphs' own outlines: a caption's cell reaches below its digits.
    if (!dc_)
        return;
    if (!within_.isEmpty()) {
        const QRectF reach = dc_->textReach(x, y, text);
        if (reach.isNull() || within_.contains(reach))
            return;
    }
    Add(dc_->textPath(x, y, text).boundingRect());
}
