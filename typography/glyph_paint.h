// Painting power text on screen: the region of the text's glyph outlines
// filled with the effect's shadow, interior (solid or blended) and outline,
// all within the device context's current clip.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "platform/gdi_types.h"
#include "typography/glyph_effect.h"

class Dc;
class GlyphTints;
class Region;

// The shadow's offset: a fiftieth of the frame's shorter side in the
// direction of the shadow position (lower right for any unknown one).
IntPoint GlyphShadowStep(const GlyphStyle& style, const IntRect& frame);

// Paints the text region (logical units) with the style. Fills cover the
// frame rectangle turned by `angle` about its top-left corner; outlines are
// `outlineWidth` units wide (at least 1), twice that for thick ones. The
// clip is as it was afterwards. 0, or 1 without a context.
int32_t DrawGlyphEffect(Dc* dc, const Region& text, const GlyphStyle& style, const IntRect& frame, double angle,
                        int32_t outlineWidth, const GlyphTints& tints);

// Fills the turned frame rectangle (and nothing beyond it) in the fill
// style: solid in c1, or 20 bands from c1 to c2 across, down, from both
// edges to the middle, or as rings from the outside in. Unknown styles fill
// solid.
void FillGradient(Dc* dc, const IntRect& frame, int32_t fillStyle, ColorRef c1, ColorRef c2, double angle);

// Step `step` of `steps` from c1 to c2: c1 for no steps, c2 at the last.
ColorRef BlendColor(ColorRef c1, ColorRef c2, int32_t steps, int32_t step);
