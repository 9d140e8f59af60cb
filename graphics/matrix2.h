// 2 x 2 matrices of doubles, as the glyph effects turn their boxes with.
//
// A point (x, y) is a row vector: it maps to (x m00 + y m10, x m01 + y m11).
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "graphics/rotation.h"

struct Matrix2 {
    double m00 = 1.0;
    double m01 = 0.0;
    double m10 = 0.0;
    double m11 = 1.0;
};

using Point16 = PointOf<int16_t>;

void Matrix2Identity(Matrix2* m);
bool Matrix2IsIdentity(const Matrix2& m);
double Matrix2Determinant(const Matrix2& m);
// R = (cos, -sin; sin, cos) of the angle in degrees; an identity matrix
// becomes R, any other is multiplied by R on the right.
void Matrix2Rotate(Matrix2* m, double degrees);

// 16-bit and floating-point points map as they come out (16-bit ones cut
// toward zero); 32-bit points are rounded half away from zero.
Point16 Matrix2Apply(const Matrix2& m, Point16 p);
DoublePoint Matrix2Apply(const Matrix2& m, DoublePoint p);
IntPoint Matrix2Apply(const Matrix2& m, IntPoint p);

// The rectangle's corners (top-left, top-right, bottom-right, bottom-left)
// mapped; the rectangle becomes their bounds. corners may be null.
void Matrix2ApplyRect(const Matrix2& m, IntRect* r, IntPoint* corners);
