#include "graphics/rotation.h"

#include <cmath>

#include "foundation/alert_sink.h"
#include "foundation/int_math.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Sine and cosine of the rotation, exact for the quarter turns chosen by the
// whole part of the angle.
void RotationSinCos(double angle, double* s, double* c)
{
    *s = std::sin(angle * kRadiansPerDegree);
    *c = std::cos(angle * kRadiansPerDegree);
    int32_t whole = TruncToInt32(angle);
    if (whole < 0)
        whole += 360;
    switch (whole) {
    case 0: *s = 0; *c = 1; break;
    case 90: *s = 1; *c = 0; break;
    case 180: *s = 0; *c = -1; break;
    case 270: *s = -1; *c = 0; break;
    default: break;
    }
}

template <typename Point, typename Trunc>
void RotateAll(Point* points, int16_t count, double cx, double cy, double angle, Trunc trunc)
{
    double s, c;
    RotationSinCos(angle, &s, &c);
    for (int i = 0; i < count; ++i) {
        const double dx = double(points[i].x) - cx;
        const double dy = double(points[i].y) - cy;
        points[i].x = trunc(cx + dx * c + dy * s);
        points[i].y = trunc(cy - dx * s + dy * c);
    }
}

double AngleOf(double dx, double dy, double* angle)
{
    // A level line, the kind a card draws most (rules, borders, bars): the
    // length and angle the general way gives, without its square root and
    // arcsine. Exact while the square of the length is.
    if (dy == 0 && dx != 0 && std::fabs(dx) < 0x1p26) {
        if (angle)
            *angle = dx > 0 ? 0.0 : kPi * kDegreesPerRadian;
        return std::fabs(dx);
    }
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) {
        if (angle)
            *angle = 0;
        return 0;
    }
    const double s = -dy / len;
    const double c = dx / len;
    double a = std::asin(std::fmin(std::fabs(s), 1.0));
    if (s > 0 && c <= 0)
        a = kPi - a;
    else if (s <= 0 && c < 0)
        a = a + kPi;
    else if (s < 0 && c >= 0)
        a = -a;
    if (angle)
        *angle = a * kDegreesPerRadian;
    return len;
}

}  // namespace

void RotatePoint(IntPoint* points, int16_t count, int32_t cx, int32_t cy, double angle)
{
    RotateAll(points, count, cx, cy, angle, [](double v) { return TruncToInt32(v); });
}

void RotatePoint(FloatPoint* points, int16_t count, double cx, double cy, double angle)
{
    RotateAll(points, count, cx, cy, angle, [](double v) { return float(std::trunc(v)); });
}

void RotatePoint(DoublePoint* points, int16_t count, double cx, double cy, double angle)
{
    RotateAll(points, count, cx, cy, angle, [](double v) { return std::trunc(v); });
}

void RotatePointExact(DoublePoint* points, int16_t count, double cx, double cy, double angle)
{
    RotateAll(points, count, cx, cy, angle, [](double v) { return v; });
}

double VectorAngle(int32_t dx, int32_t dy, double* angle)
{
    const double len = AngleOf(dx, dy, angle);
    if (len == 0)
        MessageBeep(kMbIconExclamation);
    return len;
}

double VectorAngleToPoint(const IntPoint& origin, const IntPoint& point, double* angle)
{
    const double len = AngleOf(double(point.x) - origin.x, double(point.y) - origin.y, angle);
    if (len == 0)
        MessageBeep(kMbIconExclamation);
    return len;
}

double VectorAngleOfRect(const IntRect& r, double* angle)
{
    return AngleOf(double(r.right) - r.left, double(r.bottom) - r.top, angle);
}

int32_t AngleQuarterTurns(double angle)
{
    if (angle < 0)
        angle += 360;
    return TruncToInt32(angle / 90);
}

int32_t DoubleToIntTrunc(double value)
{
    return TruncToInt32(double(TruncToInt32(value)) + 0.5);
}
