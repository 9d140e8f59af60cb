// The outline of a styled line's band and of its end caps.
//
// A line is laid out in its own unrotated frame: the start point is the
// origin of the rotation and the line runs along +x for its length. The
// band is the strip the stripes are drawn in; the caps sit at its two
// ends. Everything here is in that unrotated frame; the drawing code turns
// the points about the start point by the line's angle.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "graphics/placement_records.h"

// Cap codes of a line's two ends.
enum : uint8_t {
    kCapNone = 0,
    kCapRound = 1,
    kCapArrow = 2,
    kCapArrowSwept = 3,
    kCapArrowNotched = 4,
    kCapArrowSquare = 5,
    kCapRoundLarge = 6,
};

// Parts of BorderGeometry.
enum : int32_t {
    kBorderPartBand = 0,
    kBorderPartRightCap = 1,
    kBorderPartLeftCap = 2,
};

constexpr int kBorderGeometryMaxPoints = 7;

// What a line's width gives the shapes drawn along it.
struct LineWidthMeasures {
    int32_t width = 0;
    int32_t a = 0;  // half widths: the band reaches a below and b above a dot's centre
    int32_t b = 0;
    double factor = 0;  // arrow size and dash gap per unit of width
    int32_t arrow = 0;  // arrow size
};
LineWidthMeasures MeasureLineWidth(int32_t width);

// How far a cap pulls the band's end back from the line's end point.
int32_t CapShortening(int32_t cap, const LineWidthMeasures& m);

// The band of a line in its unrotated frame. A line frame's band is
// shortened by its caps and centred on the line; a side of a rectangle
// border runs the whole length with its top edge on the line, so that its
// stripes lie on one side (inside the rectangle).
struct LineBand {
    LineWidthMeasures m;
    IntPoint start;  // the origin of the rotation
    double angle = 0;
    int32_t length = 0;  // truncated
    int32_t x0 = 0;      // band start and end
    int32_t x1 = 0;
    int32_t top = 0;  // top and bottom edges (bottom excluded)
    int32_t bottom = 0;
    int32_t lineY = 0;
};
LineBand LineBandOf(const LineRecord& line, int32_t borderFlag);

// The outline of the band (four points) or of the right or left cap, in
// drawing order; count 0 for a cap of code 0 (or an unknown code) and for
// a line without width. points holds kBorderGeometryMaxPoints.
void BorderGeometry(const LineRecord& line, int32_t borderFlag, int32_t part, IntPoint* points, int32_t* count);
