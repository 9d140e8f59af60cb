// Byte layout of the journal beside a record file ("name.dqx-journal").
//
// While a change to the record file is under way, the journal holds what
// it takes to undo it: the size the record file had before, and the old
// bytes of every stretch the change overwrites. A change counts as made
// once the record file is flushed and the journal's header is cleared; a
// journal with a valid header at open is a change that never finished,
// and is undone. Entries written after the last one that reached the disk
// whole fail their checksum and end the list.
//
// The first entry of a change is a copy of the header (an entry at the
// record file's old size, which a playback passes over), so that a journal
// cut short or with a bit changed still says what to undo.
//
// Header (24 bytes, at 0) and entries (16 bytes each, then the old bytes),
// little-endian:
#pragma once

#include <cstdint>

#include "foundation/byte_order.h"

namespace dbj {
constexpr uint32_t kMagic = FourCC("QXjn");
constexpr uint32_t kVersion = 1;

constexpr uint32_t kMagicAt = 0;         // u32 'QXjn'
constexpr uint32_t kVersionAt = 4;       // u32 1
constexpr uint32_t kSaltAt = 8;          // u32, new for each change
constexpr uint32_t kOriginalSizeAt = 12; // u32 the record file's size before the change
constexpr uint32_t kReservedAt = 16;     // u32 0
constexpr uint32_t kHeaderCrcAt = 20;    // u32 CRC-32 of bytes 0-19
constexpr uint32_t kHeaderSize = 24;

constexpr uint32_t kEntryOffsetAt = 0;   // u32 where the old bytes go back
constexpr uint32_t kEntryLengthAt = 4;   // u32 how many
constexpr uint32_t kEntrySaltAt = 8;     // u32 the header's salt
constexpr uint32_t kEntryCrcAt = 12;     // u32 CRC-32 of bytes 0-11 and the old bytes
constexpr uint32_t kEntryHeadSize = 16;

// An entry never holds more than this; a longer stretch takes several.
constexpr uint32_t kMaxEntryLength = 1u << 20;
}  // namespace dbj
