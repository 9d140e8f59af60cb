#include "platform/glyph_gaps.h"

#include <algorithm>
#include <cmath>

#include "platform/coverage.h"
#include "platform/dc_device.h"
#include "platform/font_mapper.h"

namespace {

// A glyph's pixels placed at its origin.
struct PlacedGlyph {
    const Coverage& pixels;
    QPoint origin;
    bool ink(int x, int y) const { return pixels.test(x - origin.x(), y - origin.y()); }
};

}  // namespace

void KeepGlyphsApart(const DeviceText& text, Coverage* cov)
{
    if (!text.face)
        return;
    const FontFace& face = *text.face;
    for (size_t i = 1; i < text.glyphs.size(); ++i) {
        const DeviceText::Glyph& a = text.glyphs[i - 1];
        const DeviceText::Glyph& b = text.glyphs[i];
        if (a.origin.y() != b.origin.y() || b.origin.x() <= a.origin.x())
            continue;
        const double right = a.origin.x() + face.glyphBounds(a.ch).right();
        const double left = b.origin.x() + face.glyphBounds(b.ch).left();
        if (!(right < left))
            continue;
        // The last column whose centre the left glyph may cover; when the
        // next centre lies in the gap, the pixels are apart already.
        const int last = int(std::floor(right - 0.5));
        const int first = last + 1;
        if (first + 0.5 < left)
            continue;
        const PlacedGlyph pa{face.glyphCoverage(a.ch), a.origin};
        const PlacedGlyph pb{face.glyphCoverage(b.ch), b.origin};
        // How much of its column each glyph's outline covers.
        const double shareA = std::min(1.0, right - last);
        const double shareB = std::min(1.0, first + 1 - left);
        const int top = std::max(pa.pixels.box().top() + a.origin.y(), pb.pixels.box().top() + b.origin.y());
        const int bottom =
            std::min(pa.pixels.box().bottom() + a.origin.y(), pb.pixels.box().bottom() + b.origin.y());
        for (int y = top; y <= bottom; ++y) {
            if (!pa.ink(last, y) || !pb.ink(first, y))
                continue;
            const bool aGoesOn = pa.ink(last - 1, y);
            const bool bGoesOn = pb.ink(first + 1, y);
            if (bGoesOn && (shareB <= shareA || !aGoesOn))
                cov->clear(first, y);
            else if (aGoesOn)
                cov->clear(last, y);
        }
    }
}
