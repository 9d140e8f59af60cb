#include "graphics/ellipse_shape.h"

#include <algorithm>

#include "foundation/int_math.h"
#include "graphics/border_stripes.h"
#include "graphics/pen_state.h"
#include "graphics/placement.h"
#include "graphics/rotation.h"
#include "platform/dc.h"

namespace {

constexpr double kControl = 0.4375;

IntPoint Control(const IntPoint& corner, const IntPoint& mid)
{
    return {TruncToInt32(corner.x - (double(corner.x) - mid.x) * kControl),
            TruncToInt32(corner.y - (double(corner.y) - mid.y) * kControl)};
}

// Thirteen points of the ellipse in the box, clockwise on the screen from
// the top: the quarters through the top-right, bottom-right, bottom-left
// and top-left corners.
void EllipsePoints(const IntRect& box, IntPoint out[13])
{
    const int32_t midX = box.left + (box.right - box.left) / 2;
    const int32_t midY = box.top + (box.bottom - box.top) / 2;
    const IntPoint mids[4] = {{midX, box.top}, {box.right, midY}, {midX, box.bottom}, {box.left, midY}};
    const IntPoint corners[4] = {{box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom},
                                 {box.left, box.top}};
    for (int q = 0; q < 4; ++q) {
        out[3 * q] = mids[q];
        out[3 * q + 1] = Control(corners[q], mids[q]);
        out[3 * q + 2] = Control(corners[q], mids[(q + 1) % 4]);
    }
    out[12] = mids[0];
}

// Which clockwise quarter (0 top-right ... 3 top-left) an arc code draws.
int QuarterOfArc(int32_t code)
{
    switch (code) {
    case kArcCentreTopRight: return 2;
    case kArcCentreTopLeft: return 1;
    case kArcCentreBottomLeft: return 0;
    case kArcCentreBottomRight: return 3;
    default: return -1;
    }
}

void DrawEllipseBox(Dc* dc, const IntRect& box, double angle, int32_t direction, int32_t arcCode, int32_t cx,
                    int32_t cy, bool moveFirst)
{
    IntPoint pts[13];
    EllipsePoints(box, pts);
    RotatePoint(pts, 13, cx, cy, angle);
    const int quarter = QuarterOfArc(arcCode);
    if (quarter < 0) {
        if (direction != kEllipseClockwise)
            std::reverse(pts, pts + 13);
        dc->polyBezier(pts, 13);
        return;
    }
    IntPoint q[4];
    std::copy(pts + 3 * quarter, pts + 3 * quarter + 4, q);
    if (direction != kEllipseClockwise)
        std::reverse(q, q + 4);
    if (moveFirst)
        dc->moveTo(q[0].x, q[0].y);
    else
        dc->lineTo(q[0].x, q[0].y);
    dc->polyBezierTo(q + 1, 3);
}

IntRect BoxOf(const FramePlacement& p)
{
    return IntRect{p.x, p.y, Add32(p.x, p.width), Add32(p.y, p.height)};
}

// The whole ellipse of which the quarter box is the quarter of the code.
IntRect EllipseOfArc(const FramePlacement& p, int32_t code)
{
    const int32_t w = p.width, h = p.height;
    switch (code) {
    case kArcCentreTopRight: return IntRect{p.x, p.y - h, p.x + 2 * w, p.y + h};
    case kArcCentreTopLeft: return IntRect{p.x - w, p.y - h, p.x + w, p.y + h};
    case kArcCentreBottomLeft: return IntRect{p.x - w, p.y, p.x + w, p.y + 2 * h};
    default: return IntRect{p.x, p.y, p.x + 2 * w, p.y + 2 * h};
    }
}

void FillClosedPath(Dc* dc)
{
    if (dc->endPath())
        dc->fillPath();
    else
        dc->abortPath();
}

void DrawWholeRings(Dc* dc, const PlacementBlock& block, const StripeTable& t)
{
    const IntPoint pivot{block.x, block.y};
    FramePlacement work = block;
    for (int i = 0; i < 5; i += 2) {
        if (t.s[i] < 0 || (i > 0 && t.s[i - 1] < 0))
            break;
        if (i > 0)
            PlacementInsetBoth(&work, t.s[i - 1], t.s[i - 1]);
        // A ring cannot be thicker than the ellipse is deep; beyond that
        // the inner outline would turn inside out.
        const int32_t thickness = std::min<int32_t>(t.s[i], std::max(0, std::min(work.width, work.height) / 2));
        if (thickness <= 0)
            continue;
        if (thickness == 1) {
            DrawEllipseBox(dc, BoxOf(work), work.angle, kEllipseClockwise, kArcNone, pivot.x, pivot.y, true);
            continue;
        }
        const int32_t mode = dc->setBkMode(TRANSPARENT);
        dc->beginPath();
        DrawEllipseBox(dc, BoxOf(work), work.angle, kEllipseClockwise, kArcNone, pivot.x, pivot.y, true);
        PlacementInsetBoth(&work, thickness, thickness);
        DrawEllipseBox(dc, BoxOf(work), work.angle, kEllipseCounterClockwise, kArcNone, pivot.x, pivot.y, true);
        FillClosedPath(dc);
        dc->setBkMode(mode);
    }
}

void DrawArcRings(Dc* dc, const PlacementBlock& block, const StripeTable& t, int32_t code)
{
    const IntPoint pivot{block.x, block.y};
    FramePlacement work = block;
    for (int i = 0; i < 5; i += 2) {
        if (t.s[i] < 0 || (i > 0 && t.s[i - 1] < 0))
            break;
        if (i > 0)
            PlacementInset(&work, t.s[i - 1], t.s[i - 1], code);
        const int32_t smaller = std::min<int32_t>(work.width, work.height);
        const int32_t thickness = std::min<int32_t>(t.s[i], smaller);
        if (thickness <= 0)
            continue;
        if (thickness == 1) {
            PenState pen(dc);
            DrawEllipseBox(dc, EllipseOfArc(work, code), work.angle, kEllipseClockwise, code, pivot.x, pivot.y, true);
            continue;
        }
        const int32_t mode = dc->setBkMode(TRANSPARENT);
        dc->beginPath();
        DrawEllipseBox(dc, EllipseOfArc(work, code), work.angle, kEllipseClockwise, code, pivot.x, pivot.y, true);
        // At the full depth the inner arc lies flat along the axis to the
        // centre, so the ring fills the whole quarter, as the arc's own
        // region does.
        PlacementInset(&work, thickness, thickness, code);
        DrawEllipseBox(dc, EllipseOfArc(work, code), work.angle, kEllipseCounterClockwise, code, pivot.x, pivot.y,
                       false);
        dc->closeFigure();
        FillClosedPath(dc);
        dc->setBkMode(mode);
    }
}

}  // namespace

void DrawEllipseBezier(Dc* dc, const FramePlacement& p, int32_t direction, int32_t arcCode, int32_t cx, int32_t cy,
                       bool moveFirst)
{
    if (dc)
        DrawEllipseBox(dc, BoxOf(p), p.angle, direction, arcCode, cx, cy, moveFirst);
}

void DrawEllipseShape(Dc* dc, const PlacementBlock& block, int32_t whole, int32_t arcCode)
{
    if (!dc)
        return;
    StripeTable t;
    BorderStripeWidths(SolidForDashes(block.lineStyle), block.lineWidth, &t);
    if (whole)
        DrawWholeRings(dc, block, t);
    else if (QuarterOfArc(arcCode) >= 0)
        DrawArcRings(dc, block, t, arcCode);
}
