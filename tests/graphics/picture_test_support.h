// Helpers of the picture tests: pictures as plain RGB, and small files
// built byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/dib_image.h"

// Red, green, blue of every pixel, top row first.
std::vector<uint8_t> PictureRgb(const CDibImage& image);

// A GIF of one image whose LZW data codes every pixel as a literal.
// indices holds width x height colour indices, top row first; they are
// stored in pass order when interlaced.
std::vector<uint8_t> MakeTestGif(int32_t width, int32_t height, const std::vector<uint8_t>& indices,
                                 const std::vector<uint8_t>& rgbTable, bool interlaced, int32_t transparent);

// A bitmap body or file of 24 bits (bottom row first, as stored).
std::vector<uint8_t> MakeTestBmp(int32_t width, int32_t height, bool fileHeader);
