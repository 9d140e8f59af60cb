// Pictures and outlines derived from a DibHandle: the one-bit transparency
// mask, the monochrome copy and the outline that text wraps around.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/int_geometry.h"
#include "graphics/dib_handle.h"
#include "platform/gdi_types.h"

// mask becomes a 1-bit picture of source's size with the table [white,
// black]: white where the source has the key colour, black elsewhere. 1
// when source is empty or memory runs out (mask cleared).
int32_t DibHandleMakeMask(DibHandle source, DibHandle mask, ColorRef key);

// target becomes a 1-bit copy with the table [white, black]: white where
// the source is pure white or has a lightness (RgbToHls) of 108 or more.
int32_t DibHandleToMonochrome(DibHandle source, DibHandle target);

// Traces the left and right edges of what differs from the key colour, for
// text to wrap around. The outline is replaced by the leftmost such pixel
// of each sampled row from the top down, then the rightmost ones from the
// bottom up, then the first point again: 2n + 1 points for n rows, and never
// more than maxPoints. The rows are sampled at an even step chosen from the
// picture's height and maxPoints, the last sample always on the lowest
// row that has such a pixel. area, when given, limits the search (it is
// clamped to the picture); points are in pixels from the top-left. An
// outline stays empty when nothing differs from the key. 1 when h is empty
// or outline null.
int32_t DibHandleTraceOutline(DibHandle h, std::vector<IntPoint>* outline, int32_t maxPoints, const IntRect* area,
                              ColorRef key);
