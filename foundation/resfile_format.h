// The byte layout of a typed resource file. Every number is a 32-bit
// little-endian value at the offset named here.
//
//   header      magic, three reserved values (0), number of type groups
//   directory   the type groups one after the other: type, count, then
//               count entries {id (signed), data size, data offset}
//   data        the data blocks, in any order, behind the directory
#pragma once

#include <cstdint>

#include "foundation/byte_order.h"

// 'RESF' as a little-endian value: the file starts with the bytes "FSER".
constexpr uint32_t kResFileMagic = FourCC("RESF");

constexpr uint32_t kResHeaderSize = 20;
constexpr uint32_t kResHeaderMagicAt = 0;
constexpr uint32_t kResHeaderReservedAt = 4;  // three values, written as 0
constexpr uint32_t kResHeaderGroupCountAt = 16;

constexpr uint32_t kResGroupHeaderSize = 8;
constexpr uint32_t kResGroupTypeAt = 0;
constexpr uint32_t kResGroupCountAt = 4;

constexpr uint32_t kResEntrySize = 12;
constexpr uint32_t kResEntryIdAt = 0;
constexpr uint32_t kResEntryDataSizeAt = 4;
constexpr uint32_t kResEntryOffsetAt = 8;

// A change is made safe by first appending the complete new content of the
// file behind everything the file holds, followed by this trailer, and only
// then rewriting the file from its start. Finding a valid trailer when the
// file is made current means that rewrite was interrupted; the copy is the
// file's content.
//
//   ... old content ... | (gap) | copy of the new content | trailer
//
// The copy starts at the larger of the old and the new size, so that
// neither the old content nor the rewrite can overlap it.
constexpr uint32_t kResPendingMagic = FourCC("PEND");
constexpr uint32_t kResTrailerSize = 20;
constexpr uint32_t kResTrailerMagicAt = 0;      // kResFileMagic
constexpr uint32_t kResTrailerPendingAt = 4;    // kResPendingMagic
constexpr uint32_t kResTrailerOldSizeAt = 8;    // size of the content it replaces
constexpr uint32_t kResTrailerNewSizeAt = 12;   // size of the copy
constexpr uint32_t kResTrailerCrcAt = 16;       // CRC-32 of the copy

// Offsets are stored as 32-bit values and reached with signed 32-bit seeks.
constexpr uint32_t kResFileMaxSize = 0x7FFFFFFF;
