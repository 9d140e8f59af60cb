// Rectangle and point arithmetic used throughout the drawing and editing
// code. Rectangles follow the platform's rules: right and bottom are the
// first coordinates outside, and a rectangle is normalised when
// left <= right and top <= bottom.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"

void RectSet(IntRect* r, int32_t left, int32_t top, int32_t right, int32_t bottom);
void SetPoint(IntPoint* p, int32_t x, int32_t y);
void RectOffset(IntRect* r, int32_t dx, int32_t dy);
// Moves the rectangle to (0, 0) keeping its size.
void RectToOrigin(IntRect* r);
// Shrinks by dx on the left and right and dy at the top and bottom.
void RectInset(IntRect* r, int32_t dx, int32_t dy);

// Orders both pairs and returns r; a null r is returned as it is.
IntRect* RectNormalize(IntRect* r);

// Least left and top, greatest right and bottom (an empty rectangle counts
// like any other).
void RectUnion(const IntRect& a, const IntRect& b, IntRect* out);
// The common part and 1, or the empty rectangle at the origin and 0 when
// they do not overlap.
int32_t RectIntersect(const IntRect& a, const IntRect& b, IntRect* out);

// 1 when the normalised rectangle is both narrower than w and lower than h.
int32_t RectIsTiny(const IntRect& r, int32_t w, int32_t h);
int32_t RectEqual(const IntRect& a, const IntRect& b);
int32_t PointEqual(const IntPoint& a, const IntPoint& b);
// 1 when a lies wholly inside b.
int32_t RectInsideRect(const IntRect& a, const IntRect& b);

// Gives a rectangle of no width or no height one unit of it.
void RectEnsureNonEmpty(IntRect* r);
inline void RectWidenEmpty(IntRect* r) { RectEnsureNonEmpty(r); }

// n = 0 (left, top), 1 (right, top), 2 (right, bottom), 3 (left, bottom);
// any other n gives (0, 0).
void RectCornerPoint(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t n, IntPoint* p);

// The square of side max(width, height) centred on the rectangle (sizes
// taken as 16-bit values).
void SquareAroundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, IntRect* out);

// Limits a move so that inner, moved by offset, stays inside outer; a box
// already past an edge is not moved back, nor further out.
void ClampOffsetToBounds(IntPoint* offset, const IntRect& inner, const IntRect& outer);

// Maps r from the coordinate space of from to that of to, scaling x by
// (to width + 1) / (from width + 1) and y likewise.
void RectMapScale(IntRect* r, const IntRect& from, const IntRect& to);

// The largest rectangle of width / height = aspect inside r, centred. An
// aspect that is not positive counts as 1 (square).
void FitAspectInRect(const IntRect& r, double aspect, IntRect* out);
// A box of width x height centred in r when it fits (and is at least one
// unit each way); otherwise the largest rectangle of its aspect.
void FitSizeInRect(const IntRect& r, double width, double height, IntRect* out);
inline void FitBoxInRect(const IntRect& r, double width, double height, IntRect* out)
{
    FitSizeInRect(r, width, height, out);
}

// The bounds of n points, right and bottom included; no points give the
// empty rectangle at the origin.
void PolygonBounds(const IntPoint* points, int32_t n, IntRect* out);

// Direction of the vector from (left, top) to (right, bottom), from its
// 16-bit components: 1 up and right, 2 up and left, 3 down and left, 0 in
// every other case.
int32_t RectDiagonalQuadrant(const IntRect& r);

// The ellipse of which the normalised rectangle r is the quarter q (0-3),
// with the start angle and the sweep (90) of that quarter's arc, for drawing
// arcs. r becomes the ellipse's rectangle. Any other q only normalises r and
// leaves the start angle alone.
void ArcQuadrantEllipse(int32_t q, IntRect* r, double* startAngle, double* sweep);

// A rectangle in floating point, for scaling without losing the fractions
// between steps. It comes back by truncating each value toward zero.
struct DoubleRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    DoubleRect() = default;
    explicit DoubleRect(const IntRect& r) : left(r.left), top(r.top), right(r.right), bottom(r.bottom) {}

    DoubleRect& operator*=(int32_t factor)
    {
        left *= factor;
        top *= factor;
        right *= factor;
        bottom *= factor;
        return *this;
    }
    IntRect toIntRect() const;
};
