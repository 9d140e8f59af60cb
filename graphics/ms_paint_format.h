// Microsoft Paint files of the first version: a 32-byte header of sixteen
// little-endian words, then the rows from the top, uncompressed, each
// (width + 7) / 8 bytes, the first pixel in the high bit. 1 is white.
#pragma once

#include <cstdint>

constexpr uint32_t kMsPaintHeaderSize = 32;
constexpr uint32_t kMsPaintKey1Offset = 0;  // u16 "Da"
constexpr uint32_t kMsPaintKey2Offset = 2;  // u16 "nM"
constexpr uint32_t kMsPaintWidthOffset = 4;
constexpr uint32_t kMsPaintHeightOffset = 6;
constexpr uint32_t kMsPaintAspectOffset = 8;          // 4 u16: bitmap x, y, printer x, y
constexpr uint32_t kMsPaintPrinterSizeOffset = 16;    // 2 u16: printer width, height
constexpr uint32_t kMsPaintAspectCorrectionOffset = 20;  // 2 u16
constexpr uint32_t kMsPaintChecksumOffset = 24;  // u16: the XOR of the words before it
constexpr uint32_t kMsPaintChecksumWords = 12;

constexpr uint16_t kMsPaintKey1 = 0x6144;
constexpr uint16_t kMsPaintKey2 = 0x4D6E;
constexpr int kMsPaintMaxSide = 0x7FFF;
