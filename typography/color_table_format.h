// The colour section of a card document: sixteen 36-byte colour entries in
// index order, nothing before or after them (576 bytes, little-endian).
//
// Entry:
//   0  u32       colour, 0x00BBGGRR (red in byte 0, byte 3 zero)
//   4  char[32]  name, Windows-1252, zero-terminated, the rest zero
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int32_t kColorCount = 16;
constexpr size_t kColorEntrySize = 36;
constexpr size_t kColorNameSize = 32;
constexpr size_t kColorSectionSize = kColorEntrySize * kColorCount;

enum : size_t {
    kColorEntryColour = 0,
    kColorEntryName = 4,
};
