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

// A JPEG of width x height grey or RGB pixels through libjpeg: baseline, or
// progressive with the library's standard scans.
std::vector<uint8_t> MakeTestJpeg(int32_t width, int32_t height, bool colour, bool progressive);

// A JPEG of the given RGB pixels (top row first) whose Exif block, when
// orientation is above 0, names that orientation in the byte order asked.
std::vector<uint8_t> MakeExifJpeg(int32_t width, int32_t height, const std::vector<uint8_t>& rgb,
                                  int32_t orientation, bool bigEndian);

// The frame header of a JPEG claims another size; the data stays as it was.
void PatchJpegSize(std::vector<uint8_t>* jpeg, uint16_t width, uint16_t height);

// How much the peak memory of a child process grows while it runs fn, in
// bytes; -1 when the child could not be run.
int64_t PeakMemoryGrowthInChild(void (*fn)(const std::vector<uint8_t>&), const std::vector<uint8_t>& arg);
