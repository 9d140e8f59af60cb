// Rotated rectangles held by their four corners: bounds, moving, turning,
// shrinking, scaling and the handle points the trackers grab.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "graphics/placement_records.h"
#include "graphics/rotation.h"

// Corners (left, top), (right, top), (right, bottom), (left, bottom), angle 0.
void RectToCornerQuad(const IntRect& r, CornerQuad* q);

// The rectangle of an unturned quad normalised; of any other quad the least
// and greatest x and y of its corners.
void CornerQuadBounds(const CornerQuad& q, IntRect* r);
// The unturned rectangle at the quad's top-left corner with the quad's side
// lengths.
void CornerQuadBoundsNormalized(const CornerQuad& q, IntRect* r);

// Lays a turned quad flat about its top-left corner: the other corners are
// set from the lengths of the top and right sides (rounded). The angle field
// is left as it is. A quad at angle 0 is left alone.
void CornerQuadStraighten(CornerQuad* q);

void CornerQuadOffset(CornerQuad* q, int32_t dx, int32_t dy);
// Turns the corners by the quad's own angle, about centre or about the
// top-left corner.
void CornerQuadRotate(CornerQuad* q, const IntPoint& centre);
void CornerQuadRotate(CornerQuad* q);

// Moves every side inward by dx (left and right) and dy (top and bottom),
// along the quad's own axes; negative values grow it.
void CornerQuadInset(CornerQuad* q, int32_t dx, int32_t dy);

// Handles 1-4 are the corners top-left, top-right, bottom-right,
// bottom-left; 5-8 the midpoints of the top, right, bottom and left sides.
// Any other n gives (0, 0).
void CornerQuadHandlePoint(const CornerQuad& q, int32_t n, IntPoint* point);

// Every coordinate times num / den, truncated; a zero den changes nothing.
void CornerQuadScale(CornerQuad* q, int32_t num, int32_t den);

// Runs act(quad, angle, pivot) with the quad as a plain rectangle at angle 0:
// a turned quad is straightened about its top-left corner (the pivot) first,
// and afterwards gets its angle back and is turned about the pivot again.
// act receives the quad's own angle so that it can bring outside points and
// offsets into the quad's frame.
template <typename Act>
void CornerQuadActUnrotated(CornerQuad* q, Act act)
{
    const IntPoint pivot = q->corners[kQuadTopLeft];
    const float angle = q->angle;
    if (angle == 0 && q->corners[kQuadTopLeft].y == q->corners[kQuadTopRight].y) {
        act(q, 0.0, pivot);
        return;
    }
    CornerQuadStraighten(q);
    q->angle = 0;
    act(q, double(angle), pivot);
    q->angle = angle;
    RotatePoint(q->corners, 4, pivot.x, pivot.y, angle);
}
