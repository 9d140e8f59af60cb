// A record of the frame table FRAMES: 56 bytes, little-endian, the same in
// memory and in the frame-store section of the document file. The first
// 20 bytes are the swappable-record header (record_header_format.h).
//
//   0  u32  data slot (0 in a file)       4  u16  frame id
//   8  u32  size of the frame's block     12 u32  its position
//  16  u8   flags (below)
//  20  u32  page handle
//  24  u8   residence: 0 on its page, 2 on the pasteboard, 3 taken off its
//           page by an editing command (1 is treated like 2)
//  25  u8   frame type code
//  26  u16  previous frame in the text chain (0 = first)
//  28  u16  next frame in the text chain (0 = last)
//  30  u16  story id (0 = none)
//  32  u16  end of the frame's text: paragraph (its low 16 bits)
//  36  u32  end of the frame's text: character
//  40  u16  selection start: character    44  u32  selection start: paragraph
//  48  u16  selection end: character      52  u32  selection end: paragraph
//
// Gaps (6, 17-19, 34, 42, 50) are kept as found.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/byte_order.h"
#include "frames/record_header_format.h"
#include "frames/text_position.h"

constexpr size_t kFrameRecordSize = 56;
constexpr size_t kFramePageOffset = 20;
constexpr size_t kFrameResidenceOffset = 24;
constexpr size_t kFrameTypeOffset = 25;
constexpr size_t kFramePreviousOffset = 26;
constexpr size_t kFrameNextOffset = 28;
constexpr size_t kFrameStoryOffset = 30;
constexpr size_t kFrameEndParagraphOffset = 32;
constexpr size_t kFrameEndCharacterOffset = 36;
constexpr size_t kFrameRefACharacterOffset = 40;
constexpr size_t kFrameRefAParagraphOffset = 44;
constexpr size_t kFrameRefBCharacterOffset = 48;
constexpr size_t kFrameRefBParagraphOffset = 52;

// Frame flag bits beside those of the header.
enum : uint8_t {
    kFrameHeld = 0x08,        // on a shown page or the pasteboard: stays in memory
    kFrameKeptLoaded = 0x10,  // set by the document; survives closing the pages
    kFrameNeedsReflow = 0x20,
    kFrameInEdit = 0x80,  // text frames: shows the selection; pictures: loaded for saving
};

enum : uint8_t {
    kResidencePage = 0,
    kResidenceKept = 1,
    kResidencePasteboard = 2,
    kResidenceTakenOff = 3,
};

inline uint32_t FramePage(const uint8_t* r) { return GetU32LE(r + kFramePageOffset); }
inline uint8_t FrameResidence(const uint8_t* r) { return r[kFrameResidenceOffset]; }
inline uint8_t FrameType(const uint8_t* r) { return r[kFrameTypeOffset]; }
inline uint16_t FramePrevious(const uint8_t* r) { return GetU16LE(r + kFramePreviousOffset); }
inline uint16_t FrameNext(const uint8_t* r) { return GetU16LE(r + kFrameNextOffset); }
inline uint16_t FrameStory(const uint8_t* r) { return GetU16LE(r + kFrameStoryOffset); }

inline void SetFramePageField(uint8_t* r, uint32_t v) { PutU32LE(r + kFramePageOffset, v); }
inline void SetFrameResidence(uint8_t* r, uint8_t v) { r[kFrameResidenceOffset] = v; }
inline void SetFrameType(uint8_t* r, uint8_t v) { r[kFrameTypeOffset] = v; }
inline void SetFramePrevious(uint8_t* r, uint16_t v) { PutU16LE(r + kFramePreviousOffset, v); }
inline void SetFrameNext(uint8_t* r, uint16_t v) { PutU16LE(r + kFrameNextOffset, v); }
inline void SetFrameStory(uint8_t* r, uint16_t v) { PutU16LE(r + kFrameStoryOffset, v); }

// The end position keeps the paragraph in 16 bits: stories of more than
// 65535 paragraphs cannot say where a frame's text ends.
inline TextPosition FrameEndField(const uint8_t* r)
{
    return TextPosition{GetU16LE(r + kFrameEndParagraphOffset), uint16_t(GetU32LE(r + kFrameEndCharacterOffset))};
}

inline void SetFrameEndField(uint8_t* r, const TextPosition& p)
{
    PutU16LE(r + kFrameEndParagraphOffset, uint16_t(p.paragraph));
    PutU32LE(r + kFrameEndCharacterOffset, p.character);
}

// Selector 0: selection start, any other: selection end.
inline TextPosition FrameTextRef(const uint8_t* r, int16_t selector)
{
    const size_t c = selector ? kFrameRefBCharacterOffset : kFrameRefACharacterOffset;
    const size_t p = selector ? kFrameRefBParagraphOffset : kFrameRefAParagraphOffset;
    return TextPosition{GetU32LE(r + p), GetU16LE(r + c)};
}

inline void SetFrameTextRef(uint8_t* r, int16_t selector, const TextPosition& pos)
{
    const size_t c = selector ? kFrameRefBCharacterOffset : kFrameRefACharacterOffset;
    const size_t p = selector ? kFrameRefBParagraphOffset : kFrameRefAParagraphOffset;
    PutU16LE(r + c, pos.character);
    PutU32LE(r + p, pos.paragraph);
}
