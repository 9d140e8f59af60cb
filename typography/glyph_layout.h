// Power-text layout: the one or two lines of a glyph effect, each stretched
// to fill its half of the frame, bent to the effect's envelope shape and
// turned with the frame, added to a device context's open path as glyph
// outlines.
//
// Results: 0, or kGlyphErrorGeneral (a character without an outline, an
// empty text) or kGlyphErrorFrameTooSmall (nothing left after the inset of
// 6 units on each side).
#pragma once

#include <cstdint>
#include <string_view>

#include "foundation/int_geometry.h"
#include "graphics/font_spec.h"
#include "platform/gdi_types.h"
#include "typography/glyph_effect.h"

class Dc;
class GlyphFontTable;

enum : int32_t {
    kGlyphErrorGeneral = 1,
    kGlyphErrorFrameTooSmall = 10,
    kGlyphErrorGsave = 11,
};

// The em square a font is laid out in when its record gives none (or one
// no font has): glyphs are taken at this many logical units to the em.
constexpr uint32_t kDefaultGlyphEm = 2048;

// A font record's font at one logical unit per design unit. True when
// the font is not TrueType, so that it cannot be drawn as power text.
bool GetEffectLogFont(const FontSpec& face, LogFont* font);
// The same for a document font id; an unknown id cannot be drawn (true).
bool GetEffectLogFont(int32_t fontId, const GlyphFontTable* table, LogFont* font);

// The margin kept between a frame's edges and its text, in the frame's own
// units at full size; a frame shown or printed larger keeps it in proportion.
constexpr int32_t kGlyphTextInset = 6;

// Adds the effect's text to the path open in dc, laid into `frame` less
// `inset` on each side, turned by `angle` degrees about `centre`. flipX lays
// each line out from right to left mirrored, flipY mirrors each line top to
// bottom. On failure the path is aborted.
int32_t DrawGlyphText(Dc* dc, const GlyphEffect& effect, const LogFont& font, const IntRect& frame, IntPoint centre,
                      double angle, bool flipX = false, bool flipY = false, int32_t inset = kGlyphTextInset);

// The bounding box of the text's glyphs laid out at design size from a pen
// at (0, 0) on the baseline: spaces as "|", horizontal text advancing by
// each character's width, vertical text by the font's line height.
int32_t MeasureGlyphText(Dc* dc, std::string_view text, bool horizontal, IntRect* box);
