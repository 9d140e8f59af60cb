// The widths of the glyphs of a page's runs of text, in the order the runs
// were drawn, as the fonts of a PDF written by Qt give them (thousandths of
// the text size, see FontFace::pdfWidth): what a page's content needs to
// write a run as one string placed by those widths rather than glyph by
// glyph. A run whose widths are not known is counted with none, so that
// the runs after it still pair with theirs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct GlyphRunWidths {
    static constexpr int32_t kUnknown = -1;

    std::vector<int32_t> widths;
    // Each run's number of widths, kUnknown for a run without.
    std::vector<int32_t> counts;

    void clear()
    {
        widths.clear();
        counts.clear();
    }
    bool empty() const { return counts.empty(); }
};
