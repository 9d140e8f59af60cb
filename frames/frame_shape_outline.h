// Helpers the shape frames share: the thinned outline of a curved shape for
// text wrap, the region a traced path bounds, the hairline their outlines
// trace, and growing a turned placement along its own axes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "foundation/int_geometry.h"
#include "frames/frame_block_format.h"
#include "graphics/placement_records.h"
#include "platform/dc.h"

class WrapPointList;

// Thins points (a closed outline) to about 22 segments and adds them as
// point pairs from the last point down, closing the outline. False, with
// nothing added, when fewer than two points are given or they do not fit
// below limit.
bool AddThinnedOutline(const std::vector<IntPoint>& points, WrapPointList* list, int32_t limit);

// Traces an outline into a path on dc (document units), flattens it and adds
// its points thinned. False when the list has no room for any outline, the
// path fails or its points do not fit.
bool AddSampledOutline(Dc* dc, WrapPointList* list, int32_t limit, const std::function<void(Dc*)>& trace);

// The geometry with a one-unit solid line, as outlines and paths trace it.
FrameGeometry HairlineCopy(const FrameGeometry& g);

// Where the logical origin lies in device units.
IntPoint DeviceOrigin(Dc* dc);

// The region a closed path bounds, traced on dc (a scratch one when null),
// in logical units; nothing when the path could not be made.
std::optional<Region> TracedRegion(Dc* dc, const std::function<void(Dc*)>& trace);

// Moves every side outward by d along the placement's own axes.
void GrowPlacement(FramePlacement* p, int32_t d);
