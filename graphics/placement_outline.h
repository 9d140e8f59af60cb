// The outline of a turned frame, as the trackers and selection feedback draw
// it with the current pen.
#pragma once

#include "graphics/placement_records.h"

class Dc;

// The closed outline through the placement's four corners.
void DrawPlacementOutline(Dc* dc, const FramePlacement& p);
