// The glyphs a PostScript job shows, as Type 3 fonts of their outlines:
// every glyph of a face is defined once, the first time the job shows it,
// and the fonts are written at the head of the job, so a printer needs no
// font of its own and the text stays text.
//
// A face may show more than 256 glyphs: each glyph set holds 256, and a
// face takes as many sets as it needs. Outlines are in thousandths of the
// em, y up as in any font; the page's device space runs y down, so text is
// shown at a size whose y is negated, which keeps it unmirrored: a PDF made
// of the job then tells readers which way each line runs. Each glyph goes
// by the standard name of its character, so the text can be read back from
// the job.
//
// A glyph set is shown through a font of its own for each size, whose
// glyphs are as wide as the layout advances them at that size. The layout
// places every character at its width in whole points, which may be half a
// point more or less than its outline's own advance; a reader of a PDF made
// of the job takes such a gap between a glyph's width and the next glyph
// for a space between words, and small text falls apart into pieces of
// words. A glyph's width in a font changes where nothing is drawn: text is
// shown at the layout's positions, not by the widths. The fonts of one set
// share its glyph procedures, defined once in the job.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <QRawFont>
#include <QString>

struct FontFace;

class PsGlyphFonts {
public:
    struct Slot {
        int set = -1;  // -1: the face has no outlines
        uint8_t code = 0;
    };

    // Where the glyph is shown from; defined now when it is new.
    Slot slotFor(const std::shared_ptr<const FontFace>& face, uint32_t glyph);
    // The font that shows the glyph set at an em of `em` device pixels,
    // widened by `xScale`.
    int fontFor(int set, double em, double xScale);
    // The font's glyph at `code` was followed by the next glyph of its run
    // `advance` thousandths of the em on.
    void advanced(int font, uint8_t code, double advance);
    // The font's name in the job ("TsF" and its number).
    static std::string fontName(int font);
    // Every glyph set and font, ready for the job's set-up.
    std::string definitions() const;
    // The fonts there are.
    int count() const { return int(fonts_.size()); }

private:
    struct GlyphSet {
        QRawFont raw;
        double boldStrike = 0;  // thousandths of the em (FontFace::boldStrike)
        std::vector<uint32_t> glyphs;
        std::vector<std::string> names;
        std::set<std::string> used;
    };
    struct Design {
        QRawFont raw;
        std::vector<int> sets;
        std::map<uint32_t, Slot> slots;
        // The Windows-1252 byte of each glyph the face shows for one.
        std::map<uint32_t, uint8_t> bytes;
    };
    // The advances a glyph of a font was seen to take: tenths of the
    // font's units, and how often.
    using Advances = std::vector<std::pair<int32_t, uint32_t>>;
    struct Font {
        int set = 0;
        double em = 0;
        std::vector<Advances> advances;
    };

    // The glyph's width in the font: the advance it takes most often (and
    // those within a device pixel and a half of it, drawn apart only by
    // the rounding of positions to pixels); its outline's own advance
    // where it was never followed.
    double widthOf(const Font& font, size_t code, const std::vector<double>& own) const;

    std::map<const void*, Design> designs_;
    std::vector<GlyphSet> sets_;
    std::vector<Font> fonts_;
    std::map<std::tuple<int, double, double>, int> fontIndex_;
    // The faces stay alive while the job refers to them by address.
    std::vector<std::shared_ptr<const FontFace>> faces_;
};
