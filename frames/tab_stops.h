// The 130-byte tab block that styles, paragraphs and laid-out lines share:
//
//   0  u16  non-zero when tabs are set
//   2  16 stops of 8 bytes:
//        0  u16  unused in styles and paragraphs; a line's tab character
//        2  u16  position (0xFFFF: no stop); in a line, the tab's advance
//        4  u8   unused
//        5  u8   alignment kind in the low 3 bits: 0 left, 1 right,
//                2 centre
//        6  u8   fill character
//        7  u8   unused
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kTabBlockBytes = 130;
constexpr int kTabStops = 16;
constexpr uint16_t kNoTabStop = 0xFFFF;

enum : uint8_t {
    kTabLeft = 0,
    kTabRight = 1,
    kTabCentre = 2,
};

inline uint8_t* TabStopAt(uint8_t* block, int i) { return block + 2 + 8 * i; }
inline const uint8_t* TabStopAt(const uint8_t* block, int i) { return block + 2 + 8 * i; }

uint16_t TabsSetWord(const uint8_t* block);
void SetTabsSetWord(uint8_t* block, uint16_t value);
uint16_t TabPosition(const uint8_t* block, int i);
void SetTabPosition(uint8_t* block, int i, uint16_t position);
uint8_t TabKind(const uint8_t* block, int i);
void SetTabKind(uint8_t* block, int i, uint8_t kind);
uint16_t TabCharacter(const uint8_t* block, int i);
void SetTabCharacter(uint8_t* block, int i, uint16_t character);

// No tabs: the set word 0 and every stop empty.
void ClearTabBlock(uint8_t* block);

// The stop with the smallest position greater than x, among the stops with
// a position above 0 (positions from 32000 on count as none); -1 when none.
int NextStop(const uint8_t* block, int32_t x);

// The next default tab position after the absolute x, as an offset from the
// rectangle's left edge: the first multiple of the interval beyond x while
// x + interval stays left of the right edge, else the last unit inside the
// rectangle. An interval that is not positive never advances.
int32_t NextDefaultTab(int32_t x, int32_t interval, int32_t left, int32_t right);
