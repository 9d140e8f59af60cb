#include "graphics/placement.h"

#include <algorithm>
#include <cmath>

#include "graphics/corner_quad.h"
#include "foundation/int_math.h"
#include "graphics/rotation.h"

void PlacementToRect(const FramePlacement& p, IntRect* r)
{
    *r = {p.x, p.y, Add32(p.x, p.width), Add32(p.y, p.height)};
}

void RectToPlacement(const IntRect& r, PlacementBlock* b)
{
    RectToPlacement(r, 0.0, b);
}

void RectToPlacement(const IntRect& r, double angle, PlacementBlock* b)
{
    b->x = r.left;
    b->y = r.top;
    b->width = int16_t(Sub32(r.right, r.left));
    b->height = int16_t(Sub32(r.bottom, r.top));
    b->angle = float(angle);
    b->sides = kAllSides;
}

void PlacementCorners(const FramePlacement& p, CornerQuad* q)
{
    const int32_t w = p.width;
    const int32_t h = p.height;
    IntPoint* c = q->corners;
    c[kQuadTopLeft] = {0, 0};
    c[kQuadTopRight] = {w, 0};
    c[kQuadBottomRight] = {w, h};
    c[kQuadBottomLeft] = {0, h};
    if (p.angle != 0) {
        // Plain sine and cosine, not RotatePoint's quarter-turn shortcut:
        // the documents already made were laid out with exactly these
        // corners, and their frames must keep their outlines.
        const double s = std::sin(p.angle * kRadiansPerDegree);
        const double k = std::cos(p.angle * kRadiansPerDegree);
        c[kQuadTopRight] = {TruncToInt32(k * w), TruncToInt32(-s * w)};
        c[kQuadBottomRight] = {TruncToInt32(k * w + s * h), TruncToInt32(k * h - s * w)};
        c[kQuadBottomLeft] = {TruncToInt32(s * h), TruncToInt32(k * h)};
    }
    for (IntPoint& pt : q->corners)
        pt = {Add32(pt.x, p.x), Add32(pt.y, p.y)};
    q->angle = p.angle;
}

void PlacementRotatedBounds(const FramePlacement& p, IntRect* r)
{
    CornerQuad q;
    PlacementCorners(p, &q);
    CornerQuadBounds(q, r);
}

void PlacementToCornerQuad(const FramePlacement& p, CornerQuad* q)
{
    const int32_t right = Add32(p.x, p.width);
    const int32_t bottom = Add32(p.y, p.height);
    q->corners[kQuadTopLeft] = {p.x, p.y};
    q->corners[kQuadTopRight] = {right, p.y};
    q->corners[kQuadBottomRight] = {right, bottom};
    q->corners[kQuadBottomLeft] = {p.x, bottom};
    q->angle = p.angle;
}

void PlacementToCornerQuadAbout(const FramePlacement& p, const IntPoint& centre, CornerQuad* q)
{
    PlacementToCornerQuad(p, q);
    RotatePoint(q->corners, 4, centre.x, centre.y, q->angle);
}

namespace {

double Distance(const IntPoint& a, const IntPoint& b)
{
    return std::hypot(double(b.x) - a.x, double(b.y) - a.y);
}

}  // namespace

void QuadToPlacement(const CornerQuad& q, FramePlacement* p)
{
    const IntPoint* c = q.corners;
    p->x = c[kQuadTopLeft].x;
    p->y = c[kQuadTopLeft].y;
    p->width = int16_t(TruncToInt32(Distance(c[kQuadTopLeft], c[kQuadTopRight])));
    p->height = int16_t(TruncToInt32(Distance(c[kQuadTopRight], c[kQuadBottomRight])));
    p->angle = q.angle;
}

void PlacementScale(PlacementBlock* b, int32_t num, int32_t den)
{
    if (den == 0)
        return;
    b->height = int16_t(ScaleTrunc(b->height, num, den));
    b->width = int16_t(ScaleTrunc(b->width, num, den));
    b->x = ScaleTrunc(b->x, num, den);
    b->y = ScaleTrunc(b->y, num, den);
    b->length = float(double(num) * b->length / den);
    if (b->lineWidth != 0)
        b->lineWidth = int16_t(std::max(ScaleTrunc(b->lineWidth, num, den), 1));
}

void PlacementRotateAbout(FramePlacement* p, double angle, const IntPoint& centre)
{
    IntPoint origin{p->x, p->y};
    RotatePoint(&origin, 1, centre.x, centre.y, angle);
    p->x = origin.x;
    p->y = origin.y;
    const int32_t sum = TruncToInt32(double(TruncToInt32(p->angle)) + angle);
    p->angle = float(sum % 360);
}

int32_t PlacementInset(FramePlacement* p, int32_t dx, int32_t dy, int32_t anchor)
{
    if (anchor == 0) {
        PlacementInsetBoth(p, dx, dy);
        return 0;
    }
    p->width = int16_t(Sub32(p->width, dx));
    p->height = int16_t(Sub32(p->height, dy));
    if (anchor == 1 || anchor == 4)
        p->x = Add32(p->x, dx);
    if (anchor == 3 || anchor == 4)
        p->y = Add32(p->y, dy);
    return 0;
}

void PlacementInsetBoth(FramePlacement* p, int32_t dx, int32_t dy)
{
    p->width = int16_t(Sub32(p->width, Add32(dx, dx)));
    p->height = int16_t(Sub32(p->height, Add32(dy, dy)));
    p->x = Add32(p->x, dx);
    p->y = Add32(p->y, dy);
}

namespace {

// Shrinks the chosen sides and returns the shift of the origin along the
// frame's own axes.
IntPoint InsetSidesSizes(FramePlacement* p, int32_t* n, uint32_t sides)
{
    if (int64_t(*n) * 2 > p->width)
        *n = p->width / 2;
    if (int64_t(*n) * 2 > p->height)
        *n = p->height / 2;
    IntPoint shift;
    if (sides & kSideTop) {
        p->height = int16_t(Sub32(p->height, *n));
        shift.y = *n;
    }
    if (sides & kSideRight)
        p->width = int16_t(Sub32(p->width, *n));
    if (sides & kSideBottom)
        p->height = int16_t(Sub32(p->height, *n));
    if (sides & kSideLeft) {
        p->width = int16_t(Sub32(p->width, *n));
        shift.x = *n;
    }
    return shift;
}

}  // namespace

void PlacementInsetSidesPlain(FramePlacement* p, int32_t n, uint32_t sides)
{
    const IntPoint shift = InsetSidesSizes(p, &n, sides);
    p->x = Add32(p->x, shift.x);
    p->y = Add32(p->y, shift.y);
}

void PlacementInsetSides(FramePlacement* p, int32_t n, uint32_t sides)
{
    const IntPoint shift = InsetSidesSizes(p, &n, sides);
    if (p->angle == 0) {
        p->x = Add32(p->x, shift.x);
        p->y = Add32(p->y, shift.y);
        return;
    }
    const int16_t grow = int16_t((n != 0 ? 1 : 0) + (n > 1 ? 1 : 0));
    p->width = int16_t(p->width + grow);
    p->height = int16_t(p->height + grow);
    IntPoint turned = shift;
    RotatePoint(&turned, 1, 0, 0, p->angle);
    p->x = Add32(p->x, turned.x);
    p->y = Add32(p->y, turned.y);
}
