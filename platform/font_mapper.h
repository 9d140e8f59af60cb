// Fonts: a LogFont resolved to an installed face at a size in device
// pixels, with the metrics and glyph outlines the drawing code measures
// and draws with.
//
// Metrics come from the face's design units scaled linearly (no hinting),
// so a text measures the same on screen, at any zoom and in print. Each
// character advances by its design advance rounded to whole device pixels,
// and a text's width is the sum of those, so drawing a text at once or
// character by character puts every glyph in the same place.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include <QFont>
#include <QPainterPath>
#include <QRawFont>
#include <QString>

#include "platform/coverage.h"
#include "platform/gdi_types.h"

struct FontFace {
    QString family;
    double emPixels = 0;  // the character (em) height in device pixels
    double xScale = 1;    // a LogFont width other than the natural one
    int32_t ascent = 0;   // device pixels
    int32_t descent = 0;
    int32_t internalLeading = 0;
    int32_t externalLeading = 0;
    int32_t aveCharWidth = 0;
    int32_t maxCharWidth = 0;
    double underlinePosition = 0;  // below the baseline, device pixels
    double strikeOutPosition = 0;  // above the baseline
    double lineThickness = 1;
    bool underline = false;
    bool strikeOut = false;
    double escapement = 0;  // degrees, counter-clockwise
    std::array<uint32_t, 256> glyph{};
    std::array<int32_t, 256> advance{};  // device pixels, by Windows-1252 byte

    // The outline of a byte's glyph at this size, origin on the baseline,
    // struck twice where boldStrike() says so.
    QPainterPath glyphPath(uint8_t ch) const;
    // A bold asked of a family that has no bold face is each glyph struck
    // twice, the second time this part of the em to the left; 0 for a face
    // drawn as it is. Advances stay the face's own.
    double boldStrike() const;
    // The advance of a byte's glyph in thousandths of the em, as the fonts
    // of a PDF written by Qt give it (the widths a run of glyphs is placed
    // by where it is written as one string); -1 where not known.
    int32_t pdfWidth(uint8_t ch) const;
    // The face at this size, for targets that keep text as text.
    QRawFont rawFont() const;
    // The same, made by and for the calling thread: a thread that paints
    // pages of its own must not share another thread's font engine.
    QRawFont threadRawFont() const;
    // The pixels of a byte's glyph with its origin at (0, 0), with dropout
    // control (see coverage.h); made once per face and byte.
    const Coverage& glyphCoverage(uint8_t ch) const;
    // The bounding box of a byte's outline at this size, origin on the
    // baseline.
    QRectF glyphBounds(uint8_t ch) const;

    // Set by the mapper.
    std::shared_ptr<const struct FontDesign> design;

private:
    // glyphCoverage with coverageMutex_ held.
    const Coverage& coverageLocked(uint8_t ch) const;

    mutable std::once_flag sizedOnce_;
    mutable QRawFont sized_;
    mutable std::mutex coverageMutex_;
    mutable std::array<std::unique_ptr<Coverage>, 256> coverage_;
    mutable std::array<QRectF, 256> bounds_;  // made with the coverage
};

// A glyph's outline struck a second time `shift` to the left, both strikes
// filled as one (the winding rule); the outline itself where shift is 0.
QPainterPath StruckTwice(const QPainterPath& glyph, double shift);

// The installed family that stands for a face name (Windows-1252): the
// common Windows faces go to their metric-compatible Liberation faces.
QString ResolveFaceFamily(const char* faceName);

// The face of `font` for a context whose logical units are `pixelsPerUnitX`
// and `pixelsPerUnitY` device pixels and whose device has `dpiY` dots an
// inch (for the default size). Results are cached and shared; a face never
// changes once made, so contexts on other threads may share it.
std::shared_ptr<const FontFace> MapLogFont(const LogFont& font, double pixelsPerUnitX, double pixelsPerUnitY,
                                           double dpiY);

// How many face designs (a face's outlines and metrics at one weight and
// slant) the mapper keeps at most, and how many it holds now.
constexpr size_t kFontDesignCacheLimit = 128;
size_t FontDesignCacheSize();
