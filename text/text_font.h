// The device font that shows text of a font-table font at a size (in the
// units of the context it goes to) with the style bits: bold, italic and
// underline change the letters; outline, shadow, condensed and extended are
// kept in the text only.
#pragma once

#include <cstdint>

#include "platform/gdi_types.h"

struct FontSpec;

LogFont TextLogFont(const FontSpec& fontSpec, int32_t size, int16_t style);
