// Power text drawn on screen in one call: the effect's text laid out into
// a rectangle as glyph outlines, the outlines made a region and painted
// with the effect. Previews draw this way; so does the power-text frame,
// which places the region itself between the two steps.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "platform/dc.h"
#include "typography/glyph_effect.h"

class GlyphTints;

// The region of the text's outlines (logical units) laid into rect and
// turned by angle about its top-left corner; an empty region when the
// layout fails (*error then holds its code).
Region GlyphTextRegion(Dc* dc, const GlyphEffect& effect, const LogFont& font, const IntRect& rect, double angle,
                       int32_t* error = nullptr);

// Lays out and paints. 0 or the layout's error; nothing is painted then.
int32_t RenderGlyphEffect(Dc* dc, const GlyphEffect& effect, const LogFont& font, const IntRect& rect, double angle,
                          int32_t outlineWidth, const GlyphTints& tints);
