// The font-table section of a card document (also the tail of a template
// body), little-endian:
//
//   0         u32   count N of entries
//   4 + 48k   i32   font id of entry k
//   8 + 48k   44    the entry's FontSpec (graphics/font_spec.h)
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/font_spec.h"

constexpr size_t kFontTableCountSize = 4;
constexpr size_t kFontTableEntrySize = 4 + kFontSpecSize;

enum : size_t {
    kFontTableEntryId = 0,
    kFontTableEntrySpec = 4,
};

// Text refers to fonts by 16-bit ids, so a table never needs more entries
// than there are ids from 0 to 32767; a section claiming more is damaged.
constexpr uint32_t kFontTableMaxEntries = 32768;
