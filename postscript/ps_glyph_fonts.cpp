#include "postscript/ps_glyph_fonts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include <QPainterPath>

#include "platform/font_mapper.h"
#include "postscript/ps_glyph_names.h"
#include "postscript/ps_words.h"

namespace {

constexpr double kUnits = 1000;

// The distinct advances kept for a glyph of a font: a glyph is followed at
// a few at most (its width in whole points, a device pixel either side, a
// justified space's); any further are not counted.
constexpr size_t kAdvancesKept = 16;

// "/TsF3 /TsG0 [widths] TsFont" makes the font TsF3 of the glyph set TsG0
// with those widths, by code. TsBC shows one of its glyphs: the width, then
// the set's procedure for the glyph's name, which gives the glyph's box and
// draws it.
constexpr const char* kFontProcedures =
    "TsDict begin\n"
    "/TsBC {1 index /TsW get 1 index 2 copy exch length lt {get} {pop pop 0} ifelse 0\n"
    " 3 index /Encoding get 3 index get 4 index /CharProcs get exch 2 copy known not {pop /.notdef} if get exec\n"
    " pop pop} bind def\n"
    "/TsFont {exch load dup length 2 add dict begin {def} forall /TsW exch def /BuildChar /TsBC load def\n"
    " currentdict end definefont pop} bind def\n";

// A glyph's name by its number alone ("g" and the number).
std::string NumberedName(uint32_t glyph)
{
    char b[16];
    std::snprintf(b, sizeof b, "g%u", unsigned(glyph));
    return b;
}

// A glyph name that says which character it is, so that text taken from
// the printed job (or a PDF made of it) reads right; a glyph of no
// character keeps a name of its number.
std::string NameOf(uint8_t byte, uint32_t glyph)
{
    const char* name = PsGlyphNameOf(byte);
    return name ? std::string(name) : NumberedName(glyph);
}

// The outline, y up as fonts have it (the raw font's paths run y down).
void AppendPath(std::string* out, const QPainterPath& path)
{
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        auto point = [out](const QPointF& p) {
            out->push_back(' ');
            PsAppendNumber(out, p.x(), 1);
            out->push_back(' ');
            PsAppendNumber(out, -p.y(), 1);
        };
        if (e.isMoveTo()) {
            point(e);
            out->append(" m");
        } else if (e.isLineTo()) {
            point(e);
            out->append(" l");
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            point(e);
            point(path.elementAt(i + 1));
            point(path.elementAt(i + 2));
            out->append(" c");
            i += 2;
        }
    }
}

}  // namespace

std::string PsGlyphFonts::fontName(int font) { return "TsF" + std::to_string(font); }

PsGlyphFonts::Slot PsGlyphFonts::slotFor(const std::shared_ptr<const FontFace>& face, uint32_t glyph)
{
    if (!face || !face->design)
        return {};
    auto [at, added] = designs_.try_emplace(face->design.get());
    Design& design = at->second;
    if (added) {
        faces_.push_back(face);
        design.raw = face->rawFont();
        if (design.raw.isValid())
            design.raw.setPixelSize(kUnits);
        // A glyph drawn for several bytes goes by the lowest that names a
        // character: the space, not the tab a face may draw with it, nor
        // the no-break space.
        for (int ch = 255; ch >= 0; --ch) {
            const auto [known, added] = design.bytes.try_emplace(face->glyph[size_t(ch)], uint8_t(ch));
            if (!added && PsGlyphNameOf(uint8_t(ch)))
                known->second = uint8_t(ch);
        }
    }
    if (!design.raw.isValid())
        return {};
    if (auto known = design.slots.find(glyph); known != design.slots.end())
        return known->second;
    if (design.sets.empty() || sets_[size_t(design.sets.back())].glyphs.size() >= 256) {
        design.sets.push_back(int(sets_.size()));
        sets_.push_back(GlyphSet{design.raw, face->boldStrike() * kUnits, {}, {}, {}});
    }
    const int number = design.sets.back();
    GlyphSet& set = sets_[size_t(number)];
    const auto byte = design.bytes.find(glyph);
    std::string name = byte != design.bytes.end() ? NameOf(byte->second, glyph) : NumberedName(glyph);
    if (!set.used.insert(name).second) {
        name = NumberedName(glyph);
        set.used.insert(name);
    }
    const Slot slot{number, uint8_t(set.glyphs.size())};
    set.glyphs.push_back(glyph);
    set.names.push_back(std::move(name));
    design.slots.emplace(glyph, slot);
    return slot;
}

int PsGlyphFonts::fontFor(int set, double em, double xScale)
{
    const auto [at, added] = fontIndex_.try_emplace({set, em, xScale}, int(fonts_.size()));
    if (added)
        fonts_.push_back(Font{set, em, std::vector<Advances>(256)});
    return at->second;
}

void PsGlyphFonts::advanced(int font, uint8_t code, double advance)
{
    if (font < 0 || size_t(font) >= fonts_.size() || !std::isfinite(advance) || std::fabs(advance) > 1e6)
        return;
    Advances& seen = fonts_[size_t(font)].advances[code];
    const auto key = int32_t(std::lround(advance * 10));
    for (auto& [value, times] : seen) {
        if (value == key) {
            ++times;
            return;
        }
    }
    if (seen.size() < kAdvancesKept)
        seen.emplace_back(key, 1);
}

double PsGlyphFonts::widthOf(const Font& font, size_t code, const std::vector<double>& own) const
{
    const Advances& seen = font.advances[code];
    if (seen.empty())
        return code < own.size() ? own[code] : 0.0;
    const auto most = std::max_element(seen.begin(), seen.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    const double near = 1.5 * kUnits * 10 / std::max(font.em, 1e-6);
    double sum = 0, times = 0;
    for (const auto& [value, count] : seen) {
        if (std::fabs(double(value - most->first)) <= near) {
            sum += double(value) * count;
            times += count;
        }
    }
    return sum / times / 10;
}

std::string PsGlyphFonts::definitions() const
{
    if (fonts_.empty())
        return {};
    // The procedures and glyph sets go compressed, run as they are read;
    // each font's resource stays plain, for the print system to see.
    std::string out = kFontProcedures;
    std::vector<std::vector<double>> own(sets_.size());
    for (size_t n = 0; n < sets_.size(); ++n) {
        const GlyphSet& set = sets_[n];
        out += "/TsG";
        out += std::to_string(n);
        out += " <<\n/FontType 3 /FontMatrix [0.001 0 0 0.001 0 0]\n/Encoding [";
        for (size_t code = 0; code < 256; ++code) {
            out += " /";
            out += code < set.names.size() ? set.names[code] : std::string(".notdef");
            if (code % 16 == 15)
                out += '\n';
        }
        out += "]\n/CharProcs <<\n/.notdef {0 0 0 0 setcachedevice}\n";
        QRectF all;
        for (size_t code = 0; code < set.glyphs.size(); ++code) {
            const quint32 glyph = set.glyphs[code];
            const QPainterPath path = StruckTwice(set.raw.pathForGlyph(glyph), set.boldStrike);
            const QList<QPointF> advance = set.raw.advancesForGlyphIndexes(QList<quint32>{glyph});
            own[n].push_back(advance.isEmpty() ? 0.0 : advance.front().x());
            const QRectF box = path.boundingRect();
            all = all.united(box);
            out += '/';
            out += set.names[code];
            out += " {";
            for (double v : {box.left(), -box.bottom(), box.right(), -box.top()}) {
                PsAppendNumber(&out, v, 0);
                out += ' ';
            }
            out += "setcachedevice";
            AppendPath(&out, path);
            out += " fill}\n";
        }
        out += ">>\n/FontBBox [";
        for (double v : {all.left(), -all.bottom(), all.right(), -all.top()}) {
            out += ' ';
            PsAppendNumber(&out, v, 0);
        }
        out += "]\n>> def\n";
    }
    std::string packed = "currentfile /ASCII85Decode filter /FlateDecode filter cvx exec\n";
    PsAppendFlateAscii85(&packed, out);
    out = std::move(packed);
    for (size_t k = 0; k < fonts_.size(); ++k) {
        const Font& font = fonts_[k];
        const std::string name = fontName(int(k));
        out += "%%BeginResource: font ";
        out += name;
        out += "\n/";
        out += name;
        out += " /TsG";
        out += std::to_string(font.set);
        out += " [";
        const size_t glyphs = sets_[size_t(font.set)].glyphs.size();
        for (size_t code = 0; code < glyphs; ++code) {
            if (code > 0)
                out += code % 16 == 0 ? '\n' : ' ';
            PsAppendNumber(&out, widthOf(font, code, own[size_t(font.set)]), 1);
        }
        out += "] TsFont\n%%EndResource\n";
    }
    out += "end\n";
    return out;
}
