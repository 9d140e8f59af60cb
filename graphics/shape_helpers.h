// Small drawing helpers the border and shape code and the trackers share.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "platform/gdi_types.h"

class Dc;

// Paints the polygon (winding fill) with the selected brush. With the
// frame flag, a polygon whose first and fourth points coincide (a stripe
// that has collapsed to a line) is framed one unit wide instead, so that
// it still shows. True when the painting succeeded.
bool FillPolygonRegion(Dc* dc, const IntPoint* points, int32_t count, bool frame);

// Fills the ellipse of the rectangle (right and bottom excluded) with brush.
bool FillEllipseRegion(Dc* dc, const Brush& brush, int32_t left, int32_t top, int32_t right, int32_t bottom);

// Half the shorter side of the rectangle (16-bit sizes), rounded down.
int32_t HalfShorterSide(const IntRect& r);

// Rubber-band feedback: a line one unit wide that inverts the pixels under
// it, so that drawing it a second time puts them back.
void DrawXorLine(Dc* dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// A circle of radius size / 2 - 2 about (x, y) with a vertical and a
// horizontal stroke through it reaching size / 2 out (the rotation centre).
void DrawCenterMark(Dc* dc, int32_t x, int32_t y, int32_t size);

// MoveTo the first point, LineTo the others and back to the first.
void DrawClosedPolyline(Dc* dc, const IntPoint* points, int32_t count);

// A cubic Bezier from p[0] to p[3] drawn as LineTo segments, halving it
// until each piece's end points lie less than 5 units apart (|dx| + |dy|).
// The current position is taken to be at p[0].
void DrawFlattenedBezier(Dc* dc, const IntPoint p[4]);
