
#include "tools/stand_ins/stand_in_hosts.h"

#include <algorithm>
#include <cstring>

#include "foundation/int_math.h"
#include "foundation/program_folder.h"
#include "graphics/font_spec.h"
#include "graphics/hls.h"

namespace {

// The sixteen colours a new document's colour table starts with.
constexpr ColorRef kDefaultColours[16] = {
    MakeRgb(255, 255, 255), MakeRgb(255, 255, 0), MakeRgb(255, 128, 64), MakeRgb(255, 0, 0),
    MakeRgb(255, 0, 128),   MakeRgb(0, 0, 160),   MakeRgb(0, 0, 255),    MakeRgb(2, 180, 255),
    MakeRgb(0, 255, 0),     MakeRgb(0, 160, 0),   MakeRgb(128, 64, 0),   MakeRgb(180, 64, 0),
    MakeRgb(192, 192, 192), MakeRgb(128, 128, 128), MakeRgb(80, 80, 80), MakeRgb(0, 0, 0),
};

}  // namespace

bool StandInFontSpec(int16_t font, FontSpec* out)
{
    if (font != 0)
        return false;
    *out = FontSpec{};
    out->type = kFontTypeTrueType;
    std::strcpy(out->faceName, "Arial");
    return true;
}

bool LiberationFontSpec(int16_t font, FontSpec* out)
{
    if (font < 0 || font > 1)
        return false;
    *out = FontSpec{};
    out->type = kFontTypeTrueType;
    std::strcpy(out->faceName, font == 0 ? "Liberation Sans" : "Liberation Serif");
    return true;
}

ColorRef StandInTint(int16_t index, int16_t shade)
{
    const ColorRef c = index >= 0 && index < 16 ? kDefaultColours[index] : MakeRgb(255, 255, 255);
    if (shade == 100)
        return c;
    int16_t hue = 0, lightness = 0, saturation = 0;
    RgbToHls(c, &hue, &lightness, &saturation);
    double l = 0;
    if (c == MakeRgb(255, 255, 255))
        l = (double(lightness) / 100.0) * shade;
    else
        l = lightness + ((double(kHlsScale) - lightness) / 100.0) * (100 - shade);
    return HlsToRgb(hue, int16_t(std::clamp(TruncToInt32(l), 0, int32_t(kHlsScale))), saturation);
}

int32_t StandInCardDocumentHost::ApplicationFolder(PathRecord* out)
{
    return GetProgramFolder(out);
}

ScopedStandInCardDocumentHost::ScopedStandInCardDocumentHost() : previous_(SetCardDocumentHost(&host_)) {}

ScopedStandInCardDocumentHost::~ScopedStandInCardDocumentHost()
{
    SetCardDocumentHost(previous_);
}
