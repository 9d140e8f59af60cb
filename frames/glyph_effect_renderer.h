// The glyph-effect renderer as the power-text frame uses it: the effect
// text's outlines added to a path, the region of those outlines painted
// with fill, outline and shadow, the PostScript output of a whole effect,
// and the styles dialog. The fonts, colours and text effects subsystem
// implements it and installs it at start-up; until then a plain stand-in
// fills the text's outlines in black, so that power-text frames show their
// words.
#pragma once

#include <cstdint>

#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "graphics/font_spec.h"

class Dc;
class FrameDocument;
class Region;

class GlyphEffectRenderer {
public:
    virtual ~GlyphEffectRenderer() = default;

    // Adds the outlines of the record's text to the path open on dc, laid
    // into rect (at the origin) less inset on each side, and turned by
    // angle. 0 on success.
    virtual int32_t BuildPath(Dc* dc, const uint8_t* record, const FontSpec& font, const IntRect& rect,
                              int32_t inset, double angle) = 0;
    // Paints the placed region with the record's 30-byte style part within
    // the current clip; thickness scales the outline widths.
    virtual void Paint(Dc* dc, const Region& region, const uint8_t* paint, const IntRect& rect, double angle,
                       FrameDocument* colours, int32_t thickness) = 0;
    // Draws the whole effect for a PostScript printer, with the inset of the
    // path built before; thickness scales the outline widths as for Paint.
    virtual void Output(Dc* dc, const uint8_t* record, const IntRect& rect, double angle, FrameDocument* colours,
                        int32_t thickness) = 0;
    // Runs the styles dialog on a copy of the record; true after OK, with
    // the edited record in record. styles is an empty Handle the dialog may
    // fill with its style list.
    virtual bool RunStylesDialog(uint8_t* record, Handle styles, FrameDocument* document) = 0;
};

// Installs the renderer (null returns to the stand-in) and returns the one
// it replaces.
GlyphEffectRenderer* SetGlyphEffectRenderer(GlyphEffectRenderer* renderer);
GlyphEffectRenderer* InstalledGlyphEffectRenderer();
