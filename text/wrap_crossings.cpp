#include "text/wrap_crossings.h"

#include <algorithm>
#include <cmath>

#include "foundation/int_math.h"

namespace {

void AddCrossing(LayoutContext* ctx, int32_t x, int32_t y, int8_t tag)
{
    // A full list keeps overwriting its last entry.
    const int32_t at = std::min(ctx->crossingCount, kCrossingLimit - 1);
    ctx->crossings[size_t(at)] = WrapCrossing{x, y, tag};
    ctx->crossingCount = at + 1;
}

}  // namespace

EdgeCrossing IntersectOutlineEdge(IntPoint a, IntPoint b, const IntRect& band, int32_t tol)
{
    EdgeCrossing none;
    const int32_t top = band.top;
    int64_t y1 = a.y;
    int64_t y2 = b.y;
    const int64_t x1 = a.x;
    const int64_t x2 = b.x;
    // Heights of the ends above the band; the vertex rule below looks at
    // these, where the edge really is, not at the edge as it is moved.
    const int64_t d1 = top - y1;
    const int64_t d2 = top - y2;
    if ((d1 > tol && d2 > tol) || (d1 < 0 && d2 < 0) || y1 == y2)
        return none;
    const int8_t tag = y1 < y2 ? 1 : -1;
    const bool runsRight = x2 - x1 >= 1;
    if (!runsRight) {
        const bool aboveNear = d1 >= 0 && d2 >= 0 && std::min(d1, d2) <= tol;
        const bool across = (d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0);
        if (aboveNear || across) {
            const int64_t shift = std::min<int64_t>(tol, std::max(d1, d2));
            y1 += shift;
            y2 += shift;
        }
    }
    if (runsRight && d1 == 0 && d2 >= 1)
        return none;
    if (x2 < x1 && d1 == 0 && d2 < 0)
        return none;
    if (x1 == x2 && band.left == band.right)
        return none;
    double X = 0;
    double Y = 0;
    if (x1 == x2) {
        X = double(x1);
        Y = top;
    } else {
        const double m = double(y1 - y2) / double(x1 - x2);
        if (band.left == band.right) {
            X = band.left;
            Y = double(y1) + (double(band.left) - double(x1)) * m;
        } else {
            if (m == 0)
                return none;
            X = (double(top) - std::trunc(double(y1) - double(x1) * m)) / m;
            Y = top;
        }
    }
    const double low = double(std::min(y1, y2));
    const double high = double(std::max(y1, y2));
    if (!(Y >= low && Y <= high))
        return none;
    EdgeCrossing c;
    c.tag = tag;
    if (X > band.right) {
        c.kind = 2;
        c.x = band.right;
        c.y = TruncToInt32(Y);
    } else if (X < band.left) {
        c.kind = 3;
        c.x = band.left;
        c.y = TruncToInt32(Y);
    } else {
        c.kind = 1;
        c.x = TruncToInt32(X + 0.5);
        c.y = TruncToInt32(Y + 0.5);
    }
    return c;
}

void CollectWrapCrossings(LayoutContext* ctx, const IntRect& band, int32_t height)
{
    const int32_t tol = height - 1 < 2 ? 1 : height - 1;
    ctx->crossingCount = 0;
    AddCrossing(ctx, band.left, band.top, -1);
    bool replacedOnce = false;
    int32_t i = 0;
    const int32_t n = std::min(ctx->wrapCount, kWrapPointLimit) & ~1;
    while (i < n) {
        const IntPoint polygonStart = ctx->wrapPoints[size_t(i)];
        int8_t previousTag = 0;
        int32_t added = 0;
        bool havePrevious = false;
        EdgeCrossing previous;
        for (; i + 1 < n; i += 2) {
            const IntPoint a = ctx->wrapPoints[size_t(i)];
            const IntPoint b = ctx->wrapPoints[size_t(i + 1)];
            const EdgeCrossing c = IntersectOutlineEdge(a, b, band, tol);
            if (c.kind != 0) {
                const bool sharedVertex = c.kind == 1 && havePrevious && previous.kind == 1 && previous.x == c.x &&
                                          previous.y == c.y && previous.tag == c.tag;
                if (!sharedVertex) {
                    if (c.tag != previousTag) {
                        AddCrossing(ctx, c.x, c.y, c.tag);
                        previousTag = c.tag;
                        ++added;
                    } else if (c.tag == -1 && !replacedOnce) {
                        WrapCrossing& last = ctx->crossings[size_t(ctx->crossingCount - 1)];
                        last.x = c.x;
                        last.y = c.y;
                        replacedOnce = true;
                    }
                }
            }
            havePrevious = c.kind != 0;
            previous = c;
            if (b.x == polygonStart.x && b.y == polygonStart.y) {
                i += 2;
                break;
            }
        }
        if (added % 2 == 1 && ctx->crossingCount > 1)
            --ctx->crossingCount;
    }
}

void WidestFreeInterval(LayoutContext* ctx, const IntRect& band, int32_t* left, int32_t* right)
{
    std::stable_sort(ctx->crossings.begin() + 1, ctx->crossings.begin() + ctx->crossingCount,
                     [](const WrapCrossing& a, const WrapCrossing& b) { return a.x < b.x; });
    AddCrossing(ctx, band.right, band.top, 1);
    *left = band.left;
    *right = band.left;
    int32_t level = 0;
    int32_t best = 0;
    bool found = false;
    for (int32_t k = 0; k < ctx->crossingCount; ++k) {
        level -= ctx->crossings[size_t(k)].tag;
        if (level == 1 && k + 1 < ctx->crossingCount) {
            const int32_t from = ctx->crossings[size_t(k)].x;
            const int32_t to = ctx->crossings[size_t(k + 1)].x;
            if (!found || to - from > best) {
                best = to - from;
                *left = from;
                *right = to;
                found = true;
            }
        }
    }
}

bool ComputeLineSlot(LayoutContext* ctx, int32_t height, int32_t rectBottom, IntRect* band, IntRect* slot)
{
    if (ctx->wrapCount <= 0) {
        *slot = *band;
        return true;
    }
    const int32_t step = std::max(height, 6) / 2;
    for (;;) {
        CollectWrapCrossings(ctx, *band, height);
        int32_t left = 0;
        int32_t right = 0;
        WidestFreeInterval(ctx, *band, &left, &right);
        if (right > left) {
            *slot = IntRect{left, band->top, right, band->bottom};
            return true;
        }
        if (band->top + 1 >= rectBottom) {
            *slot = IntRect{band->left, band->top, band->left, band->bottom};
            return false;
        }
        band->top += step;
        band->bottom += step;
    }
}
