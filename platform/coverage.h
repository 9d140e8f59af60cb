// Coverage: which device pixels a drawing call touches, before the pen or
// brush is combined with them. Everything the image target draws is first
// turned into coverage by the rules below, so outlines, fills, regions,
// paths and text all agree on the same pixels, with no antialiasing:
//
//   - an area (a fill, a region, a wide pen's outline, a glyph) covers the
//     pixels whose centres lie inside it; pixel (x, y) is the unit square
//     from (x, y) to (x + 1, y + 1), so its centre is (x + 0.5, y + 0.5);
//   - glyphs add dropout control (see FillArea);
//   - a one-pixel line runs from pixel to pixel (the points are pixel
//     indices) and leaves out its end pixel.
//
// Geometry may reach far past the surface (coordinates read from files, a
// frame dragged far off the page). A call costs what its part over the
// coverage's box costs: lines are stepped only across the box, areas are
// scanned only along its rows, and curves are divided finely only where
// they may reach into it. The pixels inside the box are exactly those the
// whole shape would give.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QPainterPath>
#include <QPolygonF>
#include <QRect>
#include <QRegion>

// Device coordinates are kept within +-2^52, where a double still holds
// every whole number; nothing that far out is ever on a surface.
constexpr double kDeviceLimit = 4503599627370496.0;

// A device pixel in 64 bits, so that a line far outside any surface keeps
// its exact ends and slope until it is cut to what is drawn.
struct PixelPoint {
    int64_t x = 0;
    int64_t y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// A one-pixel polyline. `phase` is how far the style pattern (dashes and
// dots) has run at its first point: a figure that leaves the drawn area and
// comes back goes on with the pattern where the whole figure has it.
struct PixelPolyline {
    std::vector<PixelPoint> points;
    int64_t phase = 0;
};

// One byte a pixel over a box of device pixels; set bytes are covered.
class Coverage {
public:
    Coverage() = default;
    explicit Coverage(const QRect& box);

    const QRect& box() const { return box_; }
    bool isNull() const { return box_.isEmpty(); }
    bool test(int x, int y) const
    {
        return box_.contains(x, y) && bits_[size_t(y - box_.top()) * size_t(box_.width()) + size_t(x - box_.left())];
    }
    void set(int x, int y)
    {
        if (box_.contains(x, y))
            bits_[size_t(y - box_.top()) * size_t(box_.width()) + size_t(x - box_.left())] = 1;
    }
    void clear(int x, int y)
    {
        if (box_.contains(x, y))
            bits_[size_t(y - box_.top()) * size_t(box_.width()) + size_t(x - box_.left())] = 0;
    }
    // Covers [x0, x1) of row y, cut to the box.
    void setSpan(int y, int64_t x0, int64_t x1);
    const uint8_t* row(int y) const { return bits_.data() + size_t(y - box_.top()) * size_t(box_.width()); }

    void subtract(const Coverage& other);
    // Adds the pixels of `other` moved by `offset`.
    void add(const Coverage& other, QPoint offset);
    // Keeps only the pixels inside the region.
    void intersect(const QRegion& region);
    bool any() const;

private:
    QRect box_;
    std::vector<uint8_t> bits_;
};

// The pixel box that an area could touch (its bounds, rounded out).
QRect AreaPixelBounds(const QPainterPath& area);

// Covers the pixels whose centres lie inside the area, by the path's own
// fill rule (curves are flattened first). With dropout control, a part of
// the area narrower than a pixel that no centre falls in still covers the
// pixel under its middle, so thin strokes of small glyphs do not vanish.
void FillArea(Coverage& cov, const QPainterPath& area, bool dropouts = false);

// The pixels of an area inside `bound` as a region, exactly as FillArea
// covers them. Made band by band, so it costs the rows of the area within
// `bound` and nothing for the area beyond.
QRegion AreaToRegion(const QPainterPath& area, const QRect& bound);

// The one-pixel lines of an outline: its figures flattened and rounded to
// pixels, repeated points dropped. Curve pieces that lie wholly beyond one
// side of `keep` are left out, the line going on after them; with `styled`
// the pattern's phase then counts the pixels they would have stepped.
std::vector<PixelPolyline> OutlinePixelLines(const QPainterPath& outline, const QRectF& keep, bool styled);
// The same lines handed to onLine one by one as they are made, a figure
// of more than runLimit points (0: any number) in parts of that many, so
// that an outline of any length costs no more memory than that.
void OutlinePixelLines(const QPainterPath& outline, const QRectF& keep, bool styled, size_t runLimit,
                       const std::function<void(PixelPolyline&&)>& onLine);

// The pixels of a one-pixel polyline inside the coverage's box: "on"
// pixels in `on`, the gaps of a styled line (style PS_DASH, PS_DOT,
// PS_DASHDOT or PS_DASHDOTDOT; anything else is solid) in `gaps` when
// given (a coverage over the same box). Each segment leaves out its end
// pixel, and the pattern runs on from one segment to the next.
void DrawPixelLine(const PixelPolyline& line, int32_t style, Coverage& on, Coverage* gaps);

// The box of the pixels of the polyline that lie inside `within`.
QRect PolylinePixelBounds(const PixelPolyline& line, const QRect& within);
