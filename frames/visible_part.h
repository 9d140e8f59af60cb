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

// The area of the page a document shows: its page slots with the
// pasteboard around them (the slots' margins from the origin), in
// document units; empty when no slot shows a page.
IntRect ShownPageArea(const IntRect& slot0, const IntRect& slot1);
