// A rectangle turned by a whole angle, with its matrix, turned corners and
// bounds kept together (the glyph effects measure and place text with it).
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "graphics/matrix2.h"

struct RotatedBox {
    IntRect rect;
    IntRect bounds;  // of the turned corners
    int16_t angle = 0;
    Matrix2 matrix;
    IntPoint corners[4];  // top-left, top-right, bottom-right, bottom-left

    // Everything zero, the matrix the identity.
    void reset();
    // The rectangle turned by the angle (degrees) about the origin.
    void set(const IntRect& r, int16_t degrees);
};
