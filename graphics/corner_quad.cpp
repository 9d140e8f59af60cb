#include "graphics/corner_quad.h"

#include <algorithm>
#include <cmath>

#include "foundation/int_math.h"

void RectToCornerQuad(const IntRect& r, CornerQuad* q)
{
    q->corners[kQuadTopLeft] = {r.left, r.top};
    q->corners[kQuadTopRight] = {r.right, r.top};
    q->corners[kQuadBottomRight] = {r.right, r.bottom};
    q->corners[kQuadBottomLeft] = {r.left, r.bottom};
    q->angle = 0;
}

void CornerQuadBounds(const CornerQuad& q, IntRect* r)
{
    const IntPoint* c = q.corners;
    if (q.angle == 0 && c[kQuadTopLeft].y == c[kQuadTopRight].y) {
        const IntPoint& a = c[kQuadTopLeft];
        const IntPoint& b = c[kQuadBottomRight];
        *r = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
        return;
    }
    *r = {c[0].x, c[0].y, c[0].x, c[0].y};
    for (int i = 1; i < 4; ++i) {
        r->left = std::min(r->left, c[i].x);
        r->top = std::min(r->top, c[i].y);
        r->right = std::max(r->right, c[i].x);
        r->bottom = std::max(r->bottom, c[i].y);
    }
}

void CornerQuadBoundsNormalized(const CornerQuad& q, IntRect* r)
{
    CornerQuad flat = q;
    CornerQuadStraighten(&flat);
    flat.angle = 0;
    CornerQuadBounds(flat, r);
}

namespace {

int16_t SideLength(const IntPoint& a, const IntPoint& b)
{
    const double dx = double(b.x) - a.x;
    const double dy = double(b.y) - a.y;
    return int16_t(TruncToInt32(std::sqrt(dx * dx + dy * dy) + 0.5));
}

}  // namespace

void CornerQuadStraighten(CornerQuad* q)
{
    if (q->angle == 0)
        return;
    IntPoint* c = q->corners;
    const int32_t w = SideLength(c[kQuadTopLeft], c[kQuadTopRight]);
    const int32_t h = SideLength(c[kQuadTopRight], c[kQuadBottomRight]);
    const IntPoint o = c[kQuadTopLeft];
    c[kQuadTopRight] = {Add32(o.x, w), o.y};
    c[kQuadBottomRight] = {Add32(o.x, w), Add32(o.y, h)};
    c[kQuadBottomLeft] = {o.x, Add32(o.y, h)};
}

void CornerQuadOffset(CornerQuad* q, int32_t dx, int32_t dy)
{
    for (IntPoint& p : q->corners)
        p = {Add32(p.x, dx), Add32(p.y, dy)};
}

void CornerQuadRotate(CornerQuad* q, const IntPoint& centre)
{
    RotatePoint(q->corners, 4, centre.x, centre.y, q->angle);
}

void CornerQuadRotate(CornerQuad* q)
{
    const IntPoint pivot = q->corners[kQuadTopLeft];
    CornerQuadRotate(q, pivot);
}

void CornerQuadInset(CornerQuad* q, int32_t dx, int32_t dy)
{
    CornerQuadActUnrotated(q, [dx, dy](CornerQuad* flat, double, const IntPoint&) {
        IntPoint* c = flat->corners;
        c[kQuadTopLeft] = {Add32(c[kQuadTopLeft].x, dx), Add32(c[kQuadTopLeft].y, dy)};
        c[kQuadTopRight] = {Sub32(c[kQuadTopRight].x, dx), Add32(c[kQuadTopRight].y, dy)};
        c[kQuadBottomRight] = {Sub32(c[kQuadBottomRight].x, dx), Sub32(c[kQuadBottomRight].y, dy)};
        c[kQuadBottomLeft] = {Add32(c[kQuadBottomLeft].x, dx), Sub32(c[kQuadBottomLeft].y, dy)};
    });
}

void CornerQuadHandlePoint(const CornerQuad& q, int32_t n, IntPoint* point)
{
    if (n >= 1 && n <= 4) {
        *point = q.corners[n - 1];
    } else if (n >= 5 && n <= 8) {
        const IntPoint& a = q.corners[n - 5];
        const IntPoint& b = q.corners[(n - 4) % 4];
        *point = {int32_t((int64_t(a.x) + b.x) >> 1), int32_t((int64_t(a.y) + b.y) >> 1)};
    } else {
        *point = {0, 0};
    }
}

void CornerQuadScale(CornerQuad* q, int32_t num, int32_t den)
{
    for (IntPoint& p : q->corners)
        p = {ScaleTrunc(p.x, num, den), ScaleTrunc(p.y, num, den)};
}
