// What a barcode puts on paper as it is drawn: the box of its bars, its
// lines and the glyphs of its caption, in the context's logical units, for
// a print that asks whether its label's clip cut it without drawing it a
// second time. The bars are taken as the symbology lays them down, before
// the shown area cuts them, so a bar wholly past the label counts.
#pragma once

#include <cstddef>
#include <string_view>

#include <QRectF>

#include "foundation/int_geometry.h"
#include "graphics/rotation.h"

class Dc;

class BarcodeInk {
public:
    // Tallies what the barcode drawing of this thread puts on `dc` until
    // this ends. A caption glyph that surely stays within `within` is not
    // laid out, and adds nothing.
    BarcodeInk(const Dc* dc, const QRectF& within);
    ~BarcodeInk();
    BarcodeInk(const BarcodeInk&) = delete;
    BarcodeInk& operator=(const BarcodeInk&) = delete;

    // The box the ink of a barcode drawn on `dc` may fill: its clip with a
    // device unit of slack.
    static QRectF Allowed(const Dc* dc);
    // Whether what was tallied reaches past `allowed`.
    bool Past(const QRectF& allowed) const;

    // Empty when nothing was drawn (nor given again from a kept drawing,
    // which draws nothing here).
    const QRectF& Ink() const
    {
        if (any_)
            ink_ = QRectF(QPointF(left_, top_), QPointF(right_, bottom_));
        return ink_;
    }

    // Told by the drawing, when a tally is open on the thread: a filled
    // bar's corners, a line through points (a pixel wide), and caption
    // glyphs each at its own point.
    static void Bar(const DoublePoint* corners, size_t count);
    static void Bar(const IntPoint* corners, size_t count);
    static void Line(const IntPoint* points, size_t count);
    static void Glyphs(std::string_view text, const IntPoint* at);

private:
    void Add(double left, double top, double right, double bottom);

    const Dc* dc_;
    QRectF within_;
    mutable QRectF ink_;
    BarcodeInk* outer_;
    // The box as it grows: cheaper than a rectangle made and united for
    // each bar.
    double left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
    bool any_ = false;
};
