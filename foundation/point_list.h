// Operations on lists of integer points (polygon and curve outlines).
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"

// The smallest rectangle holding the points, right and bottom included, so
// one point gives a rectangle of no width and height. No points give the
// empty rectangle at the origin.
void PointsBounds(const IntPoint* points, int32_t n, IntRect* bounds);

// Stretches the points in place so that their bounding box grows by dx on
// the left and on the right and by dy at the top and at the bottom. Points
// whose box has no width or no height cannot be stretched and stay as
// they are.
void FitPointsToBounds(IntPoint* points, int32_t n, int32_t dx, int32_t dy);

void ScalePoints(IntPoint* points, int32_t n, double sx, double sy);
