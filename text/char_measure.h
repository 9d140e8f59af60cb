// Measuring one character of the paragraph at hand for layout and for the
// caret: its font (the run's attributes over the style's base format), the
// size it adds to its line's ascent, its descent and its advance.
#pragma once

#include <cstdint>

class TextContext;

struct CharMetrics {
    int32_t size = 0;     // the point size, raised by a superscript
    int32_t descent = 0;  // the font's descent, lowered by a subscript
    int32_t width = 0;    // advance with the pair and range spacing
    bool styled = false;  // a style run applied
};

// Layout's measuring, through the context's run cache. A paragraph mark
// takes the look of the character before it and no width. A tab measures
// the document's default tab width; layout sets the tabs it places itself.
CharMetrics MeasureLayoutChar(TextContext* ctx, int32_t p);
// The same without the cache, reading the base format afresh; pair spacing
// counts only from -100 on.
CharMetrics MeasureStyledChar(TextContext* ctx, int32_t p);

// Whether the byte is shown as its capital at the small-caps size: the code,
// read as a signed byte, is above 0x60.
inline bool IsSmallCapsLetter(uint8_t ch) { return int8_t(ch) > 0x60; }
