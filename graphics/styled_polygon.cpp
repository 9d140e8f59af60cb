#include "graphics/styled_polygon.h"

#include <algorithm>
#include <cmath>

#include "foundation/int_math.h"
#include "graphics/border_stripes.h"
#include "graphics/pen_state.h"
#include "platform/dc.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

FloatPoint CentreOf(const FramePlacement& p)
{
    return {float(p.x + p.width / 2.0), float(p.y + p.height / 2.0)};
}

struct Unit {
    double x = 0;
    double y = 0;
};

Unit UnitTo(const FloatPoint& from, const FloatPoint& to)
{
    const double dx = double(to.x) - from.x, dy = double(to.y) - from.y;
    const double l = std::hypot(dx, dy);
    if (l == 0)
        return {};
    return {dx / l, dy / l};
}

// The outline of the points, turned about the centre, from the first point
// round to it again.
void TraceOutline(Dc* dc, const std::vector<FloatPoint>& points, FloatPoint centre, double angle)
{
    std::vector<FloatPoint> turned = points;
    if (angle != 0)
        RotatePoint(turned.data(), int16_t(turned.size()), centre.x, centre.y, angle);
    auto at = [&](size_t i) { return IntPoint{TruncToInt32(turned[i].x), TruncToInt32(turned[i].y)}; };
    const IntPoint first = at(0);
    dc->moveTo(first.x, first.y);
    dc->lineTo(first.x, first.y);
    for (size_t i = 1; i < turned.size(); ++i) {
        const IntPoint p = at(i);
        dc->lineTo(p.x, p.y);
    }
    dc->lineTo(first.x, first.y);
}

}  // namespace

std::vector<FloatPoint> StyledPolygonPoints(const FramePlacement& p, const StarDescription& d)
{
    std::vector<FloatPoint> out;
    const int n = d.points;
    if (n < 1)
        return out;
    const bool star = d.starFlag == 0;
    const FloatPoint c = CentreOf(p);
    const double rx = p.width / 2.0, ry = p.height / 2.0;
    const double step = 2 * kPi / n;
    const double inner = 1 - d.innerRatio;
    out.reserve(star ? 2 * n : n);
    for (int k = 0; k < n; ++k) {
        const double a = k * step;
        out.push_back({float(c.x - rx * std::sin(a)), float(c.y - ry * std::cos(a))});
        if (star) {
            const double b = a + step / 2;
            out.push_back({float(c.x - rx * inner * std::sin(b)), float(c.y - ry * inner * std::cos(b))});
        }
    }
    return out;
}

void PolygonMoveInward(std::vector<FloatPoint>* points, FloatPoint centre, double d)
{
    const std::vector<FloatPoint> before = *points;
    const size_t n = before.size();
    if (n < 2)
        return;
    for (size_t i = 0; i < n; ++i) {
        const FloatPoint& p = before[i];
        const Unit u1 = UnitTo(p, before[(i + n - 1) % n]);
        const Unit u2 = UnitTo(p, before[(i + 1) % n]);
        Unit b{u1.x + u2.x, u1.y + u2.y};
        const double bl = std::hypot(b.x, b.y);
        if (bl == 0)
            b = {u1.y, u1.x};
        else
            b = {b.x / bl, b.y / bl};
        const double towardCentre = (double(centre.x) - p.x) * b.x + (double(centre.y) - p.y) * b.y;
        if (towardCentre < 0)
            b = {-b.x, -b.y};
        const double theta = std::acos(std::clamp(u1.x * b.x + u1.y * b.y, -1.0, 1.0));
        double m = theta != 0 ? d / std::sin(theta) : d;
        m = std::max(std::min(m, std::fabs(towardCentre)), 0.0);
        (*points)[i] = {float(p.x + m * b.x), float(p.y + m * b.y)};
    }
}

void DrawStyledPolygon(Dc* dc, const PlacementBlock& block, const StarDescription& d)
{
    if (!dc)
        return;
    PenState pen(dc);
    StripeTable t;
    BorderStripeWidths(SolidForDashes(block.lineStyle), block.lineWidth, &t);
    std::vector<FloatPoint> points = StyledPolygonPoints(block, d);
    if (points.size() < 2)
        return;
    const FloatPoint centre = CentreOf(block);
    for (int i = 0; i < 5; i += 2) {
        if (t.s[i] < 0 || (i > 0 && t.s[i - 1] < 0))
            break;
        if (i > 0)
            PolygonMoveInward(&points, centre, t.s[i - 1]);
        const int32_t thickness = t.s[i];
        if (thickness <= 0)
            continue;
        if (thickness == 1) {
            TraceOutline(dc, points, centre, block.angle);
            continue;
        }
        dc->beginPath();
        TraceOutline(dc, points, centre, block.angle);
        PolygonMoveInward(&points, centre, thickness);
        TraceOutline(dc, points, centre, block.angle);
        // Both outlines run the same way: the alternate rule leaves the
        // inside of the inner one empty.
        const int32_t fill = dc->setPolyFillMode(ALTERNATE);
        if (dc->endPath())
            dc->fillPath();
        else
            dc->abortPath();
        dc->setPolyFillMode(fill);
    }
}
