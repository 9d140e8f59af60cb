// The glyph-effect record of a power-text frame (172 bytes) and the
// power-text style (30 bytes, the record's style part), little-endian,
// stored whole inside the frame in the card document; and the styles file
// "QX_PTStyles.dat". The frame itself reads only the two line fields
// (it draws when either has text), the font id and the style part; the
// rest belongs to the effects.
//
// Glyph effect:
//     0  64  first line: length byte, up to 63 characters
//    64  64  second line, same form (length 0: one-line text)
//   128  i16 font id (document font table; a font list index while the
//            styles dialog is open)
//   130  u16 envelope shape 1-21 (1 none)
//   132  u16 alignment 1 left, 2 centre, 3 right, 4 justified
//   134  u16 orientation: bit 0 set = horizontal (lines stacked)
//   136  6   not used by the effects; kept as stored
//   142  30  style part (below)
//
// Style part, fifteen i16 at 2-byte steps from its start:
//     0 outline style   2 outline colour   4 outline tint
//     6 fill style      8 fill colour     10 fill tint
//    12 blend colour   14 blend tint
//    16 shadow style   18 shadow position  20 shadow fill
//    22 shadow colour  24 shadow tint
//    26 shadow blend colour  28 shadow blend tint
//
// Styles file:
//     0  u32 N, byte length of the style data (whole styles)
//     4  N   N / 30 style parts in list order
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kGlyphRecordSize = 172;
constexpr size_t kGlyphLineFieldSize = 64;
constexpr size_t kGlyphLineMax = 63;
constexpr size_t kGlyphLine1Offset = 0;
constexpr size_t kGlyphLine2Offset = 64;
constexpr size_t kGlyphFontIdOffset = 128;
constexpr size_t kGlyphShapeOffset = 130;
constexpr size_t kGlyphAlignmentOffset = 132;
constexpr size_t kGlyphOrientationOffset = 134;
constexpr size_t kGlyphReservedOffset = 136;
constexpr size_t kGlyphReservedSize = 6;
constexpr size_t kGlyphStyleOffset = 142;

constexpr size_t kGlyphStyleSize = 30;
constexpr size_t kGlyphStyleFieldCount = 15;

constexpr size_t kStylesFileHeaderSize = 4;
