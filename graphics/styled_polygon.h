// Regular polygons and stars on an ellipse, drawn as styled rings.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/placement_records.h"
#include "graphics/rotation.h"

class Dc;

// A star frame's description: its point count, whether it is a plain
// polygon (any value but 0) or a star (0), and how far the inner points of
// a star lie toward the centre (0 on the ellipse, 1 at the centre).
struct StarDescription {
    int16_t points = 3;
    int16_t starFlag = 0;
    double innerRatio = 0.75;
};

// The corners on the ellipse of the placement's unrotated rectangle: the
// first at the top, then turning toward the left (counter-clockwise on the
// screen); a star alternates outer points and inner points half a step on.
std::vector<FloatPoint> StyledPolygonPoints(const FramePlacement& p, const StarDescription& d);

// Moves every point toward the centre so that each side moves inward by
// about d, along the bisector of its corner, but never past the centre.
void PolygonMoveInward(std::vector<FloatPoint>* points, FloatPoint centre, double d);

// The styled outline of the polygon or star: rings from the stripe table
// (dashed and dotted styles as single lines), each ring two or more units
// thick filled with the selected brush, a one-unit ring drawn with the
// selected pen at one unit width. Turned about the centre by the
// placement's angle.
void DrawStyledPolygon(Dc* dc, const PlacementBlock& block, const StarDescription& d);
