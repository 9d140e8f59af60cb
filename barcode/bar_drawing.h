// The two ways the symbologies put ink on the device context: one bar, and
// one character of a caption.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "barcode/barcode_record.h"
#include "foundation/int_geometry.h"

class Dc;

// Turns the points about the centre by angle degrees, counter-clockwise on
// the screen; an angle of 0 leaves them.
void RotateBarcodePoints(IntPoint* points, int16_t count, const int32_t centre[2], double angle);

// One bar with its top-left corner at (x, y), turned by angle about the
// centre: filled with the context's brush, or, narrower than 2 units, drawn
// as a line in the text colour. The place and size are taken to whole units
// (truncated) where the target shows whole units; paper gets the bar where
// it is, to the fraction, so that narrow modules keep their widths.
void DrawBar(Dc* dc, double x, double y, double width, double height, double angle, const int32_t centre[2]);

// Lines through the points with the context's pen, as a polyline draws
// them.
void DrawBarcodePolyline(Dc* dc, const IntPoint* points, int count);

// Width of one character in the context's font.
int32_t BarcodeCharWidth(Dc* dc, uint8_t ch);

// One group of a caption: characters at points of the unturned barcode,
// turned with it and drawn together, so that a target keeping text as
// text holds the group as one run (found and copied whole).
class CaptionRun {
public:
    CaptionRun(Dc* dc, const BarcodeRecord& rec) : dc_(dc), rec_(rec) {}

    void Add(double x, double y, uint8_t ch);
    void Draw();

private:
    Dc* dc_;
    const BarcodeRecord& rec_;
    std::string text_;
    std::vector<IntPoint> at_;
};

// A caption character at (x, y) of the unturned barcode, turned with it.
void DrawCaptionChar(Dc* dc, const BarcodeRecord& rec, double x, double y, uint8_t ch);

// Lays bars and spaces from left to right, keeping the exact position so
// that truncation of one element does not shift the next.
class BarTrack {
public:
    BarTrack(Dc* dc, const BarcodeRecord& rec, double x);

    double x() const { return x_; }
    void Bar(double width, double y, double height);
    void Space(double width) { x_ += width; }

private:
    Dc* dc_;
    double angle_;
    int32_t centre_[2];
    double x_;
};
