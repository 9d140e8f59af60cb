// One character's outline as the glyph effects work on it: contours of
// line and quadratic-spline segments in the font's design units (the font
// selected at one logical unit per design unit), y growing downward, the
// origin on the baseline at the character's pen position.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/int_geometry.h"

class Dc;

struct GlyphPoint {
    double x = 0;
    double y = 0;
};

enum : uint8_t {
    kGlyphSegmentLine = 1,
    kGlyphSegmentSpline = 2,  // quadratic B-spline: on-curve points between
                              // two control points are their midpoint
};

struct GlyphSegment {
    uint8_t kind = kGlyphSegmentLine;
    std::vector<GlyphPoint> points;
};

struct GlyphContour {
    GlyphPoint start;
    std::vector<GlyphSegment> segments;
};

struct GlyphShape {
    GlyphPoint origin;   // top-left of the black box
    GlyphPoint advance;  // where the next character starts
    GlyphPoint box[4];   // black box: top-left, top-right, bottom-right, bottom-left
    std::vector<GlyphContour> contours;
};

void GlyphShapeInit(GlyphShape* shape);
void GlyphShapeFree(GlyphShape* shape);

// The outline of byte `ch` in the font selected into dc. 0, or 1 when the
// outline cannot be had (the shape is then empty). A character without
// ink (a space) gives no contours and a black box of one unit.
int32_t GlyphOutlineExtract(Dc* dc, uint8_t ch, GlyphShape* shape);

// Every coordinate multiplied: x by sx, y by sy.
void ScaleGlyph(GlyphShape* shape, double sx, double sy);
// Turned about the pen origin, counter-clockwise on the screen for a
// positive angle (degrees).
void RotateGlyph(GlyphShape* shape, double angle);
// Adds the contours to the path open in dc, placed at origin; every
// coordinate is truncated to whole logical units and splines become
// cubic Beziers.
void DrawGlyphPath(Dc* dc, IntPoint origin, const GlyphShape& shape);
