// The placement records of frames, lines and rotated rectangles, as the
// program holds them in memory. Their stored byte layouts are in
// graphics/placement_format.h.
//
// Angles are degrees, counter-clockwise on a screen whose y axis points down.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"

// The rectangle (x, y, x + width, y + height) turned by angle about its own
// top-left corner (x, y). Height comes before width, as stored.
struct FramePlacement {
    int32_t x = 0;
    int32_t y = 0;
    int16_t height = 0;
    int16_t width = 0;
    float angle = 0.0f;
};

// Bits of PlacementBlock::sides: which sides of a frame carry a border. The
// same bits choose the sides of PlacementInsetSides.
enum : uint8_t {
    kSideLeft = 1,
    kSideBottom = 2,
    kSideRight = 4,
    kSideTop = 8,
    kAllSides = 255,
};

// The block every frame keeps at the start of its persistent data. A line
// keeps its polar form here: the placement's origin is its start, width and
// height the vector to its end, angle and length that vector's, and sides
// holds the left cap code in the high four bits and the right cap code in
// the low four.
struct PlacementBlock : FramePlacement {
    float length = 0.0f;
    int16_t lineWidth = 0;  // scaled with the placement by PlacementScale
    int16_t lineStyle = 0;
    uint8_t sides = 0;
};

// A line by its two end points, in drawing order (not normalised).
struct LineRecord {
    IntPoint start;
    IntPoint end;
    uint8_t leftCap = 0;  // low four bits used
    uint8_t rightCap = 0;
    int16_t lineWidth = 0;
    int16_t lineStyle = 0;
};

// Indexes of CornerQuad::corners; the names refer to the unrotated rectangle.
enum : int {
    kQuadTopLeft = 0,
    kQuadTopRight = 1,
    kQuadBottomRight = 2,
    kQuadBottomLeft = 3,
};

// A rotated rectangle held by its corners. Angle 0 means the corners form a
// plain rectangle.
struct CornerQuad {
    IntPoint corners[4];
    float angle = 0.0f;
};

// Filled by the card document's picture code; starts out all zero.
struct PictureRecord {
    uint32_t first = 0;
    uint32_t second = 0;
    uint8_t block[24] = {};
};
