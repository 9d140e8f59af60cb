#include "frames/glyph_effect_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "foundation/int_math.h"
#include "platform/dc.h"
#include "typography/glyph_effect_format.h"

namespace {

// The effect's words as plain outlines: the text fills the rectangle's
// height, filled black where the effect painter would paint it.
class PlainGlyphEffects : public GlyphEffectRenderer {
public:
    int32_t BuildPath(Dc* dc, const uint8_t* record, const FontSpec& font, const IntRect& rect, int32_t,
                      double angle) override
    {
        // A length byte that claims more than its field ends with the field.
        const uint8_t* line = record + kGlyphLine1Offset;
        const std::string words(reinterpret_cast<const char*>(line + 1), std::min<size_t>(line[0], kGlyphLineMax));
        const int32_t height = rect.bottom - rect.top;
        if (words.empty() || height <= 0)
            return 1;
        LogFont f;
        std::memcpy(f.faceName, font.faceName, sizeof f.faceName);
        f.faceName[sizeof f.faceName - 1] = 0;
        f.height = -height * 3 / 4;
        const LogFont old = dc->selectFont(f);
        // As large as fits the rectangle both ways.
        const int32_t width = dc->getTextExtent(words).width;
        if (width > rect.right - rect.left && width > 0) {
            f.height = int32_t(int64_t(f.height) * (rect.right - rect.left) / width);
            if (f.height == 0)
                f.height = -1;
        }
        f.escapement = TruncToInt32(std::fmod(angle, 360.0) * 10);
        f.orientation = f.escapement;
        dc->selectFont(f);
        const uint32_t align = dc->setTextAlign(TA_TOP | TA_LEFT);
        dc->textOut(rect.left, rect.top, words);
        dc->setTextAlign(align);
        dc->selectFont(old);
        return 0;
    }
    void Paint(Dc* dc, const Region& region, const uint8_t*, const IntRect&, double, FrameDocument*, int32_t) override
    {
        dc->fillRgn(region, Brush::Solid(kBlack));
    }
    void Output(Dc*, const uint8_t*, const IntRect&, double, FrameDocument*, int32_t) override {}
    bool RunStylesDialog(uint8_t*, Handle, FrameDocument*) override { return false; }
};

PlainGlyphEffects gPlain;
GlyphEffectRenderer* gRenderer = nullptr;

}  // namespace

GlyphEffectRenderer* SetGlyphEffectRenderer(GlyphEffectRenderer* renderer)
{
    return std::exchange(gRenderer, renderer);
}

GlyphEffectRenderer* InstalledGlyphEffectRenderer() { return gRenderer ? gRenderer : &gPlain; }
