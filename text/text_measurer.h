// What layout, hit testing and drawing measure text with: a font chosen by
// its number in the document's font table, a size in document units and the
// style bits (1 bold, 2 italic, 4 underline; the others are kept in the text
// but do not change the letters). All results are whole document units, the
// same at every zoom, so line breaks never depend on the view.
#pragma once

#include <cstdint>

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;

    // False when the font number is unknown; the font selected before stays.
    virtual bool SelectFont(int16_t font, int32_t size, int16_t style) = 0;
    virtual int32_t Ascent() = 0;
    virtual int32_t Descent() = 0;
    // The advance of one byte of the code page in the selected font.
    virtual int32_t CharWidth(uint8_t ch) = 0;
    // How far the byte's glyph reaches left of its origin (0 for none).
    virtual int32_t LeftOverhang(uint8_t ch) = 0;
};
