// Bitmap files (.bmp): a packed bitmap behind a 14-byte file header, the
// form in which the program's pictures are checked with other tools and in
// which its bitmap resources are kept.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/dib_handle.h"

// Reads a bitmap file held in memory. Info headers of 40 bytes and the
// longer later ones are taken; a table size of 0 means the full table as
// bitmap files count it; the rows are taken from the file header's offset.
// Rows stored top-down and 16- or 32-bit pixels are converted. With
// fullTable the colour table is widened to 1 << bits entries up to 8 bits.
// 1, with h cleared, for anything that is not a valid bitmap file.
int32_t DibHandleFromBmpBytes(DibHandle h, const uint8_t* bytes, uint64_t size, bool fullTable);

// The bitmap file of h's picture: the file header, then the packed block.
// A picture of 8 bits or less without a colour table is written with a full
// black table, since a file cannot say "no table". 1 when h is empty.
int32_t DibHandleToBmpBytes(DibHandle h, std::vector<uint8_t>* out);
