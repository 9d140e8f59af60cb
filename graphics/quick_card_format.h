// The stored layout of a Quick Card block: a 24-byte header followed by
// `count` items laid end to end, each starting with its own byte size.
// Blocks travel inside card documents (behind the Quick Card frame's
// record) and through the swap file, so every field is read and written
// little-endian at the offsets below.
//
//   header (24 bytes)
//     0  u32  default alignment of a line (low 16 bits): 1 left, 2 centre, 3 right
//     4  u8   keep empty pieces (0: a piece whose text is empty takes no space)
//     5  u8   keep empty lines (0: a line with nothing in it takes no height)
//     6  u16  0
//     8  i32  count of items
//    12  i32  layout version: 1 (0 is the older layout)
//    16  8    0
//
//   item, current layout (52..115 bytes)
//     0  u32  size of the item in bytes
//     4  i32  field id: negative for fixed text
//     8  f32  gap before the piece (block units) when the separator flag is 0
//    12  f32  space above the line (block units); read from a line's first item
//    16  u16  new-line flag
//    18  u16  separator flag: 1 = one space of the piece's font before it
//    20  i16  font size; below 1 = the size of the font in use
//    22  u16  kept
//    24  u16  style bits: 1 bold, 2 italic, 4 underline
//    26  u16  kept
//    28  u16  kept
//    30  u16  alignment of the line this item starts (0 = the header's)
//    32  16   0
//    48  text, zero-terminated, at most 63 characters: fixed text, or for a
//        field "prefix|suffix"
//
//   item, older layout (44..107 bytes)
//     0  u32  size;  4  i32 field id;  8  i32 gap;  12  i32 space above;
//    16..28  seven u16: the current offsets 16, 20, 22, 24, 26, 28, 30;
//    30  10   0;  40  text, zero-terminated, at most 63 characters
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/byte_order.h"

constexpr uint32_t kQuickCardHeaderSize = 24;
enum : size_t {
    kQcHeaderAlign = 0,
    kQcHeaderKeepEmptyPieces = 4,
    kQcHeaderKeepEmptyLines = 5,
    kQcHeaderCount = 8,
    kQcHeaderVersion = 12,
};
constexpr int32_t kQuickCardVersion = 1;
constexpr int32_t kQuickCardOldVersion = 0;

// No block is given more items than this by inserting.
constexpr int32_t kQuickCardMaxItems = 100;

constexpr uint32_t kQcItemMinSize = 52;
constexpr uint32_t kQcItemMaxSize = 115;
constexpr int32_t kQcItemMaxText = 63;
enum : size_t {
    kQcItemSize = 0,
    kQcItemField = 4,
    kQcItemGap = 8,
    kQcItemSpaceAbove = 12,
    kQcItemNewLine = 16,
    kQcItemSeparator = 18,
    kQcItemFontSize = 20,
    kQcItemKept22 = 22,
    kQcItemStyle = 24,
    kQcItemKept26 = 26,
    kQcItemKept28 = 28,
    kQcItemAlign = 30,
    kQcItemText = 48,
};

constexpr uint32_t kQcOldItemMinSize = 44;
constexpr uint32_t kQcOldItemMaxSize = 107;
enum : size_t {
    kQcOldItemSize = 0,
    kQcOldItemField = 4,
    kQcOldItemGap = 8,
    kQcOldItemSpaceAbove = 12,
    kQcOldItemWords = 16,  // seven u16, in the order of kQcWordsMovedByConversion
    kQcOldItemText = 40,
};
// Where each of the older layout's seven 16-bit values lives now.
constexpr size_t kQcWordsMovedByConversion[7] = {
    kQcItemNewLine, kQcItemFontSize, kQcItemKept22, kQcItemStyle, kQcItemKept26, kQcItemKept28, kQcItemAlign,
};

// Style bits of an item.
enum : uint16_t {
    kQcStyleBold = 1,
    kQcStyleItalic = 2,
    kQcStyleUnderline = 4,
};

// Line alignments.
enum : int32_t {
    kQcAlignDefault = 0,
    kQcAlignLeft = 1,
    kQcAlignCentre = 2,
    kQcAlignRight = 3,
};

// Splits field templates into prefix and suffix.
constexpr char kQcTemplateBar = '|';

// The fields of an item that measuring and drawing use, read one at a time.
struct QuickCardItemFields {
    uint32_t size = 0;
    int32_t field = 0;
    float gap = 0;
    float spaceAbove = 0;
    uint16_t newLine = 0;
    uint16_t separator = 0;
    int16_t fontSize = 0;
    uint16_t style = 0;
    uint16_t align = 0;
};

inline QuickCardItemFields GetQuickCardItem(const uint8_t* p)
{
    QuickCardItemFields v;
    v.size = GetU32LE(p + kQcItemSize);
    v.field = GetI32LE(p + kQcItemField);
    v.gap = GetF32LE(p + kQcItemGap);
    v.spaceAbove = GetF32LE(p + kQcItemSpaceAbove);
    v.newLine = GetU16LE(p + kQcItemNewLine);
    v.separator = GetU16LE(p + kQcItemSeparator);
    v.fontSize = GetI16LE(p + kQcItemFontSize);
    v.style = GetU16LE(p + kQcItemStyle);
    v.align = GetU16LE(p + kQcItemAlign);
    return v;
}
