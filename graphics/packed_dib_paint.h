// Painting a packed bitmap made by the imaging engine on a device context.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"

class Dc;

// Paints the packed bitmap block (header, colour table, rows) stretched
// into dest (right and bottom included), clipped to clip, combined by a
// blit raster operation; false when nothing was drawn.
bool PaintPackedDib(Dc* dc, const uint8_t* block, const IntRect& dest, const IntRect& clip, uint32_t rop);
