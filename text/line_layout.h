// Laying out one line of the paragraph at hand into the context's text
// rectangle, around the outlines loaded in the context.
//
// Vertical model: a band's top is the running y under the line before (its
// baseline plus its descent, or where the paragraph or frame begins). A line
// of height h takes [y, y + h]: its baseline is y + h - descent, and the
// next line's y is that baseline plus the descent. A line fits while
// y + h + 1 stays inside the rectangle's bottom.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "text/line_record.h"

class TextContext;

struct LineOutcome {
    bool fits = false;
    // Nothing of the paragraph is left from the first character on.
    bool empty = false;
    // The first character of the line (after the spaces skipped at its
    // start); where the frame's text ends when the line does not fit.
    int32_t first = 0;
};

// The line height for a line whose tallest size and largest descent are
// given, by the paragraph's leading and line spacing; at least 1.
int32_t LineHeight(const TextContext& ctx, int32_t ascent, int32_t descent);

// The band of the paragraph's line starting at first: its left and right
// edges from the indents and its y after the line `previous` of the line
// table (0: the frame's first line). False when that line cannot be read.
bool StartParagraphBand(TextContext* ctx, int32_t first, int32_t paragraph, int32_t previous, IntRect* band);

// Lays out the line that starts at first (spaces there are skipped unless
// it is the paragraph's start) on the band. Every line that fits holds at
// least one character.
LineOutcome LayOutLine(TextContext* ctx, int32_t first, const IntRect& band, TextLineRecord* out);

// The y under a laid-out line: where the next line of its paragraph starts.
inline int32_t LineBottom(const TextLineRecord& line) { return line.Baseline() + line.descent; }
