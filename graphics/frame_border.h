// Styled lines: the line frame with its caps, and one side of a rectangle
// border.
#pragma once

#include <cstdint>

#include "graphics/placement_records.h"

class Dc;

// Draws the line in its style (1-9) and width, with the selected brush for
// stripes, dashes, dots and caps two or more units thick and the selected
// pen for one-unit stripes. borderFlag 0 draws a line frame (centred on the
// line, shortened by its caps, caps drawn); 1 draws a side of a rectangle
// border (the stripes on the side the rectangle's inside lies, no caps).
// Nothing is drawn for a width that is not positive or another style.
void DrawFrameBorder(Dc* dc, const LineRecord& line, int32_t borderFlag);

// Where the dashes of a dashed or dotted line of band length `length`
// start, and how long each is: none when not even one fits, one at the
// start (cut at the end) when only one does.
struct DashLayout {
    int32_t count = 0;
    int32_t step = 0;  // from one dash's start to the next
    int32_t dash = 0;
};
DashLayout LayoutDashes(int32_t style, int32_t width, int32_t length);
