#include "graphics/rect_ops.h"

#include <algorithm>
#include <cmath>

#include "foundation/point_list.h"
#include "foundation/int_math.h"

void RectSet(IntRect* r, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    *r = {left, top, right, bottom};
}

void SetPoint(IntPoint* p, int32_t x, int32_t y)
{
    *p = {x, y};
}

void RectOffset(IntRect* r, int32_t dx, int32_t dy)
{
    *r = {Add32(r->left, dx), Add32(r->top, dy), Add32(r->right, dx), Add32(r->bottom, dy)};
}

void RectToOrigin(IntRect* r)
{
    *r = {0, 0, Sub32(r->right, r->left), Sub32(r->bottom, r->top)};
}

void RectInset(IntRect* r, int32_t dx, int32_t dy)
{
    *r = {Add32(r->left, dx), Add32(r->top, dy), Sub32(r->right, dx), Sub32(r->bottom, dy)};
}

IntRect* RectNormalize(IntRect* r)
{
    if (!r)
        return r;
    if (r->left > r->right)
        std::swap(r->left, r->right);
    if (r->top > r->bottom)
        std::swap(r->top, r->bottom);
    return r;
}

void RectUnion(const IntRect& a, const IntRect& b, IntRect* out)
{
    *out = {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

int32_t RectIntersect(const IntRect& a, const IntRect& b, IntRect* out)
{
    const IntRect common{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                         std::min(a.bottom, b.bottom)};
    if (common.left >= common.right || common.top >= common.bottom) {
        *out = IntRect{};
        return 0;
    }
    *out = common;
    return 1;
}

int32_t RectIsTiny(const IntRect& r, int32_t w, int32_t h)
{
    IntRect n = r;
    RectNormalize(&n);
    return int64_t(n.right) - n.left < w && int64_t(n.bottom) - n.top < h ? 1 : 0;
}

int32_t RectEqual(const IntRect& a, const IntRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom ? 1 : 0;
}

int32_t PointEqual(const IntPoint& a, const IntPoint& b)
{
    return a.x == b.x && a.y == b.y ? 1 : 0;
}

int32_t RectInsideRect(const IntRect& a, const IntRect& b)
{
    IntRect common;
    RectIntersect(a, b, &common);
    return RectEqual(common, a);
}

void RectEnsureNonEmpty(IntRect* r)
{
    if (r->left == r->right)
        r->right = Add32(r->right, 1);
    if (r->top == r->bottom)
        r->bottom = Add32(r->bottom, 1);
}

void RectCornerPoint(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t n, IntPoint* p)
{
    switch (n) {
    case 0: *p = {left, top}; break;
    case 1: *p = {right, top}; break;
    case 2: *p = {right, bottom}; break;
    case 3: *p = {left, bottom}; break;
    default: *p = {0, 0}; break;
    }
}

void SquareAroundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, IntRect* out)
{
    const int16_t width = int16_t(Sub32(right, left));
    const int16_t height = int16_t(Sub32(bottom, top));
    const int32_t side = std::max(width, height);
    out->left = Sub32(left, (side - width) / 2);
    out->top = Sub32(top, (side - height) / 2);
    out->right = Add32(out->left, side);
    out->bottom = Add32(out->top, side);
}

void ClampOffsetToBounds(IntPoint* offset, const IntRect& inner, const IntRect& outer)
{
    // A box already out over an edge may stay there, but the clamp never
    // turns a move around (a drag down that lifts the box up) nor makes a
    // move of nothing into one.
    if (offset->x < 1)
        offset->x = std::max(offset->x, std::min(0, Sub32(outer.left, inner.left)));
    else
        offset->x = std::min(offset->x, std::max(0, Sub32(outer.right, inner.right)));
    if (offset->y < 1)
        offset->y = std::max(offset->y, std::min(0, Sub32(outer.top, inner.top)));
    else
        offset->y = std::min(offset->y, std::max(0, Sub32(outer.bottom, inner.bottom)));
}

void RectMapScale(IntRect* r, const IntRect& from, const IntRect& to)
{
    const double sx = (double(to.right) - to.left + 1) / (double(from.right) - from.left + 1);
    const double sy = (double(to.bottom) - to.top + 1) / (double(from.bottom) - from.top + 1);
    *r = {TruncToInt32(r->left * sx), TruncToInt32(r->top * sy), TruncToInt32(r->right * sx),
          TruncToInt32(r->bottom * sy)};
}

namespace {

// Centres a box of the given size in r; each edge truncated toward zero.
void CentreBox(const IntRect& r, double width, double height, IntRect* out)
{
    const double w = double(r.right) - r.left;
    const double h = double(r.bottom) - r.top;
    out->left = TruncToInt32(r.left + (w - width) / 2);
    out->top = TruncToInt32(r.top + (h - height) / 2);
    out->right = TruncToInt32(out->left + width);
    out->bottom = TruncToInt32(out->top + height);
}

}  // namespace

void FitAspectInRect(const IntRect& r, double aspect, IntRect* out)
{
    if (!(aspect > 0))
        aspect = 1;
    const double w = double(r.right) - r.left;
    const double h = double(r.bottom) - r.top;
    const double scale = h >= w / aspect ? w / aspect : h;
    CentreBox(r, aspect * scale, scale, out);
}

void FitSizeInRect(const IntRect& r, double width, double height, IntRect* out)
{
    const double w = double(r.right) - r.left;
    const double h = double(r.bottom) - r.top;
    if (w >= width && h >= height && width >= 1 && height >= 1) {
        CentreBox(r, width, height, out);
        return;
    }
    FitAspectInRect(r, width > 0 && height > 0 ? width / height : 1.0, out);
}

void PolygonBounds(const IntPoint* points, int32_t n, IntRect* out)
{
    PointsBounds(points, n, out);
}

int32_t RectDiagonalQuadrant(const IntRect& r)
{
    const int16_t dx = int16_t(Sub32(r.right, r.left));
    const int16_t dy = int16_t(Sub32(r.bottom, r.top));
    if (dy < 0 && dx > 0)
        return 1;
    if (dy < 0 && dx < 0)
        return 2;
    if (dy > 0 && dx < 0)
        return 3;
    return 0;
}

void ArcQuadrantEllipse(int32_t q, IntRect* r, double* startAngle, double* sweep)
{
    RectNormalize(r);
    const int32_t w = int16_t(Sub32(r->right, r->left));
    const int32_t h = int16_t(Sub32(r->bottom, r->top));
    const int32_t l = r->left;
    const int32_t t = r->top;
    *sweep = 90;
    switch (q) {
    case 0:
        *r = {l, Sub32(t, h), Add32(l, 2 * w), Add32(t, h)};
        *startAngle = 180;
        break;
    case 1:
        *r = {Sub32(l, w), Sub32(t, h), Add32(l, w), Add32(t, h)};
        *startAngle = 90;
        break;
    case 2:
        *r = {Sub32(l, w), t, Add32(l, w), Add32(t, 2 * h)};
        *startAngle = 0;
        break;
    case 3:
        *r = {l, t, Add32(l, 2 * w), Add32(t, 2 * h)};
        *startAngle = -90;
        break;
    default:
        break;
    }
}

IntRect DoubleRect::toIntRect() const
{
    return {TruncToInt32(left), TruncToInt32(top), TruncToInt32(right), TruncToInt32(bottom)};
}
