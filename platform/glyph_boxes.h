// Where a run of glyphs may paint, to tell whether its clip cuts anything.
// A page of labels clips each label to its cell, though the label's text
// lies well within it; every clip a PDF page is given costs a rectangle, a
// restore of the graphics state and the state set again, and splits the
// page's text into one text object a label.
#pragma once

#include <memory>
#include <unordered_map>

#include <QHash>
#include <QRawFont>
#include <QRectF>

struct FontFace;
struct PageOpDetail;

// The boxes of glyphs' outlines, by face, kept as they are asked for: a
// page of labels draws the same few dozen glyphs over and over.
class GlyphBoxes {
public:
    // The box of the glyph's outline (its control points, which hold its
    // curves) with its origin at (0, 0), in device pixels of `font`, the
    // face at its size.
    QRectF of(const std::shared_ptr<const FontFace>& face, const QRawFont& font, quint32 glyph);

private:
    struct Known {
        std::shared_ptr<const FontFace> face;  // keeps the key alive
        QHash<quint32, QRectF> boxes;
    };
    std::unordered_map<const FontFace*, Known> faces_;
};

// Whether the glyphs of a run (see PageOp::kGlyphs), drawn in `font`, lie
// within `area`, reckoned generously: the output may slant a face that has
// no italic of its own and embolden one that has no bold. False when
// unsure.
bool GlyphsOnlyWithin(const PageOpDetail& run, const QRectF& area, const QRawFont& font, GlyphBoxes* boxes);
