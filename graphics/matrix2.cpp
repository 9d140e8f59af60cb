#include "graphics/matrix2.h"

#include <algorithm>
#include <cmath>

#include "foundation/int_math.h"

namespace {

// The degree factor of the matrix code, kept to its own precision so that
// turned glyph boxes land where they always did.
constexpr double kMatrixRadiansPerDegree = 0.0174532925;

int32_t RoundHalfAway(double v) { return TruncToInt32(v < 0 ? v - 0.5 : v + 0.5); }

}  // namespace

void Matrix2Identity(Matrix2* m) { *m = Matrix2{}; }

bool Matrix2IsIdentity(const Matrix2& m) { return m.m00 == 1.0 && m.m01 == 0.0 && m.m10 == 0.0 && m.m11 == 1.0; }

double Matrix2Determinant(const Matrix2& m) { return m.m00 * m.m11 - m.m01 * m.m10; }

void Matrix2Rotate(Matrix2* m, double degrees)
{
    const double a = degrees * kMatrixRadiansPerDegree;
    const Matrix2 r{std::cos(a), -std::sin(a), std::sin(a), std::cos(a)};
    if (Matrix2IsIdentity(*m)) {
        *m = r;
        return;
    }
    const Matrix2 l = *m;
    m->m00 = l.m00 * r.m00 + l.m01 * r.m10;
    m->m01 = l.m00 * r.m01 + l.m01 * r.m11;
    m->m10 = l.m10 * r.m00 + l.m11 * r.m10;
    m->m11 = l.m10 * r.m01 + l.m11 * r.m11;
}

DoublePoint Matrix2Apply(const Matrix2& m, DoublePoint p) { return {p.x * m.m00 + p.y * m.m10, p.x * m.m01 + p.y * m.m11}; }

Point16 Matrix2Apply(const Matrix2& m, Point16 p)
{
    const DoublePoint q = Matrix2Apply(m, DoublePoint{double(p.x), double(p.y)});
    return {int16_t(TruncToInt32(q.x)), int16_t(TruncToInt32(q.y))};
}

IntPoint Matrix2Apply(const Matrix2& m, IntPoint p)
{
    const DoublePoint q = Matrix2Apply(m, DoublePoint{double(p.x), double(p.y)});
    return {RoundHalfAway(q.x), RoundHalfAway(q.y)};
}

void Matrix2ApplyRect(const Matrix2& m, IntRect* r, IntPoint* corners)
{
    IntPoint c[4] = {{r->left, r->top}, {r->right, r->top}, {r->right, r->bottom}, {r->left, r->bottom}};
    for (IntPoint& p : c)
        p = Matrix2Apply(m, p);
    IntRect b{c[0].x, c[0].y, c[0].x, c[0].y};
    for (const IntPoint& p : c) {
        b.left = std::min(b.left, p.x);
        b.top = std::min(b.top, p.y);
        b.right = std::max(b.right, p.x);
        b.bottom = std::max(b.bottom, p.y);
    }
    *r = b;
    if (corners)
        std::copy(c, c + 4, corners);
}
