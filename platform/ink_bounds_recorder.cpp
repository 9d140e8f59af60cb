#include "platform/ink_bounds_recorder.h"

#include <QPainterPath>

#include "platform/dc.h"

void InkBoundsRecorder::Add(const QRectF& box)
{
    if (box.isNull())
        return;
    ink_ = ink_.isNull() ? box : ink_.united(box);
}

void InkBoundsRecorder::AddPoints(const IntPoint* points, int count)
{
    if (!points || count <= 0)
        return;
    QRectF box(points[0].x, points[0].y, 0, 0);
    for (int i = 1; i < count; ++i)
        box = box.united(QRectF(points[i].x, points[i].y, 0, 0));
    // A line of no width or height is still ink.
    Add(box.adjusted(0, 0, box.width() == 0 ? 1 : 0, box.height() == 0 ? 1 : 0));
}

void InkBoundsRecorder::AddRegion(const Region& region)
{
    const QPainterPath shape = region.shape();
    if (!shape.isEmpty()) {
        Add(shape.boundingRect());
        return;
    }
    const IntRect r = region.bounds();
    Add(QRectF(r.left, r.top, r.right - r.left, r.bottom - r.top));
}

void InkBoundsRecorder::lineTo(int32_t x, int32_t y)
{
    const IntPoint from = dc_ ? dc_->currentPosition() : IntPoint{x, y};
    const IntPoint both[2] = {from, {x, y}};
    AddPoints(both, 2);
}

void InkBoundsRecorder::polylineTo(const IntPoint* points, int count)
{
    lineTo(points && count > 0 ? points[0].x : 0, points && count > 0 ? points[0].y : 0);
    AddPoints(points, count);
}

void InkBoundsRecorder::polyPolygon(const IntPoint* points, const int* counts, int polygons)
{
    int total = 0;
    for (int i = 0; counts && i < polygons; ++i)
        total += counts[i];
    AddPoints(points, total);
}

void InkBoundsRecorder::rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    Add(QRectF(QPointF(left, top), QPointF(right, bottom)).normalized());
}

void InkBoundsRecorder::roundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t, int32_t)
{
    rectangle(left, top, right, bottom);
}

void InkBoundsRecorder::ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    rectangle(left, top, right, bottom);
}

void InkBoundsRecorder::fillRect(const IntRect& r, const Brush&) { rectangle(r.left, r.top, r.right, r.bottom); }

void InkBoundsRecorder::extTextOut(int32_t x, int32_t y, uint32_t, const IntRect*, std::string_view text,
                                   const int32_t*)
{
    if (!dc_ || text.empty())
        return;
    // The glyphs' own outlines: a caption's cell reaches below its digits.
    Add(dc_->textPath(x, y, text).boundingRect());
}
