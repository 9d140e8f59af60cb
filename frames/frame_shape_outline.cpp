#include "frames/frame_shape_outline.h"

#include <algorithm>

#include "foundation/int_math.h"
#include "frames/frame_obj_scratch_dc.h"
#include "frames/wrap_point_list.h"
#include "graphics/rotation.h"
#include "platform/dc.h"

namespace {

// Room every curved outline asks for before it traces anything.
constexpr int32_t kSampledOutlineRoom = 46;
constexpr int32_t kSampledSegments = 22;

}  // namespace

bool AddThinnedOutline(const std::vector<IntPoint>& points, WrapPointList* list, int32_t limit)
{
    const int32_t n = int32_t(points.size());
    if (n < 2)
        return false;
    const int32_t step = n <= kSampledSegments ? 1 : n / kSampledSegments + 1;
    // The pairs the loop adds, plus the closing pair: counted as they are
    // added, so that the list never runs past its limit.
    const int32_t needed = 2 * ((n - 1) / step) + 2;
    if (!list->HasRoom(needed, limit))
        return false;
    int32_t i = n - 1;
    for (; i >= step; i -= step) {
        list->Add(points[size_t(i)]);
        list->Add(points[size_t(i - step)]);
    }
    list->Add(points[size_t(i)]);
    list->Add(points[size_t(n - 1)]);
    return true;
}

bool AddSampledOutline(Dc* dc, WrapPointList* list, int32_t limit, const std::function<void(Dc*)>& trace)
{
    if (!list->HasRoom(kSampledOutlineRoom, limit))
        return false;
    if (!dc)
        dc = ScratchDc();
    if (!dc->beginPath())
        return false;
    trace(dc);
    if (!dc->endPath()) {
        dc->abortPath();
        return false;
    }
    if (!dc->flattenPath()) {
        dc->abortPath();
        return false;
    }
    const std::vector<PathPoint> path = dc->getPath();
    dc->abortPath();
    std::vector<IntPoint> points;
    points.reserve(path.size());
    for (const PathPoint& p : path)
        points.push_back(p.point);
    return AddThinnedOutline(points, list, limit);
}

IntPoint DeviceOrigin(Dc* dc)
{
    IntPoint origin{0, 0};
    dc->lpToDp(&origin, 1);
    return origin;
}

std::optional<Region> TracedRegion(Dc* dc, const std::function<void(Dc*)>& trace)
{
    if (!dc)
        dc = ScratchDc();
    if (!dc->beginPath())
        return std::nullopt;
    trace(dc);
    if (!dc->endPath()) {
        dc->abortPath();
        return std::nullopt;
    }
    Region rgn = dc->pathToRegion();
    const IntPoint o = DeviceOrigin(dc);
    rgn.offset(-o.x, -o.y);
    return rgn;
}

FrameGeometry HairlineCopy(const FrameGeometry& g)
{
    FrameGeometry copy = g;
    copy.lineWidth = 1;
    copy.lineStyle = 1;
    return copy;
}

void GrowPlacement(FramePlacement* p, int32_t d)
{
    IntPoint shift{-d, -d};
    if (p->angle != 0)
        RotatePoint(&shift, 1, 0, 0, p->angle);
    p->x = Add32(p->x, shift.x);
    p->y = Add32(p->y, shift.y);
    p->width = int16_t(std::clamp<int32_t>(p->width + 2 * d, 0, INT16_MAX));
    p->height = int16_t(std::clamp<int32_t>(p->height + 2 * d, 0, INT16_MAX));
}
