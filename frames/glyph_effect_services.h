// The glyph effects as the power-text frame uses them: its effect text laid
// out as glyph outlines, painted on screen or written as PostScript, and
// edited in the power text styles dialog. Installed for the frames with
// InstallGlyphEffectServices at start-up.
#pragma once

#include "frames/glyph_effect_renderer.h"
#include "graphics/font_spec.h"

class GlyphEffectServices : public GlyphEffectRenderer {
public:
    int32_t BuildPath(Dc* dc, const uint8_t* record, const FontSpec& font, const IntRect& rect, int32_t inset,
                      double angle) override;
    // The frame lays its text out in a rectangle at the origin and moves
    // the region to the frame; the fills follow the region by the same
    // shift.
    void Paint(Dc* dc, const Region& region, const uint8_t* paint, const IntRect& rect, double angle,
               FrameDocument* colours, int32_t thickness) override;
    // Writes the effect through the document's PostScript escape (nothing
    // when it has none), in the font and inset of the path built before.
    void Output(Dc* dc, const uint8_t* record, const IntRect& rect, double angle, FrameDocument* colours,
                int32_t thickness) override;
    bool RunStylesDialog(uint8_t* record, Handle styles, FrameDocument* document) override;

private:
    FontSpec font_;
    int32_t inset_ = 0;
    IntRect laidOut_;
    bool haveLaidOut_ = false;
};

// Puts the glyph effects in place of the frames' plain stand-in.
void InstallGlyphEffectServices();
