// Sun raster files as the picture export writes them: a 32-byte header of
// eight big-endian 32-bit words, no colour map, then rows of blue, green
// and red bytes from the top, each row padded to an even length.
#pragma once

#include <cstdint>

constexpr uint32_t kSunRasterHeaderSize = 32;
constexpr uint32_t kSunRasterMagicOffset = 0;
constexpr uint32_t kSunRasterWidthOffset = 4;
constexpr uint32_t kSunRasterHeightOffset = 8;
constexpr uint32_t kSunRasterDepthOffset = 12;
constexpr uint32_t kSunRasterLengthOffset = 16;  // bytes of pixel data
constexpr uint32_t kSunRasterTypeOffset = 20;
constexpr uint32_t kSunRasterMapTypeOffset = 24;
constexpr uint32_t kSunRasterMapLengthOffset = 28;

constexpr uint32_t kSunRasterMagic = 0x59A66A95;
// The standard type keeps pixels uncompressed, in blue-green-red order.
constexpr uint32_t kSunRasterStandard = 1;
constexpr uint32_t kSunRasterNoMap = 0;
constexpr uint32_t kSunRasterDepth = 24;
