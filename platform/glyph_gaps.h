// Glyphs that stand apart on paper stand apart on an image. Text is laid
// out at whole points, so at one pixel a point two glyphs may leave less
// than a pixel between their outlines, with no pixel centre in the gap:
// sampled at the centres, their ink then runs on without a break (three
// Zs read as one underlined, slanted stroke). Where that happens, the
// pixel of the glyph that covers less of its column is left out.
#pragma once

class Coverage;
struct DeviceText;

// Leaves out of `cov` (which holds the glyphs of `text` at their origins)
// one pixel in each row where two neighbouring glyphs touch although their
// outlines do not. A pixel that is its glyph's only ink in the row (a thin
// stroke) stays.
void KeepGlyphsApart(const DeviceText& text, Coverage* cov);
