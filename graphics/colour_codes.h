// The small colour numbering some callers pass instead of a colour:
// 1 white, 2 red, 3 green, 4 blue, 256 and every other code black.
#pragma once

#include <cstdint>

#include "platform/gdi_types.h"

class Dc;

ColorRef ColourOfCode(int32_t code);
// Sets the device context's text colour to the colour of the code.
void SetTextColourByCode(Dc* dc, int32_t code);
