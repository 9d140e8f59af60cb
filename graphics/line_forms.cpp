#include "graphics/line_forms.h"

#include <cmath>

#include "foundation/int_math.h"
#include "graphics/rotation.h"

void LineRecordToPlacement(const LineRecord& r, PlacementBlock* b)
{
    b->x = r.start.x;
    b->y = r.start.y;
    double angle = 0;
    b->length = float(VectorAngleToPoint(r.start, r.end, &angle));
    b->angle = float(angle);
    b->width = int16_t(Sub32(r.end.x, r.start.x));
    b->height = int16_t(Sub32(r.end.y, r.start.y));
    b->lineWidth = r.lineWidth;
    b->lineStyle = r.lineStyle;
    b->sides = uint8_t(((r.leftCap & 15) << 4) | (r.rightCap & 15));
}

void LinePlacementToRecord(const PlacementBlock& b, LineRecord* r)
{
    r->start = {b.x, b.y};
    r->end = {Add32(b.x, b.width), Add32(b.y, b.height)};
    r->lineWidth = b.lineWidth;
    r->lineStyle = b.lineStyle;
    r->leftCap = uint8_t(b.sides >> 4);
    r->rightCap = uint8_t(b.sides & 15);
}

void LineRecordAtDistance(const IntPoint& start, double length, double angle, LineRecord* r)
{
    r->start = start;
    r->end = {TruncToInt32(start.x + std::cos(-angle * kRadiansPerDegree) * length),
              TruncToInt32(start.y + std::sin(-angle * kRadiansPerDegree) * length)};
}

void LinePlacementRotateAbout(PlacementBlock* b, double angle, const IntPoint& centre)
{
    LineRecord r;
    LinePlacementToRecord(*b, &r);
    IntPoint ends[2] = {r.start, r.end};
    RotatePoint(ends, 2, centre.x, centre.y, angle);
    r.start = ends[0];
    r.end = ends[1];
    LineRecordToPlacement(r, b);
}
