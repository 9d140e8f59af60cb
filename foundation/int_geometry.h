// Integer points, sizes and rectangles in document units.
#pragma once

#include <cstdint>

struct IntPoint {
    int32_t x = 0;
    int32_t y = 0;
};

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
