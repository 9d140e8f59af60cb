// Byte layout of the journal beside a record file ("name.dqx-journal").
//
// While a change to the record file is under way, the journal holds what
// it takes to undo it: the size the record file had before, and the old
// bytes of every stretch the change overwrites. A change counts as made
// once the record file is flushed and the journal is emptied; a journal
// with a valid header at open is a change that never finished, and is
// undone. Entries written after the last one that reached the disk whole
// fail their checksum and end the list.
//
// The first entry of a change is a copy of the header (an entry at the
// record file's old size, which a playback passes over), so that a journal
// cut short, with a bit changed or its first bytes zeroed still says what
// to undo.
//
// The header names the record file it was made for by a check of its
// bytes as the change found them: a journal is played back only when the
// old bytes it keeps, put over the record file, give back that check, so
// that another database's journal, or one older than the records, is never
// played back. Version 1 journals (no check; a finished change cleared the
// header and left the rest) are still read and undone.
//
// Header (24 bytes, at 0) and entries (16 bytes each, then the old bytes),
// little-endian:
#pragma once

#include <cstdint>

#include "foundation/byte_order.h"

namespace dbj {
constexpr uint32_t kMagic = FourCC("QXjn");
constexpr uint32_t kVersion = 2;
constexpr uint32_t kVersionWithoutCheck = 1;

constexpr uint32_t kMagicAt = 0;         // u32 'QXjn'
constexpr uint32_t kVersionAt = 4;       // u32 2 (1: no state check)
constexpr uint32_t kSaltAt = 8;          // u32, new for each change
constexpr uint32_t kOriginalSizeAt = 12; // u32 the record file's size before the change
constexpr uint32_t kStateCheckAt = 16;   // u32 CRC-32 of the record file's first OriginalSize bytes
                                         // as the change found them (0 in version 1)
constexpr uint32_t kHeaderCrcAt = 20;    // u32 CRC-32 of bytes 0-19
constexpr uint32_t kHeaderSize = 24;

constexpr uint32_t kEntryOffsetAt = 0;   // u32 where the old bytes go back
constexpr uint32_t kEntryLengthAt = 4;   // u32 how many
constexpr uint32_t kEntrySaltAt = 8;     // u32 the header's salt
constexpr uint32_t kEntryCrcAt = 12;     // u32 CRC-32 of bytes 0-11 and the old bytes
constexpr uint32_t kEntryHeadSize = 16;
// The header, then its copy as the first entry.
constexpr uint32_t kCopyAt = kHeaderSize + kEntryHeadSize;
constexpr uint32_t kFrontSize = kCopyAt + kHeaderSize;

// An entry never holds more than this; a longer stretch takes several.
constexpr uint32_t kMaxEntryLength = 1u << 20;
}  // namespace dbj
