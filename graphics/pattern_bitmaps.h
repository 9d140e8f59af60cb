// The program's two built-in fill-pattern bitmaps: 8 x 8, one bit a pixel.
#pragma once

#include <cstdint>

#include "platform/gdi_types.h"

enum : int32_t {
    kPatternBitmapCheckerboard = 26073,  // every other pixel, alternating per row
    kPatternBitmapSparse = 26074,        // one pixel in four
};

// The pattern of a bitmap id, or null for another id. The pixels drawn in
// the text colour are the pattern's 0 bits; the rest take the background
// colour.
const MonoPattern* PatternBitmapResource(int32_t id);
