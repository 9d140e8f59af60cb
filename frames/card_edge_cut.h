// Whether the card's edge (on paper, the label's) cuts a frame whose size
// is that of what it holds, so that some of it is lost.
#pragma once

#include "foundation/int_geometry.h"

// True when the content reaches more than a unit past the area; *shown
// then holds the part of it within the area (empty when none is). A unit
// of slack: a label's clip is taken to whole device units.
bool CardEdgeCuts(const IntRect& content, const IntRect& area, IntRect* shown);

class Dc;

// The window's mark for content that doesn't all show: a black dot inside
// the bottom right corner of what is shown, for text and Quick Cards alike.
void DrawOverflowMark(Dc* dc, const IntRect& shown);
