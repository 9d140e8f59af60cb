// Where the caret stands and how wide a character is on the view, for the
// caret, vertical caret moves and the text tool's scrolling.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"

class Dc;
class TextContext;

// The caret's point in view units: x before the caret's character, y the
// bottom of its line, so that the caret spans from y - height to y (the
// line's ascent and descent). Kept as the context's caret point. height
// (may be null) is the line's height, the tool's size + 2 in an empty
// paragraph whose style has another size, and 0 when the caret lies beyond
// the frame's lines of its paragraph. False, with the point (0, 0), unless
// the text tool is current; a frame without lines has the caret at its
// start (CaretAtFrameStart).
bool GetCaretPoint(TextContext* ctx, IntPoint* point, int32_t* height);

// The caret of a frame too low for even its first line: at the frame's
// start, as high as the frame, so that typing is still seen to go
// somewhere.
void CaretAtFrameStart(TextContext* ctx, IntPoint* bottom, int32_t* height);

// The advance of character i of the paragraph at hand in view units: its
// measured width with its spacing, a tab's as its line placed it (or the
// default tab interval).
int32_t GetCharWidth(TextContext* ctx, int32_t i);

// Spaces at the context's current position covering w view units (w > 0).
void FillWithSpaces(Dc* dc, int32_t w);
