// The font a content frame draws or measures its text in: the frame's font
// id looked up in the document's font table, font 0 when the id is not
// there, and Arial when the table has neither.
#pragma once

#include <cstdint>

#include "graphics/font_spec.h"
#include "platform/gdi_types.h"

class Dc;
class FontState;
class FrameObj;

// The font record for a font id of the frame's document.
FontSpec FrameFontSpec(const FrameObj* frame, int16_t fontId);
// Style bits (bold 1, italic 2, underline 4) of a stored style word; the
// "not set" value counts as none.
uint32_t FrameFontStyle(int16_t style);
// A size that is not set or not positive counts as 12.
int32_t FrameFontSize(int16_t size);
// Selects face, character height and style of the frame's font through
// the state, and the text colour.
void SelectFrameFont(FontState* state, const FrameObj* frame, int32_t height, ColorRef colour);

// A context to measure with when the frame has no view.
Dc* MeasuringDc();
