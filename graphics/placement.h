// Conversions between placements, rectangles and corner quads, and the
// operations that move, scale, turn and shrink a frame's placement.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "graphics/placement_records.h"

// (x, y, x + width, y + height); the angle is ignored.
void PlacementToRect(const FramePlacement& p, IntRect* r);

// Origin (left, top), the sizes from the rectangle, the given angle (0 in the
// first form) and every border side on; length and the line words are left
// alone.
void RectToPlacement(const IntRect& r, PlacementBlock* b);
void RectToPlacement(const IntRect& r, double angle, PlacementBlock* b);

// The four corners of the turned placement; the quad keeps its angle.
void PlacementCorners(const FramePlacement& p, CornerQuad* q);
void PlacementRotatedBounds(const FramePlacement& p, IntRect* r);

// The unrotated corners, with the placement's angle copied but not applied;
// the second form then turns them about centre by that angle.
void PlacementToCornerQuad(const FramePlacement& p, CornerQuad* q);
void PlacementToCornerQuadAbout(const FramePlacement& p, const IntPoint& centre, CornerQuad* q);

// Origin at the top-left corner, width and height from the lengths of the
// top and right sides (truncated), the quad's angle.
void QuadToPlacement(const CornerQuad& q, FramePlacement* p);

// Zooms the placement, its length and its line width by num / den. A line
// width that was not 0 stays at least 1 so that thin lines do not vanish
// when zoomed out. A zero den changes nothing.
void PlacementScale(PlacementBlock* b, int32_t num, int32_t den);

// Turns the origin about centre by angle. The new angle is a whole number of
// degrees in -359..359 with the sign of the sum: fractional degrees of the
// old angle are dropped.
void PlacementRotateAbout(FramePlacement* p, double angle, const IntPoint& centre);

// Anchor 0 shrinks by dx and dy on both sides. Any other anchor shrinks the
// size by dx and dy once and moves the origin by dx (anchor 1), by dy in y
// (anchor 3), by both (anchor 4) or not at all. The origin moves along the
// screen axes whatever the angle. Returns 0.
int32_t PlacementInset(FramePlacement* p, int32_t dx, int32_t dy, int32_t anchor);
// Shrinks by dx and dy on both sides.
void PlacementInsetBoth(FramePlacement* p, int32_t dx, int32_t dy);

// Shrinks the chosen sides (kSideTop, kSideRight, kSideBottom, kSideLeft) by
// n, at most half the width and half the height. The plain form moves the
// origin along the screen axes; PlacementInsetSides moves it along the turned
// frame's own axes and, on a turned frame, keeps one or two units more of
// width and height, so that no gap opens between a border and the inner
// area where the turned corners were truncated.
void PlacementInsetSidesPlain(FramePlacement* p, int32_t n, uint32_t sides);
void PlacementInsetSides(FramePlacement* p, int32_t n, uint32_t sides);
