// The text a counter barcode shows: prefix, the counter's number and suffix,
// from the 544 bytes of counter settings (barcode_frame_format.h).
#pragma once

#include <cstdint>

#include "foundation/pstr.h"

// The number for the labels produced so far: start + step x (counter /
// repeat count), worked out in 64 bits so that every stored start, step
// and count gives its number whole. A repeat count below 1 (a damaged
// file, a dialog left empty) counts as 1.
int64_t CounterValue(const uint8_t* settings);

// The value's digits laid into the width: with width mode 0 as they are;
// otherwise a shorter text padded on the left with '0' (mode 1, a negative
// value keeping its '-' in the first place) or spaces (any other mode), and
// a longer one whole. The width counts as 0..255.
void CounterDigits(int64_t value, int32_t widthMode, int32_t width, uint8_t* out);

// Prefix + digits + suffix, at most 255 characters. Prefix and suffix end at
// their terminator or at the end of their 256 bytes.
void CounterText(const uint8_t* settings, uint8_t* out);
