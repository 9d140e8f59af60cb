// Rounded rectangles: their outline as lines and Bezier corners, and their
// styled rings.
#pragma once

#include <cstdint>

#include "graphics/placement_records.h"

class Dc;

// The corner radius of a rounded rectangle inset by `inset`: a quarter of
// the shorter side (each side quartered first), less one unit for every
// unit of inset beyond the first, so that inner outlines keep their
// corners about the same centres.
int32_t RoundRectRadius(const FramePlacement& p, int32_t inset);

// The outline of the placement inset by `inset` on every side, turned
// about the placement's origin by its angle: from the left side r above
// the bottom-left corner, counter-clockwise on the screen, each corner a
// quarter-ellipse Bezier (control points 0.4375 of the way to the corner)
// and each side a LineTo. With no radius left the outline is the plain
// turned quad. moveFirst begins it with a MoveTo (a new figure), else
// with a LineTo from the current position. Nothing when the inset leaves
// no width or height.
void RoundRectPath(Dc* dc, const PlacementBlock& block, int32_t inset, bool moveFirst);

// The styled outline: dashed, dotted and single styles as one solid ring
// of the full width, the others ring by ring from the stripe table. Rings
// two or more units thick are filled paths (selected brush, background
// mode transparent while filling); one-unit rings are drawn with the pen.
void DrawRoundRectShape(Dc* dc, const PlacementBlock& block);
