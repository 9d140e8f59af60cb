// The glyphs a PostScript job shows, as Type 3 fonts of their outlines:
// every glyph of a face is defined once, the first time the job shows it,
// and the fonts are written at the head of the job, so a printer needs no
// font of its own and the text stays text.
//
// A face may show more than 256 glyphs: each font holds 256, and a face
// takes as many fonts as it needs. Outlines are in thousandths of the em,
// y up as in any font; the page's device space runs y down, so text is
// shown at a size whose y is negated, which keeps it unmirrored: a PDF made
// of the job then tells readers which way each line runs. Each
// glyph goes by the standard name of its character, so the text can be
// read back from the job.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <QRawFont>
#include <QString>

struct FontFace;

class PsGlyphFonts {
public:
    struct Slot {
        int font = -1;  // -1: the face has no outlines
        uint8_t code = 0;
    };

    // Where the glyph is shown from; defined now when it is new.
    Slot slotFor(const std::shared_ptr<const FontFace>& face, uint32_t glyph);
    // The font's name in the job ("TsF" and its number).
    static std::string fontName(int font);
    // Every font, ready for the job's set-up.
    std::string definitions() const;
    bool empty() const { return fonts_.empty(); }
    int count() const { return int(fonts_.size()); }

private:
    struct Font {
        QRawFont raw;
        std::vector<uint32_t> glyphs;
        std::vector<std::string> names;
        std::set<std::string> used;
    };
    struct Design {
        QRawFont raw;
        std::vector<int> fonts;
        std::map<uint32_t, Slot> slots;
        // The Windows-1252 byte of each glyph the face shows for one.
        std::map<uint32_t, uint8_t> bytes;
    };

    std::map<const void*, Design> designs_;
    std::vector<Font> fonts_;
    // The faces stay alive while the job refers to them by address.
    std::vector<std::shared_ptr<const FontFace>> faces_;
};
