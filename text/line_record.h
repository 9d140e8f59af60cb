// One laid-out line (196 bytes, little-endian), as the text frame's line
// table keeps it; run-time only, never written to a file:
//
//   0    i32  paragraph index
//   4    i32  left, top, right, bottom: the line's slot, a horizontal
//             segment at the baseline (top and bottom are both the baseline)
//  20    u16  first character
//  22    i16  character count
//  24    i16  ascent: the largest size on the line, raised by superscripts
//  26    i16  descent: the largest font descent, lowered by subscripts
//  28    i16  text width from the slot's left edge
//  30    i16  spaces on the line, not counting those at its end
//  32    u8   1 when the line ends with a shown hyphen
//  33    u8   1 when a style run applied to a character of the line
//  34    130  the line's tab block: per tab its character and its advance
// 164    32   16 x u16 tab character indexes (0xFFFF empty)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "foundation/int_geometry.h"
#include "frames/tab_stops.h"

constexpr size_t kLineRecordBytes = 196;
constexpr size_t kLineTabBlockOffset = 34;
constexpr size_t kLineTabCharsOffset = 164;

struct TextLineRecord {
    int32_t paragraph = 0;
    IntRect rect;
    uint16_t first = 0;
    int16_t count = 0;
    int16_t ascent = 0;
    int16_t descent = 0;
    int16_t width = 0;
    int16_t spaces = 0;
    uint8_t hyphen = 0;
    uint8_t styled = 0;
    std::array<uint8_t, kTabBlockBytes> tabs{};
    std::array<uint16_t, kTabStops> tabChars{};

    TextLineRecord();
    int32_t Baseline() const { return rect.top; }
    int32_t Height() const { return ascent + descent; }
    // The first character after the line.
    int32_t End() const { return int32_t(first) + count; }
    // The advance of the line's tab at character p, or -1 when the line
    // recorded no tab there.
    int32_t TabAdvanceAt(int32_t p) const;

    bool operator==(const TextLineRecord& o) const;
};

TextLineRecord ReadLineRecord(const uint8_t* p);
// The record's paragraph and the first character after its line, read
// alone.
void ReadLineEnd(const uint8_t* p, int32_t* paragraph, int32_t* end);
void WriteLineRecord(const TextLineRecord& line, uint8_t* p);
