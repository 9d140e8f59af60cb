// The border of a rectangle frame, along the sides its mask chooses.
//
// The sides mask is the frame's stored byte: 8 top, 4 right, 2 bottom,
// 1 left (255, or any value with the four low bits set, is all four).
// Every path of the drawing reads it that way, so a border with only the
// left side ticked draws the left side whatever its style.
#pragma once

#include <cstdint>

#include "graphics/placement_records.h"

class Dc;

// Draws the border of the placement block's rectangle: width (byte 20),
// style (22) and sides (24), turned by its angle about its top-left corner.
// Nothing for width 0.
void DrawRectShape(Dc* dc, const PlacementBlock& block);

// The side from corner i to corner i + 1 (0 top, 1 right, 2 bottom,
// 3 left) and its bit in the sides mask.
constexpr uint8_t SideBitOfCorner(int i) { return uint8_t(8u >> i); }
