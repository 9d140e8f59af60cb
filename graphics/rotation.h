// The one rotation rule of the system, and vector angles.
//
// A positive angle turns counter-clockwise on the screen (whose y axis points
// down). Rotated coordinates are truncated toward zero, never rounded, and an
// angle whose whole part is 0, 90, 180 or 270 (or -90, -180, -270) turns by
// the exact quarter, so that frames turned by quarters keep their sizes to
// the unit.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kDegreesPerRadian = 57.29577951308232;

using FloatPoint = PointOf<float>;
using DoublePoint = PointOf<double>;

// Turns count points in place about (cx, cy) by angle degrees.
void RotatePoint(IntPoint* points, int16_t count, int32_t cx, int32_t cy, double angle);
// The same rule on floating-point pairs (styled polygons, barcodes); the
// results are whole numbers, truncated, kept in the float fields.
void RotatePoint(FloatPoint* points, int16_t count, double cx, double cy, double angle);
void RotatePoint(DoublePoint* points, int16_t count, double cx, double cy, double angle);
// The same turn kept to fractions of a unit, for targets that place ink
// finer than the unit (paper): the positions the rule truncates.
void RotatePointExact(DoublePoint* points, int16_t count, double cx, double cy, double angle);

// Returns the length of (dx, dy) and writes its angle in degrees, in
// [-90, 270): straight up on the screen is 90, straight down -90. A vector of
// no length gives 0 and angle 0 and sounds the exclamation beep, since the
// user asked for a direction that does not exist.
double VectorAngle(int32_t dx, int32_t dy, double* angle);
// The vector from origin to point.
double VectorAngleToPoint(const IntPoint& origin, const IntPoint& point, double* angle);
// The vector from the rectangle's top-left to its bottom-right corner; a
// rectangle of no size gives 0 without a beep.
double VectorAngleOfRect(const IntRect& r, double* angle);

// Whole quarter turns of an angle in (-360, 360): 0-3.
int32_t AngleQuarterTurns(double angle);

// Truncates, adds 0.5 and truncates again: plain truncation above -1, one
// more than it from -1 down.
int32_t DoubleToIntTrunc(double value);
