// How much of a turned frame drawing has to make: the part that can be
// seen. A frame that reaches far beyond the page (or the sheet cell being
// printed) costs no more than the part of it inside.
#pragma once

#include "foundation/int_geometry.h"

// The part of the unturned rectangle r that, turned by angle (degrees,
// counter-clockwise on the screen) about r's top-left corner, can fall
// inside area; r itself when all of it can, an empty rectangle when none.
IntRect VisiblePartOfTurned(const IntRect& r, double angle, const IntRect& area);

// The bounds of part turned by angle about origin.
IntRect TurnedBoundsAbout(const IntRect& part, const IntPoint& origin, double angle);

// The most pixels an image made to draw one frame may hold (64 MB at 32
// bits): far more than a page shows at 1:1.
constexpr double kFrameImageMaxPixels = double(1 << 24);

// The factor (at most 1) that brings an image of width x height pixels
// within kFrameImageMaxPixels; a frame larger than that is drawn from an
// image of less detail, stretched to its place.
double FrameImageScale(double width, double height);

// The size of the bounding box of a width x height rectangle turned by
// angle degrees.
void TurnedBoxSize(double width, double height, double angle, double* boxWidth, double* boxHeight);

// The area of the page a document shows: its page slots with the
// pasteboard around them (the slots' margins from the origin), in
// document units; empty when no slot shows a page.
IntRect ShownPageArea(const IntRect& slot0, const IntRect& slot1);
