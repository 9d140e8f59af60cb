#include "frames/visible_part.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

bool IsEmpty(const IntRect& r) { return r.right <= r.left || r.bottom <= r.top; }

// The bounds of the four corners of r turned by angle about origin, slack
// units wider on each side.
IntRect TurnedBounds(const IntRect& r, double ox, double oy, double angle, int32_t slack)
{
    const double s = std::sin(angle * kRadiansPerDegree);
    const double c = std::cos(angle * kRadiansPerDegree);
    double left = std::numeric_limits<double>::max(), top = left;
    double right = std::numeric_limits<double>::lowest(), bottom = right;
    const double xs[2] = {double(r.left), double(r.right)};
    const double ys[2] = {double(r.top), double(r.bottom)};
    for (double x : xs) {
        for (double y : ys) {
            const double dx = x - ox, dy = y - oy;
            const double tx = ox + c * dx + s * dy;
            const double ty = oy - s * dx + c * dy;
            left = std::min(left, tx);
            right = std::max(right, tx);
            top = std::min(top, ty);
            bottom = std::max(bottom, ty);
        }
    }
    auto clamp = [](double v) {
        return int32_t(std::clamp(v, double(std::numeric_limits<int32_t>::min() / 2),
                                  double(std::numeric_limits<int32_t>::max() / 2)));
    };
    return IntRect{clamp(std::floor(left)) - slack, clamp(std::floor(top)) - slack, clamp(std::ceil(right)) + slack,
                   clamp(std::ceil(bottom)) + slack};
}

}  // namespace

IntRect VisiblePartOfTurned(const IntRect& r, double angle, const IntRect& area)
{
    if (IsEmpty(area) || !std::isfinite(angle))
        return r;
    // The area turned back into the frame's own, unturned, axes (a unit
    // wider for the truncation of drawn corners).
    const IntRect back = TurnedBounds(area, r.left, r.top, -angle, 1);
    IntRect part{std::max(r.left, back.left), std::max(r.top, back.top), std::min(r.right, back.right),
                 std::min(r.bottom, back.bottom)};
    if (IsEmpty(part))
        return IntRect{};
    return part;
}

IntRect TurnedBoundsAbout(const IntRect& part, const IntPoint& origin, double angle)
{
    return TurnedBounds(part, origin.x, origin.y, angle, 0);
}

double FrameImageScale(double width, double height)
{
    const double pixels = width * height;
    return pixels > kFrameImageMaxPixels ? std::sqrt(kFrameImageMaxPixels / pixels) : 1.0;
}

void TurnedBoxSize(double width, double height, double angle, double* boxWidth, double* boxHeight)
{
    const double s = std::fabs(std::sin(angle * kRadiansPerDegree));
    const double c = std::fabs(std::cos(angle * kRadiansPerDegree));
    *boxWidth = width * c + height * s;
    *boxHeight = width * s + height * c;
}

IntRect ShownPageArea(const IntRect& slot0, const IntRect& slot1)
{
    if (IsEmpty(slot0))
        return IntRect{};
    const int32_t right = std::max(slot0.right, IsEmpty(slot1) ? slot0.right : slot1.right);
    return IntRect{0, 0, right + std::max(slot0.left, 0), slot0.bottom + std::max(slot0.top, 0)};
}
