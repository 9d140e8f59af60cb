// Macintosh PICT files as the picture export writes them: version 2, one
// black-and-white bitmap. Big-endian throughout.
//
//   0     512 bytes  zero (room for an application's own header)
//   512   u16        picture size, low 16 bits (version 2 readers use
//                    the end opcode instead)
//   514   rect       picture frame: top, left, bottom, right (i16 each)
//   522   opcodes, each a u16, their data padded to an even length:
//         0x0011 0x02FF          version 2
//         0x0C00 + 24 bytes      extended header: -2, 0, horizontal and
//                                vertical resolution (16.16 fixed), the
//                                source rectangle, 0
//         0x001E                 default highlight
//         0x0001 u16 10, rect    clip region: the frame
//         0x0098 PackBitsRect    a pixel map of one bit: row bytes (even,
//                                with the high bit set), bounds, version
//                                0, pack type 0, pack size 0, resolutions,
//                                pixel type 0, pixel size 1, one component
//                                of 1 bit, three zero longs; a colour
//                                table of two entries (0 white, 1 black);
//                                source and destination rectangles,
//                                transfer mode, then each row: its packed
//                                length (u8 up to 250 row bytes, else u16)
//                                and its PackBits bytes
//         0x00FF                 end of picture
// 1 is black. (A pixel map rather than a plain bitmap: readers of today
// skip plain bitmaps.)
#pragma once

#include <cstdint>

constexpr uint32_t kPictFileHeaderSize = 512;
constexpr uint16_t kPictOpVersion = 0x0011;
constexpr uint16_t kPictVersion2 = 0x02FF;
constexpr uint16_t kPictOpHeader = 0x0C00;
constexpr int16_t kPictExtendedHeader = -2;
constexpr uint32_t kPictResolution72 = 72u << 16;
constexpr uint16_t kPictOpDefHilite = 0x001E;
constexpr uint16_t kPictOpClip = 0x0001;
constexpr uint16_t kPictRegionSize = 10;
constexpr uint16_t kPictOpPackBitsRect = 0x0098;
constexpr uint16_t kPictModeSrcCopy = 0;
constexpr uint16_t kPictPixMapFlag = 0x8000;
constexpr uint16_t kPictColourEntries = 2;
constexpr uint16_t kPictOpEnd = 0x00FF;
// Rows shorter than this are stored as they are.
constexpr uint32_t kPictPackedFrom = 8;
constexpr uint32_t kPictShortCountLimit = 250;
constexpr uint32_t kPictMaxRowBytes = 0x3FFE;
constexpr int kPictMaxSide = 0x7FFF;
