// The LZW decoder of GIF images: variable-width codes of up to 12 bits,
// least significant bit first, carried in length-prefixed sub-blocks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/dib_image.h"

enum : int32_t {
    kGifLzwOk = 0,
    kGifLzwNoMemory = -10,
    kGifLzwBadCodeSize = -20,
};

// Decodes the image data at data[*pos] (the minimum code size byte, then
// the sub-blocks) into the rows of image, an 8-bit picture of the image's
// size. With interlaced set the rows come in the four passes of interlaced
// images. Decoding stops at the end code, at the end of the data, or once
// every row is filled; rows not reached stay 0. *pos ends behind the
// image's terminating empty sub-block, or at size. badCodes (when given)
// counts codes beyond the next free table entry.
int32_t GifDecodeLzw(const uint8_t* data, size_t size, size_t* pos, bool interlaced, CDibImage& image,
                     uint32_t* badCodes = nullptr);

// Moves *pos past a run of sub-blocks and its terminating empty one.
void GifSkipSubBlocks(const uint8_t* data, size_t size, size_t* pos);
