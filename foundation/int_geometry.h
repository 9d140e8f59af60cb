// Integer points, sizes and rectangles in document units.
#pragma once

#include <cstdint>

// A point of coordinates of type T: the integer document point, and the
// floating-point and short ones the graphics layer turns and scales.
template <typename T>
struct PointOf {
    T x = 0;
    T y = 0;
};

using IntPoint = PointOf<int32_t>;

struct IntSize {
    int32_t width = 0;
    int32_t height = 0;
};

// Starts out as the empty rectangle at the origin.
struct IntRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};
