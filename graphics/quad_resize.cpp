#include "graphics/quad_resize.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graphics/corner_quad.h"
#include "foundation/int_math.h"
#include "graphics/rotation.h"

namespace {

int32_t OppositeCorner(int32_t corner) { return (corner + 2) % 4; }

void SetFromSpan(CornerQuad* q, const IntPoint& a, const IntPoint& b)
{
    RectToCornerQuad({std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)}, q);
}

int32_t Distance32(int32_t a, int32_t b)
{
    return int32_t(std::llabs(int64_t(a) - b));
}

}  // namespace

void CornerQuadMoveHandle(CornerQuad* q, int32_t dx, int32_t dy, int32_t n, const CornerQuad& reference,
                          int32_t mode)
{
    if (n < 1 || n > 8)
        return;
    CornerQuad ref = reference;
    CornerQuadStraighten(&ref);
    CornerQuadActUnrotated(q, [&](CornerQuad* flat, double angle, const IntPoint&) {
        IntPoint d{dx, dy};
        RotatePoint(&d, 1, 0, 0, -angle);
        if (mode == 1 && n <= 4) {
            const IntPoint& from = ref.corners[n - 1];
            const IntPoint& to = ref.corners[OppositeCorner(n - 1)];
            const double dxr = double(from.x) - to.x;
            const double dyr = double(from.y) - to.y;
            if (dxr != 0 && dyr != 0) {
                if (std::fabs(d.x / dxr) <= std::fabs(d.y / dyr))
                    d.x = TruncToInt32(d.y * dxr / dyr);
                else
                    d.y = TruncToInt32(d.x * dyr / dxr);
            }
        } else if (mode == 2) {
            d.y = 0;
        } else if (mode == 3) {
            d.x = 0;
        }
        if (n == 5 || n == 7)
            d.x = 0;
        else if (n == 6 || n == 8)
            d.y = 0;
        const int32_t corner = (n - 1) % 4;
        const IntPoint moved{Add32(flat->corners[corner].x, d.x), Add32(flat->corners[corner].y, d.y)};
        SetFromSpan(flat, moved, flat->corners[OppositeCorner(corner)]);
    });
}

void CornerQuadMoveHandleProportional(CornerQuad* q, int32_t n, const IntPoint& point, const CornerQuad& reference)
{
    if (n < 1 || n > 8)
        return;
    CornerQuad ref = reference;
    CornerQuadStraighten(&ref);
    CornerQuadActUnrotated(q, [&](CornerQuad* flat, double angle, const IntPoint& pivot) {
        IntPoint p = point;
        RotatePoint(&p, 1, pivot.x, pivot.y, -angle);
        const IntPoint* c = flat->corners;
        IntRect r;
        if (n <= 4) {
            const int32_t anchor = OppositeCorner(n - 1);
            const IntPoint a = c[anchor];
            const int32_t s = std::max(Distance32(p.x, a.x), Distance32(p.y, a.y));
            switch (anchor) {
            case kQuadTopLeft: r = {a.x, a.y, Add32(a.x, s), Add32(a.y, s)}; break;
            case kQuadTopRight: r = {Sub32(a.x, s), a.y, a.x, Add32(a.y, s)}; break;
            case kQuadBottomRight: r = {Sub32(a.x, s), Sub32(a.y, s), a.x, a.y}; break;
            default: r = {a.x, Sub32(a.y, s), Add32(a.x, s), a.y}; break;
            }
        } else {
            const int32_t anchor = 5 + OppositeCorner(n - 5);
            IntPoint m;
            CornerQuadHandlePoint(ref, anchor, &m);
            switch (anchor) {
            case 5: {
                const int32_t d = Distance32(p.y, c[kQuadTopLeft].y);
                r = {Sub32(m.x, d / 2), m.y, Add32(m.x, d / 2), Add32(m.y, d)};
                break;
            }
            case 7: {
                const int32_t d = Distance32(p.y, c[kQuadBottomRight].y);
                r = {Sub32(m.x, d / 2), Sub32(m.y, d), Add32(m.x, d / 2), m.y};
                break;
            }
            case 6: {
                const int32_t d = Distance32(p.x, c[kQuadTopRight].x);
                r = {Sub32(m.x, d), Sub32(m.y, d / 2), m.x, Add32(m.y, d / 2)};
                break;
            }
            default: {
                const int32_t d = Distance32(p.x, c[kQuadBottomLeft].x);
                r = {m.x, Sub32(m.y, d / 2), Add32(m.x, d), Add32(m.y, d / 2)};
                break;
            }
            }
        }
        RectToCornerQuad(r, flat);
    });
}
