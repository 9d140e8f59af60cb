// How a laid-out line stands in its slot: the offset of right and centred
// lines, and the extra room of justified lines, spread over the spaces or,
// in a line without spaces, over the gaps between the characters.
#pragma once

#include <cstdint>

#include "text/line_record.h"

class TextContext;

// Fills the context's justification for the line with the alignment
// (1 left, 2 centred, 3 right, 4 justified, 5 justified but the paragraph's
// last line); lastLine says whether it is the paragraph's last line. At a
// zoom below 1:1 the measured width counts 0.92 (right, justified) or 0.96
// (centred) of itself.
void ComputeAlignment(TextContext* ctx, const TextLineRecord& line, int16_t alignment, bool lastLine);

// The extra advance after character i of the line under the context's
// justification (i counted from the line's first character).
int32_t JustifyExtraAfter(const TextContext& ctx, const TextLineRecord& line, const uint8_t* text, int32_t i,
                          int32_t* spaceIndex);
