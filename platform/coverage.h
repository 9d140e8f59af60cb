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
#pragma once

#include <cstdint>
#include <vector>

#include <QPainterPath>
#include <QPolygon>
#include <QRect>
#include <QRegion>

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
    void setSpan(int y, int x0, int x1);
    const uint8_t* row(int y) const { return bits_.data() + size_t(y - box_.top()) * size_t(box_.width()); }

    void subtract(const Coverage& other);
    // Adds the pixels of `other` moved by `offset`.
    void add(const Coverage& other, QPoint offset);
    // Keeps only the pixels inside the region.
    void intersect(const QRegion& region);
    bool any() const;
    // The covered pixels as a region.
    QRegion toRegion() const;

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
void FillPolygons(Coverage& cov, const std::vector<QPolygonF>& polygons, Qt::FillRule rule, bool dropouts = false);

// The pixels of an area as a region, exactly as FillArea covers them.
QRegion AreaToRegion(const QPainterPath& area);

// Steps along one-pixel lines. Styled lines (dashes and dots) keep their
// pattern running from one segment to the next, as a polyline does.
class PixelLine {
public:
    // style: PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT or PS_DASHDOTDOT.
    explicit PixelLine(int32_t style);
    // Marks the pixels from a up to, but not including, b: "on" pixels in
    // `on`, the gaps of a styled line in `gaps` (when given).
    void segment(QPoint a, QPoint b, Coverage& on, Coverage* gaps);

private:
    const uint8_t* pattern_ = nullptr;  // run lengths, on first; null = solid
    int count_ = 0;
    int index_ = 0;
    int left_ = 0;
};

// The pixels a polyline of pixel points touches (for sizing coverage).
QRect PolylinePixelBounds(const QPolygon& line);
