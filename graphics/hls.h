// Colour conversion between RGB and hue, lightness and saturation.
//
// The three HLS values are 16-bit integers on a scale of 0 to 216 (one sixth
// of the hue circle is 36), so that the colour dialogs and the monochrome
// conversion agree to the unit on every platform; RGB components are 0 to
// 255. The arithmetic is integer throughout and its rounding is part of the
// result: the same colour must always give the same lightness.
#pragma once

#include <cstdint>

#include "platform/gdi_types.h"

constexpr int16_t kHlsScale = 216;

void RgbToHls(ColorRef colour, int16_t* hue, int16_t* lightness, int16_t* saturation);
ColorRef HlsToRgb(int16_t hue, int16_t lightness, int16_t saturation);
