// Where a line's band meets the outlines of the frames over its text frame,
// and which piece of the band the line may use.
//
// The outlines are closed polygons given edge by edge as point pairs (point
// 0 to point 1, point 2 to point 3, ...); a polygon's last edge ends where
// its first began, and the next edge starts the next polygon. A band is a
// horizontal segment at the baseline y being tried (top = bottom = y); the
// line of height h above it is what must stay clear of the outlines.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "text/layout_context.h"

struct EdgeCrossing {
    int kind = 0;  // 0 none; 1 inside the band; 2 right of it; 3 left of it
    int32_t x = 0;
    int32_t y = 0;
    int8_t tag = 0;
};

// One edge against the band; tol is the height above the band's y that
// still counts as touching it.
EdgeCrossing IntersectOutlineEdge(IntPoint a, IntPoint b, const IntRect& band, int32_t tol);

// Fills the context's crossing list for the band: the band's left edge,
// every counted crossing, in the order the edges give them.
void CollectWrapCrossings(LayoutContext* ctx, const IntRect& band, int32_t height);

// The widest piece of the band outside every outline (the first of equal
// widths), from the crossings collected: empty (right <= left) when none.
void WidestFreeInterval(LayoutContext* ctx, const IntRect& band, int32_t* left, int32_t* right);

// The slot for a line of the given height whose baseline is band.top: the
// band itself without outlines; otherwise the widest free piece, the band
// moving down by half the line height while none is free. false when the
// band reached the bottom without finding room.
bool ComputeLineSlot(LayoutContext* ctx, int32_t height, int32_t rectBottom, IntRect* band, IntRect* slot);
