// Pixel access on a DibHandle. x counts from the left and y from the top
// (the rows are stored bottom-up). Colours are 0x00BBGGRR values.
//
// Coordinates outside the picture read 0 and write nothing.
#pragma once

#include <cstdint>

#include "graphics/dib_handle.h"
#include "platform/gdi_types.h"

// The stored value: the palette index at 1, 4 and 8 bits (bit 7 - x mod 8
// of byte x / 8; the high nibble of byte x / 2 for even x, the low one for
// odd x; the byte), the colour at 24 bits.
uint32_t DibHandleGetPixelIndex(DibHandle h, int32_t x, int32_t y);
// The colour: the colour-table entry of the index (black for an index the
// table does not hold), or the stored colour at 24 bits.
ColorRef DibHandleGetPixel(DibHandle h, int32_t x, int32_t y);
// Stores an index (the other pixels of the byte kept), or a colour at 24
// bits.
void DibHandleSetPixelIndex(DibHandle h, int32_t x, int32_t y, uint32_t value);
// Stores a colour. With a colour table the first entry of that colour is
// used; a colour not in the table is added while the table is not full
// (the block grows by one entry), and when it is full the entry the pixel
// already uses is changed, so every pixel sharing it changes too. 1 when
// the block cannot grow for lack of memory (the pixel is left as it was).
int32_t DibHandleSetPixel(DibHandle h, int32_t x, int32_t y, ColorRef colour);

// The colours of row y (from the top), DibHandleWidth(h) of them.
void DibHandleReadRow(DibHandle h, int32_t y, ColorRef* out);
