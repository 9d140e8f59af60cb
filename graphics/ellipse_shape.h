// Ellipses and quarter arcs as Bezier curves, and their styled rings.
#pragma once

#include <cstdint>

#include "graphics/placement_records.h"

class Dc;

// Direction of an ellipse's outline on the screen.
enum : int32_t {
    kEllipseCounterClockwise = 0,
    kEllipseClockwise = 1,
};

// Quarter arcs. The placement is the quarter's own box and the code says
// which of its corners is the centre of the ellipse: 1 top-right (the
// lower-left quarter is drawn), 2 top-left (lower-right), 3 bottom-left
// (upper-right), 4 bottom-right (upper-left). The same code anchors the
// box when a ring shrinks it (PlacementInset), so the centre stays put.
enum : int32_t {
    kArcNone = 0,
    kArcCentreTopRight = 1,
    kArcCentreTopLeft = 2,
    kArcCentreBottomLeft = 3,
    kArcCentreBottomRight = 4,
};

// The ellipse inscribed in the placement's unrotated rectangle as four
// cubic Beziers (thirteen points, from the top of the ellipse), each
// quarter with its control points 0.4375 of the way from the corner to the
// side midpoints; turned about (cx, cy) by the placement's angle and drawn
// with one PolyBezier. With an arc code 1-4 only the quarter that lies in
// the box of that code (see above) is drawn: MoveTo (moveFirst) or LineTo
// its first point, then PolyBezierTo.
void DrawEllipseBezier(Dc* dc, const FramePlacement& p, int32_t direction, int32_t arcCode, int32_t cx, int32_t cy,
                       bool moveFirst);

// The styled outline of an ellipse (whole 1) or of a quarter arc (whole 0,
// arcCode 1-4 with the placement as the quarter's box). Dashed and dotted
// styles draw as single lines. Rings two or more units thick are filled
// paths (the selected brush, background mode transparent while filling);
// one-unit rings are curves drawn with the selected pen. A quarter arc's
// ring is at most as thick as the box's smaller side; at that thickness it
// fills the quarter.
void DrawEllipseShape(Dc* dc, const PlacementBlock& block, int32_t whole, int32_t arcCode);
