#include "foundation/point_list.h"

#include <cmath>

#include "foundation/int_math.h"

void PointsBounds(const IntPoint* points, int32_t n, IntRect* bounds)
{
    *bounds = IntRect{};
    if (n <= 0)
        return;
    *bounds = {points[0].x, points[0].y, points[0].x, points[0].y};
    for (int32_t i = 1; i < n; ++i) {
        bounds->left = std::min(bounds->left, points[i].x);
        bounds->top = std::min(bounds->top, points[i].y);
        bounds->right = std::max(bounds->right, points[i].x);
        bounds->bottom = std::max(bounds->bottom, points[i].y);
    }
}

void FitPointsToBounds(IntPoint* points, int32_t n, int32_t dx, int32_t dy)
{
    IntRect old;
    PointsBounds(points, n, &old);
    const double oldWidth = double(old.right) - old.left;
    const double oldHeight = double(old.bottom) - old.top;
    if (n <= 0 || oldWidth == 0 || oldHeight == 0)
        return;
    const double newLeft = double(old.left) - dx;
    const double newTop = double(old.top) - dy;
    const double sx = (oldWidth + 2.0 * dx) / oldWidth;
    const double sy = (oldHeight + 2.0 * dy) / oldHeight;
    for (int32_t i = 0; i < n; ++i) {
        points[i].x = TruncToInt32(newLeft + (double(points[i].x) - old.left) * sx);
        points[i].y = TruncToInt32(newTop + (double(points[i].y) - old.top) * sy);
    }
}

void ScalePoints(IntPoint* points, int32_t n, double sx, double sy)
{
    for (int32_t i = 0; i < n; ++i) {
        points[i].x = TruncToInt32(points[i].x * sx);
        points[i].y = TruncToInt32(points[i].y * sy);
    }
}
