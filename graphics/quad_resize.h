// Resizing a corner quad by one of its handles, as the frame trackers do
// while the user drags. Handles are numbered as by CornerQuadHandlePoint.
// A turned quad is resized in its own frame (straightened about its top-left
// corner) and turned back afterwards, so the frame keeps its angle.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "graphics/placement_records.h"

// Moves handle n by (dx, dy), given in screen axes. A corner handle moves
// its corner and the quad becomes the rectangle between it and the opposite
// corner; a side handle moves only its side. mode 1 keeps the reference
// quad's proportions on a corner handle (unless the reference has no width
// or no height, which has no proportion to keep), mode 2 moves only
// horizontally, mode 3 only vertically, any other mode freely.
void CornerQuadMoveHandle(CornerQuad* q, int32_t dx, int32_t dy, int32_t n, const CornerQuad& reference,
                          int32_t mode);

// Makes the quad a square reaching from the handle opposite n to point. For
// a corner the square grows from the opposite corner; for a side it has its
// far side on the opposite side and is centred on the reference quad's
// midpoint of that side.
void CornerQuadMoveHandleProportional(CornerQuad* q, int32_t n, const IntPoint& point, const CornerQuad& reference);
