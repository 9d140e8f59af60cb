// The LZW decoder of GIF images: variable-width codes of up to 12 bits,
// least significant bit first, carried in length-prefixed sub-blocks.
#pragma once

#include <cstddef>
#include <cstdint>

#include <vector>

enum : int32_t {
    kGifLzwOk = 0,
    kGifLzwNoMemory = -10,
    kGifLzwBadCodeSize = -20,
};

// Decodes the image data at data[*pos] (the minimum code size byte, then
// the sub-blocks) into lines of width pixels, appended to lines in the
// order the file stores them, at most maxLines of them. Decoding stops at
// the end code, at the end of the data, or once maxLines lines are there;
// a line the data ends in is dropped. So the lines hold what the file
// holds and never more than it declares. *pos ends behind the image's
// terminating empty sub-block, or at size. badCodes (when given) counts
// codes beyond the next free table entry.
int32_t GifDecodeLzw(const uint8_t* data, size_t size, size_t* pos, int32_t width, int64_t maxLines,
                     std::vector<uint8_t>* lines, uint32_t* badCodes = nullptr);

// The row (from the top) of a picture of height rows that the n-th stored
// line fills: n itself, or in interlaced images the rows of the four passes
// (every eighth from 0, every eighth from 4, every fourth from 2, every
// second from 1). -1 beyond the picture.
int32_t GifLineRow(int64_t n, int32_t height, bool interlaced);

// Moves *pos past a run of sub-blocks and its terminating empty one.
void GifSkipSubBlocks(const uint8_t* data, size_t size, size_t* pos);
