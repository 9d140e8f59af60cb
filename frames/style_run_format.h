// One entry of a paragraph's style-run table (little-endian, packed behind
// each other without gaps, in no particular order):
//
//   0  u16  start: first character of the run
//   2  u16  end: first character after the run
//   4  u16  field id (with flag 0x800)
//   6  u16  length of the field's text (with flag 0x800)
//   8  u16  page-number kind 1-5 (with flag 0x400)
//  10  u16  flags word
//  12  i16  one value per set bit of 0x200, 0x100, ... 0x1, in that order
//
// The ten value bits also order the ten words of a style's base format, so
// an attribute has the same index (its "rank") in both.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "foundation/byte_order.h"

constexpr size_t kRunStartOffset = 0;
constexpr size_t kRunEndOffset = 2;
constexpr size_t kRunFieldIdOffset = 4;
constexpr size_t kRunFieldLengthOffset = 6;
constexpr size_t kRunPageKindOffset = 8;
constexpr size_t kRunFlagsOffset = 10;
constexpr size_t kRunValuesOffset = 12;

enum : uint16_t {
    kRunField = 0x800,
    kRunPageNumber = 0x400,
    kRunSuperSub = 0x200,
    kRunCaps = 0x100,
    kRunFont = 0x80,
    kRunSize = 0x40,
    kRunStyle = 0x20,
    kRunColour = 0x10,
    kRunShade = 0x8,
    kRunPairSpacing = 0x4,
    kRunRangeSpacing = 0x2,
    kRunBaselineShift = 0x1,
    kRunValueBits = 0x3FF,
};

// Attribute ranks: the index of a value bit among the ten, 0x200 first.
enum : int {
    kRankSuperSub = 0,
    kRankCaps = 1,
    kRankFont = 2,
    kRankSize = 3,
    kRankStyle = 4,
    kRankColour = 5,
    kRankShade = 6,
    kRankPairSpacing = 7,
    kRankRangeSpacing = 8,
    kRankBaselineShift = 9,
    kAttributeCount = 10,
};

// A style value with this bit asks to turn its bits on rather than toggle.
constexpr int16_t kStyleTurnOn = 0x4000;

constexpr uint16_t RankBit(int rank) { return uint16_t(0x200 >> rank); }

// The value an attribute has where no run sets it.
constexpr std::array<int16_t, kAttributeCount> kRunDefaults = {-100, -1, -1, -1, -1, -1, -1, -1000, -1000, -100};

inline int CountRunAttributes(uint16_t flags)
{
    int n = 0;
    for (int rank = 0; rank < kAttributeCount; ++rank)
        n += (flags & RankBit(rank)) ? 1 : 0;
    return n;
}

inline uint32_t RunEntrySize(uint16_t flags) { return uint32_t(kRunValuesOffset + 2 * CountRunAttributes(flags)); }

// The index of the bit's value among a run's values.
inline int GetAttributeSlot(uint16_t bit, uint16_t flags)
{
    int slot = 0;
    for (uint16_t b = 0x200; b > bit; b >>= 1)
        slot += (flags & b) ? 1 : 0;
    return slot;
}

inline uint16_t RunStart(const uint8_t* run) { return GetU16LE(run + kRunStartOffset); }
inline uint16_t RunEnd(const uint8_t* run) { return GetU16LE(run + kRunEndOffset); }
inline uint16_t RunFlags(const uint8_t* run) { return GetU16LE(run + kRunFlagsOffset); }
inline void SetRunStart(uint8_t* run, uint16_t v) { PutU16LE(run + kRunStartOffset, v); }
inline void SetRunEnd(uint8_t* run, uint16_t v) { PutU16LE(run + kRunEndOffset, v); }
