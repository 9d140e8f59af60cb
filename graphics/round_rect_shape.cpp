#include "graphics/round_rect_shape.h"

#include <algorithm>

#include "foundation/int_math.h"
#include "graphics/border_stripes.h"
#include "graphics/placement.h"
#include "graphics/rotation.h"
#include "platform/dc.h"

namespace {

constexpr double kControl = 0.4375;

int32_t Toward(int32_t corner, int32_t end) { return TruncToInt32(corner - (double(corner) - end) * kControl); }

// The outline in the unrotated frame: the start point, then for each
// corner its Bezier (three points) and the LineTo along the next side.
int OutlinePoints(const FramePlacement& p, int32_t r, IntPoint* out, bool* curve)
{
    const int32_t l = p.x, t = p.y, rt = p.x + p.width, b = p.y + p.height;
    int n = 0;
    auto line = [&](int32_t x, int32_t y) {
        curve[n] = false;
        out[n++] = {x, y};
    };
    auto corner = [&](IntPoint from, IntPoint k, IntPoint to) {
        curve[n] = curve[n + 1] = curve[n + 2] = true;
        out[n++] = {Toward(k.x, from.x), Toward(k.y, from.y)};
        out[n++] = {Toward(k.x, to.x), Toward(k.y, to.y)};
        out[n++] = to;
    };
    line(l, b - r);
    corner({l, b - r}, {l, b}, {l + r, b});
    line(rt - r, b);
    corner({rt - r, b}, {rt, b}, {rt, b - r});
    line(rt, t + r);
    corner({rt, t + r}, {rt, t}, {rt - r, t});
    line(l + r, t);
    corner({l + r, t}, {l, t}, {l, t + r});
    line(l, b - r);
    return n;
}

void DrawRing(Dc* dc, const PlacementBlock& block, int32_t inset, int32_t thickness)
{
    if (thickness <= 0)
        return;
    if (thickness == 1) {
        RoundRectPath(dc, block, inset, true);
        return;
    }
    const int32_t mode = dc->setBkMode(TRANSPARENT);
    dc->beginPath();
    RoundRectPath(dc, block, inset, true);
    RoundRectPath(dc, block, inset + thickness, true);
    if (dc->endPath())
        dc->fillPath();
    else
        dc->abortPath();
    dc->setBkMode(mode);
}

}  // namespace

int32_t RoundRectRadius(const FramePlacement& p, int32_t inset)
{
    return std::min(p.width / 4, p.height / 4) - std::max(inset - 1, 0);
}

void RoundRectPath(Dc* dc, const PlacementBlock& block, int32_t inset, bool moveFirst)
{
    if (!dc)
        return;
    const int32_t r = RoundRectRadius(block, inset);
    FramePlacement p = block;
    PlacementInsetBoth(&p, inset, inset);
    if (p.width < 1 || p.height < 1)
        return;
    // Every ring turns about the frame's own origin, so that the rings of
    // a turned frame stay one inside the other.
    IntPoint pts[17];
    bool curve[17] = {};
    int n = 0;
    if (r > 0) {
        n = OutlinePoints(p, r, pts, curve);
    } else {
        const IntPoint quad[5] = {{p.x, p.y},
                                  {p.x + p.width, p.y},
                                  {p.x + p.width, p.y + p.height},
                                  {p.x, p.y + p.height},
                                  {p.x, p.y}};
        std::copy(quad, quad + 5, pts);
        n = 5;
    }
    RotatePoint(pts, int16_t(n), block.x, block.y, block.angle);
    if (moveFirst)
        dc->moveTo(pts[0].x, pts[0].y);
    else
        dc->lineTo(pts[0].x, pts[0].y);
    for (int i = 1; i < n;) {
        if (curve[i]) {
            dc->polyBezierTo(pts + i, 3);
            i += 3;
        } else {
            dc->lineTo(pts[i].x, pts[i].y);
            ++i;
        }
    }
}

void DrawRoundRectShape(Dc* dc, const PlacementBlock& block)
{
    if (!dc)
        return;
    StripeTable t;
    const int32_t style = SolidForDashes(block.lineStyle);
    BorderStripeWidths(style, block.lineWidth, &t);
    if (t.s[0] < 0)
        return;
    DrawRing(dc, block, 0, t.s[0]);
    if (style == kLineSingle || t.s[1] < 0 || t.s[2] < 0)
        return;
    DrawRing(dc, block, t.s[0] + t.s[1], t.s[2]);
    if (t.s[3] < 0 || t.s[4] < 0)
        return;
    DrawRing(dc, block, t.s[0] + t.s[1] + t.s[2] + t.s[3], t.s[4]);
}
