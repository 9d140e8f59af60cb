#include "typography/glyph_sources.h"

#include <algorithm>
#include <cstring>

#include "graphics/hls.h"
#include "typography/font_list.h"

namespace {

struct DefaultColor {
    const char* name;
    ColorRef colour;
};

const DefaultColor kDefaults[kGlyphColorCount] = {
    {"White", 0xFFFFFF},  {"Yellow", 0x00FFFF},      {"Orange", 0x4080FF},     {"Red", 0x0000FF},
    {"Magenta", 0x8000FF}, {"Dark Blue", 0xA00000},  {"Blue", 0xFF0000},       {"Cyan", 0xFFB402},
    {"Green", 0x00FF00},  {"Dark Green", 0x00A000},  {"Brown", 0x004080},      {"Light Brown", 0x0040B4},
    {"Light Gray", 0xC0C0C0}, {"Gray", 0x808080},    {"Dark Gray", 0x505050},  {"Black", 0x000000},
};

// The program's own list of the installed fonts, as the effects' dialogs
// and previews index it.
class ProgramFontList final : public GlyphFontList {
public:
    int32_t Count() const override { return GetGlobalFontList()->GetCount(); }
    bool GetFontSpec(int32_t index, uint8_t charSet, FontSpec* face) const override
    {
        return GetGlobalFontList()->GetFontSpec(index, charSet, face);
    }
    int32_t FindFont(const char* face, uint32_t type) const override
    {
        return GetGlobalFontList()->FindFont(face, type);
    }
};

ProgramFontList gProgramFonts;
GlyphFontList* gFontList = nullptr;

}  // namespace

ColorRef DefaultGlyphTints::Tint(int32_t index, int32_t percent) const
{
    const ColorRef c = index >= 0 && index < kGlyphColorCount ? kDefaults[index].colour : kWhite;
    if (percent == 100)
        return c;
    int16_t hue = 0, lightness = 0, saturation = 0;
    RgbToHls(c, &hue, &lightness, &saturation);
    // White darkens with the tint; every other colour lightens toward white.
    const double l = c == kWhite ? lightness / 100.0 * percent
                                 : lightness + (kHlsScale - lightness) / 100.0 * (100 - percent);
    // A tint beyond the scale (read from a damaged record) stops at its ends.
    return HlsToRgb(hue, int16_t(std::clamp(l, 0.0, double(kHlsScale))), saturation);
}

std::string DefaultGlyphTints::Name(int32_t index) const
{
    return index >= 0 && index < kGlyphColorCount ? kDefaults[index].name : "";
}

GlyphFontList* SetGlyphFontList(GlyphFontList* list)
{
    GlyphFontList* previous = gFontList;
    gFontList = list;
    return previous;
}

GlyphFontList* CurrentGlyphFontList() { return gFontList ? gFontList : &gProgramFonts; }

LogFont LogFontFromSpec(const FontSpec& face, const LogFont& base)
{
    LogFont f = base;
    f.charSet = face.charSet;
    f.outPrecision = face.type == kFontTypeTrueType ? OUT_TT_ONLY_PRECIS
                     : face.type == kFontTypeDevice ? OUT_DEVICE_PRECIS
                                                    : OUT_DEFAULT_PRECIS;
    f.clipPrecision = 0;
    f.quality = 0;
    f.pitchAndFamily = face.pitchAndFamily;
    std::memcpy(f.faceName, face.faceName, sizeof f.faceName);
    f.faceName[sizeof f.faceName - 1] = 0;
    return f;
}
