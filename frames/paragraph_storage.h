// The bytes of a paragraph's Handle, as the story store keeps them:
//
//   0  u32  style id (0 = "Normal")
//   4  u16  text length in characters
//   6  u16  byte size of the style-run table (0 when none)
//   8  22   override block        -- only with paragraph flag 0x40
//   .  130  tab block             -- only with paragraph flag 0x80
//   .  n    style-run table       -- only with paragraph flag 0x20
//   .  len  the characters, one byte each; a CR (13) ends the paragraph
//
// A style run: u16 start, u16 end (first character after it), u16 field
// id, u16 field length, u16 page-number kind, u16 flags word, then one i16
// per set bit of 0x200..0x1 in the flags word.
#pragma once

#include <cstdint>

#include "foundation/handle.h"

constexpr uint32_t kParagraphHeaderSize = 8;
constexpr uint32_t kParagraphStyleOffset = 0;
constexpr uint32_t kParagraphLengthOffset = 4;
constexpr uint32_t kParagraphRunSizeOffset = 6;
constexpr uint32_t kOverrideBlockSize = 22;
constexpr uint32_t kParagraphTabBlockSize = 130;
constexpr uint32_t kStyleRunFixedSize = 12;
// Plain text is cut into paragraphs of at most this many characters.
constexpr uint32_t kParagraphMaxImport = 65000;

constexpr uint8_t kParagraphMark = 13;

// Paragraph flag bits (in the paragraph's record).
enum : uint8_t {
    kParaHasRuns = 0x20,
    kParaHasOverride = 0x40,
    kParaHasTabs = 0x80,
};

struct ParagraphLayout {
    uint32_t styleId = 0;
    uint16_t textLength = 0;
    uint16_t runSize = 0;
    uint32_t overrideOffset = 0;  // 0 when there is no override block
    uint32_t tabOffset = 0;       // 0 when there is no tab block
    uint32_t runOffset = 0;
    uint32_t textOffset = kParagraphHeaderSize;
};

// Where the parts of the Handle lie, from the flags and the header. False
// when the Handle is too short for what they say.
bool LayOutParagraphText(Handle h, uint8_t flags, ParagraphLayout* out);
// The bytes a paragraph uses (header, blocks, runs, characters); spare
// bytes at the end of the Handle are not counted.
uint32_t ParagraphUsedBytes(const ParagraphLayout& layout);
// A paragraph of no text but its mark: style 0, length 1.
Handle NewParagraph();
// Inserts n characters at position; runs that reach the position grow,
// runs behind it move. 0, or 1 when the Handle is not a paragraph, the
// position lies beyond its text or memory runs out (nothing changes then).
int32_t ParagraphInsertBytes(Handle h, uint8_t flags, uint16_t position, const uint8_t* bytes, uint32_t n);
// Cuts the paragraph before character at: it keeps [0, at) and a new mark,
// the new paragraph gets [at, length) with the same style and blocks; the
// style runs are divided between the two. flags and secondFlags say which
// blocks each has afterwards. 0, or 1 (nothing changed).
int32_t ParagraphSplit(Handle h, uint8_t* flags, uint16_t at, Handle* second, uint8_t* secondFlags);
