// Measuring and drawing Quick Card blocks on a device context.
//
// A line starts with the first item and with every item whose new-line
// flag is set. Each piece takes the context's font at its own size (scaled
// vertically; below 1 the context's size) and style, and stands after the
// previous one by its gap (scaled horizontally) or by one space of its
// font. Scale x and y map block units to the context's logical units (the
// zoom of the frame).
//
// A line is as high as its space above plus, for its tallest piece, the
// font's height + ascent - descent; its text sits on a baseline one ascent
// below the space above. When the block's keep-empty-lines byte is 0, a
// line in which nothing takes space takes no height at all.
//
// Both return 0, or 1 for an invalid block; a damaged item stops them
// there (with 1), after what came before it.
#pragma once

#include <cstdint>

#include "foundation/handle.h"
#include "foundation/int_geometry.h"

class Dc;

// The size of the whole block: the widest line (with its 2-unit margin)
// and the sum of the lines' heights.
int32_t QuickCardBlockMeasure(Dc* dc, int32_t useRecord, double scaleX, double scaleY, Handle block, int32_t* width,
                              int32_t* height, int32_t previewMode);

// Draws the block from the rectangle's top down, each line aligned in the
// rectangle, until a line would start at or below its bottom. The text
// colour is the context's; the context's font, text alignment and
// background mode are as they were afterwards.
int32_t QuickCardBlockDraw(Dc* dc, const IntRect& rect, int32_t useRecord, double scaleX, double scaleY, Handle block,
                           int32_t previewMode);
