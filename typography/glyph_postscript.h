// Power text on a PostScript printer: the glyph-outline path open in a
// device context painted with the effect as PostScript, sent through the
// printer's pass-through escape. Each layer (shadow, interior, outline) is
// the path clipped and filled with the same bands as on screen, or
// stroked; the whole effect is turned by the frame's angle about the
// frame's top-left corner.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "typography/glyph_effect.h"

class Dc;
class GlyphTints;
class PassThroughSink;

// Reads the path ended in dc (device units, moved by `offset`) and writes
// the effect to sink. The path is gone afterwards. 0; 1 for an empty path
// or when the printer refuses data; 11 when a gsave cannot be sent.
int32_t WriteGlyphEffectPostScript(Dc* dc, PassThroughSink* sink, const GlyphEffect& effect, IntPoint offset,
                                   const IntRect& frame, double angle, int32_t outlineWidth, const GlyphTints& tints);
