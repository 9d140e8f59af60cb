// A page record of the page table: 244 bytes, little-endian, the same in
// memory and in the page section of the document file. Bytes not named
// here are 0 in a new record.
//
//   0    u8    first byte
//   2    u16   kind, given by whoever creates the page
//   4    u32   page handle
//   8    u16   zoom mode
//  10    u16   zoom numerator
//  12    u16   zoom denominator
//  18    160   40 guide entries of 4 bytes: i16 position, u8 kind, spare
// 178    u8    1 in a new record
// 180    u16   0 in a new record
// 182    i16   page number (-32000 = none)
// 184    u8    1 in the table the document keeps
// 185    u8
// 188    56    guide settings block (the current-page manager's)
//
// The page section: u32 L (count x 244), then the records in table order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/byte_order.h"

constexpr size_t kPageRecordSize = 244;
constexpr size_t kPageKindOffset = 2;
constexpr size_t kPageHandleOffset = 4;
constexpr size_t kPageZoomModeOffset = 8;
constexpr size_t kPageZoomNumOffset = 10;
constexpr size_t kPageZoomDenOffset = 12;
constexpr size_t kPageGuidesOffset = 18;
constexpr size_t kPageGuideCount = 40;
constexpr size_t kPageGuideSize = 4;
constexpr size_t kPageNewFlagOffset = 178;
constexpr size_t kPageWord180Offset = 180;
constexpr size_t kPageNumberOffset = 182;
constexpr size_t kPageByte184Offset = 184;
constexpr size_t kPageByte185Offset = 185;
constexpr size_t kPageGuideBlockOffset = 188;
constexpr size_t kPageGuideBlockSize = 56;
constexpr size_t kPageSectionHeaderSize = 4;

constexpr int16_t kNoPageNumber = -32000;
constexpr uint32_t kNoPageHandle = 0xFFFFFFFF;
constexpr uint32_t kMaxPages = 1000;

inline uint16_t PageKind(const uint8_t* r) { return GetU16LE(r + kPageKindOffset); }
inline uint32_t PageHandle(const uint8_t* r) { return GetU32LE(r + kPageHandleOffset); }
inline int16_t PageNumber(const uint8_t* r) { return GetI16LE(r + kPageNumberOffset); }
inline void SetPageKind(uint8_t* r, uint16_t v) { PutU16LE(r + kPageKindOffset, v); }
inline void SetPageHandle(uint8_t* r, uint32_t v) { PutU32LE(r + kPageHandleOffset, v); }
inline void SetPageNumber(uint8_t* r, int16_t v) { PutI16LE(r + kPageNumberOffset, v); }
