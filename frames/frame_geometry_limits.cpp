#include "frames/frame_geometry_limits.h"

#include <algorithm>
#include <cmath>

#include "frames/frame_block_format.h"

namespace {

bool CoordinateWithin(int32_t v) { return v >= -kFrameCoordinateLimit && v <= kFrameCoordinateLimit; }

}  // namespace

bool FrameGeometryWithinLimits(const FrameGeometry& g)
{
    return CoordinateWithin(g.x) && CoordinateWithin(g.y) && std::isfinite(g.angle) && std::fabs(g.angle) < 360.0f &&
           std::isfinite(g.length) && std::fabs(g.length) <= kFrameLengthLimit;
}

bool ClampFrameGeometry(FrameGeometry* g)
{
    if (FrameGeometryWithinLimits(*g))
        return false;
    g->x = std::clamp(g->x, -kFrameCoordinateLimit, kFrameCoordinateLimit);
    g->y = std::clamp(g->y, -kFrameCoordinateLimit, kFrameCoordinateLimit);
    g->angle = std::isfinite(g->angle) ? std::fmod(g->angle, 360.0f) : 0.0f;
    g->length = std::isfinite(g->length) ? std::clamp(g->length, -kFrameLengthLimit, kFrameLengthLimit) : 0.0f;
    return true;
}
