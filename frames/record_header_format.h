// The 20-byte header at the start of every record of a swappable store
// (the whole record of stories and paragraphs; frame records carry 36
// bytes more). Little-endian, the same in memory, in the document file and
// in the transfer format:
//
//   0  u32  data slot: 0 in every file; in memory a token that the store
//           resolves to the record's data (never a pointer)
//   4  u16  id, unique in the store, 1..65535 (0 = none)
//   6  2    spare, kept as found
//   8  u32  size of the data's copy (swap file, or the document file)
//  12  u32  position of that copy
//  16  u8   flags
//  17  3    spare, kept as found
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "foundation/byte_order.h"

constexpr size_t kRecordHeaderSize = 20;
constexpr size_t kRecordSlotOffset = 0;
constexpr size_t kRecordIdOffset = 4;
constexpr size_t kRecordSizeOffset = 8;
constexpr size_t kRecordPositionOffset = 12;
constexpr size_t kRecordFlagsOffset = 16;

// Flag bits; bits 4 to 7 belong to the concrete store.
enum : uint8_t {
    kRecLoaded = 0x01,   // the data is in memory
    kRecChanged = 0x02,  // it differs from the swap copy
    kRecCopied = 0x04,   // a valid copy exists at position/size
    kRecKeep = 0x08,     // survives UnloadAll(8)
    kRecNewFlags = kRecLoaded | kRecChanged | kRecKeep,
    kRecLayoutBits = 0xE0,  // paragraphs: which blocks the Handle carries
};

inline uint32_t HeaderSlot(const uint8_t* r) { return GetU32LE(r + kRecordSlotOffset); }
inline uint16_t HeaderId(const uint8_t* r) { return GetU16LE(r + kRecordIdOffset); }
inline uint32_t HeaderSize(const uint8_t* r) { return GetU32LE(r + kRecordSizeOffset); }
inline uint32_t HeaderPosition(const uint8_t* r) { return GetU32LE(r + kRecordPositionOffset); }
inline uint8_t HeaderFlags(const uint8_t* r) { return r[kRecordFlagsOffset]; }

inline void SetHeaderSlot(uint8_t* r, uint32_t v) { PutU32LE(r + kRecordSlotOffset, v); }
inline void SetHeaderId(uint8_t* r, uint16_t v) { PutU16LE(r + kRecordIdOffset, v); }
inline void SetHeaderSize(uint8_t* r, uint32_t v) { PutU32LE(r + kRecordSizeOffset, v); }
inline void SetHeaderPosition(uint8_t* r, uint32_t v) { PutU32LE(r + kRecordPositionOffset, v); }
inline void SetHeaderFlags(uint8_t* r, uint8_t v) { r[kRecordFlagsOffset] = v; }
inline bool HeaderHas(const uint8_t* r, uint8_t bits) { return (r[kRecordFlagsOffset] & bits) != 0; }

// Copies a header where the two may overlap. Through a buffer of the fixed
// size the copy stays a few register moves, not a library call: headers go
// to and from the current record many times for every card printed.
inline void CopyHeader(uint8_t* to, const uint8_t* from)
{
    uint8_t bytes[kRecordHeaderSize];
    std::memcpy(bytes, from, sizeof bytes);
    std::memcpy(to, bytes, sizeof bytes);
}

inline void SetHeaderBits(uint8_t* r, uint8_t bits, bool on)
{
    r[kRecordFlagsOffset] = on ? uint8_t(r[kRecordFlagsOffset] | bits) : uint8_t(r[kRecordFlagsOffset] & ~bits);
}

// Copies n records of recordSize bytes for a file: every data slot is
// written as 0.
inline void RecordsForFile(const uint8_t* records, uint8_t* out, size_t n, size_t recordSize)
{
    if (n)
        std::memcpy(out, records, n * recordSize);
    for (size_t i = 0; i < n; ++i)
        SetHeaderSlot(out + i * recordSize, 0);
}
