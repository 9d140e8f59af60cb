// The envelope shapes of power text: each glyph of a line is bent so that
// the line fills one of 21 outlines (1 "Rectangular" leaves it as it is).
#pragma once

#include <cstdint>

#include "typography/glyph_shape.h"

// A line's envelope: the box its glyphs fill, in the same coordinates as
// the pen positions (the glyphs' points are relative to their pen).
struct GlyphBox {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// Maps every contour start and segment point of the glyph drawn at `pen`
// into the envelope of shape 1-21 over `box` (any other shape: none). For
// horizontal text heights vary along the line, measured from the box's
// bottom; for vertical text the roles of x and y are exchanged. Edges are
// split where the envelope bends them, so the glyph's segments may come
// back more and shorter. flipX mirrors the glyph about its pen (a line
// drawn from right to left then reads mirrored), flipY mirrors it within
// the box. The advance and the black box follow the mapping.
void WarpGlyph(GlyphShape* shape, const GlyphBox& box, int32_t shapeNumber, bool horizontal, GlyphPoint pen,
               bool flipX, bool flipY);
