// GEM bit images, one plane. An eight-word big-endian header, then the
// rows from the top, (width + 7) / 8 bytes each, coded as a run of items:
//   0x00 0x00 0xFF n    the next row stands n times
//   0x00 n pattern      the pattern (of the header's length) n times
//   0x80 n bytes        n bytes as they are
//   0x01-0x7F           that many bytes of 0x00
//   0x81-0xFF           (the byte - 0x80) bytes of 0xFF
// 1 is black.
#pragma once

#include <cstdint>

constexpr uint32_t kGemHeaderWords = 8;
constexpr uint16_t kGemVersion = 1;
constexpr uint16_t kGemPlanes = 1;
constexpr uint16_t kGemPatternLength = 2;
// The header's pixel sizes are in micrometres.
constexpr double kGemMicronsPerInch = 25400.0;
constexpr uint8_t kGemBitString = 0x80;
constexpr uint8_t kGemSolidBlack = 0x80;
constexpr uint32_t kGemLongestSolid = 0x7F;
constexpr uint32_t kGemLongestString = 0xFF;
constexpr uint32_t kGemLongestRepeat = 0xFF;
constexpr int kGemMaxSide = 0x7FFF;
