#include "postscript/ps_text_layer.h"

#include "postscript/ps_glyph_fonts.h"
#include "postscript/ps_glyph_names.h"

namespace {

// Ghostscript names its PDF-making device pdfwrite; other interpreters
// have no OutputDevice. The copy is upright on the page (its default
// space) and a point high: a line of its own that no text of a card's
// runs into. The twins' glyph names, "space.0" to "space.255", read as
// the space, which readers take as a gap between words.
constexpr const char* kProcedures =
    "TsDict begin\n"
    "/TsPdf currentpagedevice /OutputDevice 2 copy known {get /pdfwrite eq} {pop pop false} ifelse def\n"
    "/TsTwins 16 dict def\n"
    "/TsL {TsPdf {gsave transform matrix defaultmatrix setmatrix itransform moveto\n"
    " /TsLayer 1 selectfont show grestore} {pop pop pop} ifelse} bind def\n"
    "/TsSf {TsPdf {exch TsTwins exch get exch} if selectfont} bind def\n"
    "TsPdf {\n"
    "/TsMuted [0 1 255 {3 string cvs dup length 6 add string dup 0 (space.) putinterval\n"
    " dup 6 4 -1 roll putinterval cvn} for] def\n"
    "/TsMute {2 copy TsTwins 3 1 roll put exch findfont dup length dict begin\n"
    " {1 index /FID ne {def} {pop pop} ifelse} forall\n"
    " /CharProcs 257 dict 0 1 255 {dup Encoding exch get CharProcs exch 2 copy known not {pop /.notdef} if get\n"
    "  exch TsMuted exch get exch 2 index 3 1 roll put} for\n"
    "  dup /.notdef CharProcs /.notdef get put def\n"
    " /Encoding TsMuted def currentdict end definefont pop} bind def\n";

}  // namespace

std::string PsTextLayerSetup(int fonts)
{
    std::string out = kProcedures;
    out += "/TsLayer << /FontType 3 /FontMatrix [0.001 0 0 0.001 0 0] /FontBBox [0 0 0 0]\n/Encoding [";
    for (int byte = 0; byte < 256; ++byte) {
        const char* name = PsGlyphNameOf(uint8_t(byte));
        out += " /";
        out += name ? name : ".notdef";
        if (byte % 16 == 15)
            out += '\n';
    }
    // Each glyph a blank of half an em, kept in the glyph cache: drawn
    // once, not at every showing.
    out += "]\n/BuildChar {pop pop 500 0 0 0 0 0 setcachedevice} bind >> definefont pop\n";
    for (int n = 0; n < fonts; ++n)
        out += '/' + PsGlyphFonts::fontName(n) + " /TsM" + std::to_string(n) + " TsMute\n";
    out += "} if\nend\n";
    return out;
}
