// Drawing the laid-out lines of the frame bound to the context into a
// device context whose logical units are the view's (document units times
// the zoom): the characters in their runs' fonts, colours and offsets, the
// tabs and shown hyphens, the paragraph rules and the mark of a chain's
// last frame whose text does not fit.
//
// Characters stand where layout put them: each advances by its measured
// width (in document units) converted to the view, so that the view, the
// selection and the caret agree at every zoom. The line rectangle is a
// segment at the baseline, so filling it paints nothing: text never paints
// over a frame's background. All erasing is white.
#pragma once

#include <cstdint>

class Dc;
class FrameObjText;
class TextContext;
struct TextLineRecord;

// Lines from..to (from 1) with their rules and the overflow mark; on the
// screen clipped to the frame's text rectangle.
void DrawTextBlock(TextContext* ctx, Dc* dc, int32_t from, int32_t to, bool erase);
void DrawTextLine(TextContext* ctx, Dc* dc, const TextLineRecord& line);
// Fills the text rectangle below the last line (and its rule below) with
// white; with lowered set, from further down by the last negative baseline
// shift drawn, so that lowered characters stay.
void EraseBelowText(TextContext* ctx, Dc* dc, bool lowered);
// Binds the frame and draws all its lines, first filling its text
// rectangle white when erase is set.
void RedrawFrameText(TextContext* ctx, Dc* dc, FrameObjText* frame, bool erase);
