// A text style of the style sheet: 288 bytes, little-endian, kept in memory
// only (the style sheet is rebuilt with the document).
//
//   0    32   name, zero-terminated
//  32    u32  style id (0 = the default style)
//  36    20   base format: ten u16 words (word 3 the point size)
//  56    18   paragraph format: i16 left indent, right indent, first-line
//             indent, leading, line-spacing kind, space before, space
//             after; u8 keep with next, keep lines together; i16 alignment
//  74    2    spare
//  76    24   rule-above block
// 100    24   rule-below block
// 124    130  tab block: u16 tabs-set word, then 16 tab stops of 8 bytes
//             (the position word at 2 of each stop; 0xFFFF = no stop)
// 254    34   next-style name, zero-terminated
//
// A rule block: u8 on/off, spare, i16 span, f32 left inset, f32 right inset,
// i16 position (percent), i16 line style, i16 width, i16 colour index,
// i16 shade, 2 spare.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/byte_order.h"

constexpr size_t kStyleRecordSize = 288;
constexpr size_t kStyleNameOffset = 0;
constexpr size_t kStyleNameSize = 32;
constexpr size_t kStyleIdOffset = 32;
constexpr size_t kStyleBaseFormatOffset = 36;
constexpr size_t kStyleBaseFormatSize = 20;
constexpr size_t kStyleParaFormatOffset = 56;
constexpr size_t kParaFormatSize = 18;
constexpr size_t kStyleRuleAboveOffset = 76;
constexpr size_t kStyleRuleBelowOffset = 100;
constexpr size_t kStyleRuleBlockSize = 24;
constexpr size_t kStyleTabsOffset = 124;
constexpr size_t kTabBlockSize = 130;
constexpr size_t kTabStopCount = 16;
constexpr size_t kTabStopSize = 8;
constexpr size_t kTabStopsOffset = 2;
constexpr size_t kTabStopPositionOffset = 2;
constexpr size_t kStyleNextNameOffset = 254;
constexpr size_t kStyleNextNameSize = 34;

// Offsets in a rule block.
constexpr size_t kRuleOnOffset = 0;
constexpr size_t kRuleSpanOffset = 2;
constexpr size_t kRuleLeftInsetOffset = 4;
constexpr size_t kRuleRightInsetOffset = 8;
constexpr size_t kRulePositionOffset = 12;
constexpr size_t kRuleStyleOffset = 14;
constexpr size_t kRuleWidthOffset = 16;
constexpr size_t kRuleColourOffset = 18;
constexpr size_t kRuleShadeOffset = 20;

// The effective format of a paragraph (the 18 bytes at 56).
struct ParaFormat {
    int16_t leftIndent = 0;
    int16_t rightIndent = 0;
    int16_t firstLineIndent = 0;
    int16_t leading = 0;
    int16_t lineSpacing = 0;
    int16_t spaceBefore = 0;
    int16_t spaceAfter = 0;
    uint8_t keepWithNext = 0;
    uint8_t keepTogether = 0;
    int16_t alignment = 0;

    bool operator==(const ParaFormat&) const = default;
};

inline ParaFormat GetParaFormat(const uint8_t* p)
{
    ParaFormat f;
    f.leftIndent = GetI16LE(p + 0);
    f.rightIndent = GetI16LE(p + 2);
    f.firstLineIndent = GetI16LE(p + 4);
    f.leading = GetI16LE(p + 6);
    f.lineSpacing = GetI16LE(p + 8);
    f.spaceBefore = GetI16LE(p + 10);
    f.spaceAfter = GetI16LE(p + 12);
    f.keepWithNext = p[14];
    f.keepTogether = p[15];
    f.alignment = GetI16LE(p + 16);
    return f;
}

inline void PutParaFormat(uint8_t* p, const ParaFormat& f)
{
    PutI16LE(p + 0, f.leftIndent);
    PutI16LE(p + 2, f.rightIndent);
    PutI16LE(p + 4, f.firstLineIndent);
    PutI16LE(p + 6, f.leading);
    PutI16LE(p + 8, f.lineSpacing);
    PutI16LE(p + 10, f.spaceBefore);
    PutI16LE(p + 12, f.spaceAfter);
    p[14] = f.keepWithNext;
    p[15] = f.keepTogether;
    PutI16LE(p + 16, f.alignment);
}
