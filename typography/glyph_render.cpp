#include "typography/glyph_render.h"

#include "typography/glyph_layout.h"
#include "typography/glyph_paint.h"

Region GlyphTextRegion(Dc* dc, const GlyphEffect& effect, const LogFont& font, const IntRect& rect, double angle,
                       int32_t* error)
{
    int32_t result = kGlyphErrorGeneral;
    Region region;
    if (dc && dc->beginPath()) {
        result = DrawGlyphText(dc, effect, font, rect, IntPoint{rect.left, rect.top}, angle);
        if (result == 0 && !dc->endPath())
            result = kGlyphErrorGeneral;
        if (result == 0) {
            region = dc->pathToRegion();
            // The path's region comes in device units.
            IntPoint origin{0, 0};
            dc->lpToDp(&origin, 1);
            region.offset(-origin.x, -origin.y);
        } else {
            dc->abortPath();
        }
    }
    if (error)
        *error = result;
    return region;
}

int32_t RenderGlyphEffect(Dc* dc, const GlyphEffect& effect, const LogFont& font, const IntRect& rect, double angle,
                          int32_t outlineWidth, const GlyphTints& tints)
{
    int32_t error = 0;
    const Region text = GlyphTextRegion(dc, effect, font, rect, angle, &error);
    if (error != 0)
        return error;
    return DrawGlyphEffect(dc, text, effect.style, rect, angle, outlineWidth, tints);
}
