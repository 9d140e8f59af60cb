// WordPerfect graphics files of version 1, holding one 8-bit bitmap with
// its colour map. Little-endian.
//
//   0    16-byte file header: 0xFF "WPC", u32 offset of the first record
//        (16), product 1, file type 0x16, major version 1, minor 0,
//        encryption key u16 0, u16 0
//   16   records, each a type byte and a length: one byte below 0xFF;
//        else 0xFF and a u16; a u16 with its high bit set takes a second
//        u16 as the low half of a 31-bit length
//        0x0F start: version 1, flags 0, width and height in 1/1200 inch
//        0x0E colour map: first index u16, count u16, red-green-blue
//        0x0B bitmap: width, height, depth, horizontal and vertical dpi
//             (u16 each), then the rows from the top, run-length coded:
//               0x81-0xFF b    b repeated (the byte - 0x80) times
//               0x01-0x7F ...  that many bytes as they are
//        0x10 end, of length 0
#pragma once

#include <cstdint>

constexpr uint32_t kWpgHeaderSize = 16;
constexpr uint8_t kWpgMagic[4] = {0xFF, 'W', 'P', 'C'};
constexpr uint8_t kWpgProduct = 1;
constexpr uint8_t kWpgFileType = 0x16;
constexpr uint8_t kWpgMajorVersion = 1;

constexpr uint8_t kWpgRecordStart = 0x0F;
constexpr uint8_t kWpgRecordColourMap = 0x0E;
constexpr uint8_t kWpgRecordBitmap = 0x0B;
constexpr uint8_t kWpgRecordEnd = 0x10;
constexpr uint32_t kWpgUnitsPerInch = 1200;

constexpr uint8_t kWpgRunFlag = 0x80;
constexpr uint32_t kWpgLongestRun = 0x7F;
constexpr int kWpgMaxSide = 0x7FFF;
