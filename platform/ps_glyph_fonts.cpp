#include "platform/ps_glyph_fonts.h"

#include <cstdio>

#include <QPainterPath>

#include "platform/font_mapper.h"
#include "platform/ps_glyph_names.h"
#include "platform/ps_words.h"

namespace {

constexpr double kUnits = 1000;

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
    if (design.fonts.empty() || fonts_[size_t(design.fonts.back())].glyphs.size() >= 256) {
        design.fonts.push_back(int(fonts_.size()));
        fonts_.push_back(Font{design.raw, {}, {}, {}});
    }
    const int number = design.fonts.back();
    Font& font = fonts_[size_t(number)];
    const auto byte = design.bytes.find(glyph);
    std::string name = byte != design.bytes.end() ? NameOf(byte->second, glyph) : NumberedName(glyph);
    if (!font.used.insert(name).second) {
        name = NumberedName(glyph);
        font.used.insert(name);
    }
    const Slot slot{number, uint8_t(font.glyphs.size())};
    font.glyphs.push_back(glyph);
    font.names.push_back(std::move(name));
    design.slots.emplace(glyph, slot);
    return slot;
}

std::string PsGlyphFonts::definitions() const
{
    std::string out;
    for (size_t n = 0; n < fonts_.size(); ++n) {
        const Font& font = fonts_[n];
        const std::string name = fontName(int(n));
        out += "%%BeginResource: font ";
        out += name;
        out += "\n/";
        out += name;
        out += " <<\n/FontType 3 /FontMatrix [0.001 0 0 0.001 0 0]\n/Encoding [";
        for (size_t code = 0; code < 256; ++code) {
            out += " /";
            out += code < font.names.size() ? font.names[code] : std::string(".notdef");
            if (code % 16 == 15)
                out += '\n';
        }
        out += "]\n/CharProcs <<\n/.notdef {0 0 0 0 0 0 setcachedevice}\n";
        QRectF all;
        for (size_t code = 0; code < font.glyphs.size(); ++code) {
            const quint32 glyph = font.glyphs[code];
            const QPainterPath path = font.raw.pathForGlyph(glyph);
            const QList<QPointF> advance = font.raw.advancesForGlyphIndexes(QList<quint32>{glyph});
            const QRectF box = path.boundingRect();
            all = all.united(box);
            out += '/';
            out += font.names[code];
            out += " {";
            PsAppendNumber(&out, advance.isEmpty() ? 0.0 : advance.front().x(), 1);
            out += " 0";
            for (double v : {box.left(), -box.bottom(), box.right(), -box.top()}) {
                out += ' ';
                PsAppendNumber(&out, v, 0);
            }
            out += " setcachedevice";
            AppendPath(&out, path);
            out += " fill}\n";
        }
        out += ">>\n/FontBBox [";
        for (double v : {all.left(), -all.bottom(), all.right(), -all.top()}) {
            out += ' ';
            PsAppendNumber(&out, v, 0);
        }
        out += "]\n/BuildGlyph {exch /CharProcs get exch 2 copy known not {pop /.notdef} if get exec} bind\n"
               "/BuildChar {1 index /Encoding get exch get 1 index /BuildGlyph get exec} bind\n"
               ">> definefont pop\n%%EndResource\n";
    }
    return out;
}
