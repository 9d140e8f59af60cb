// Drawing DibHandles on a device context. Rectangles are in device units
// with right and bottom included: (0, 0, 99, 49) is 100 by 50 pixels.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "graphics/dib_handle.h"

class Dc;

// The whole picture stretched into rect, combined by a blit raster
// operation. Nothing for an empty picture.
void DibHandleDraw(Dc* dc, DibHandle h, const IntRect& rect, uint32_t rop);

// With transparent, the mask (white where the picture is to be see-through)
// is laid down with MERGEPAINT and the picture over it with SRCAND: where
// the mask is black the picture shows as it is, where it is white what lay
// beneath shows through the picture's white. Otherwise the picture is
// drawn opaque (SRCCOPY).
void DibHandleDrawTransparent(Dc* dc, DibHandle image, DibHandle mask, const IntRect& rect, bool transparent);

// Paints through the imaging engine, as printing does. 1 when rect is
// null, h empty or the engine fails.
int32_t DibHandlePaintSdk(Dc* dc, DibHandle h, const IntRect* rect, uint32_t rop);

// The screen's palette, which the off-screen context asks for when it
// starts: there is none here, so the count is 0xFFFFFF and the table is
// left alone. Always 0.
int32_t DibQueryScreenPalette(Dc* dc, uint32_t* count, uint8_t* table);
