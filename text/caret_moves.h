// Moving the caret through the story one character or one line at a time,
// as the arrow keys do.
#pragma once

#include <cstdint>

#include "frames/text_position.h"

class TextContext;

// One character back; from a paragraph's start to the previous paragraph's
// end mark; at the story's start the caret stays. Snaps backward to a line.
void CaretLeft(TextContext* ctx);
// One character on; from the end mark to the next paragraph's start; on
// the story's last end mark the caret stays. Snaps forward to a line.
void CaretRight(TextContext* ctx);

// The line of the frame that holds the caret, 0 when none does.
int32_t CaretLine(TextContext* ctx);

// The position under the view x on line `index` of the frame: *hit is what
// the hit test gave, *use the character to put the caret on (one back when
// the hit lies after the line's last character). False when the line does
// not exist.
bool AimAtLine(TextContext* ctx, int32_t index, int32_t viewX, TextPosition* hit, TextPosition* use);
