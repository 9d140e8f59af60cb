#include "text/text_font.h"

#include <cstring>

#include "graphics/font_spec.h"
#include "graphics/font_state.h"

LogFont TextLogFont(const FontSpec& fontSpec, int32_t size, int16_t style)
{
    LogFont f;
    std::memcpy(f.faceName, fontSpec.faceName, strnlen(fontSpec.faceName, sizeof(f.faceName) - 1));
    f.charSet = fontSpec.charSet;
    f.pitchAndFamily = fontSpec.pitchAndFamily;
    f.outPrecision = (fontSpec.type & kFontTypeTrueType) ? OUT_TT_ONLY_PRECIS
                     : (fontSpec.type & kFontTypeDevice) ? OUT_DEVICE_PRECIS
                                                      : OUT_DEFAULT_PRECIS;
    f.height = -size;
    ApplyFontStyle(&f, style < 0 ? 0u : uint32_t(style));
    return f;
}
