// One paragraph's Handle seen through its flags (paragraph_storage.h has
// the byte layout): the characters with the Handle's spare capacity, and
// the blocks ahead of them. The Handle may move its data on every resize,
// so every access goes through the Handle again; the offsets are laid out
// anew after each change of size or flags.
//
// Growth never mutates anything before the resize has succeeded: a failed
// resize leaves the paragraph exactly as it was.
#pragma once

#include <cstdint>

#include "foundation/handle.h"
#include "frames/paragraph_storage.h"

// Typing, pasting and every other growth stop here, well inside the 16 bits
// of the length word and the positions.
constexpr uint32_t kParagraphMaxLength = 65500;
// The Handle's capacity moves in these steps and never below one of them.
constexpr uint32_t kParagraphCapacityStep = 256;

class ParagraphText {
public:
    ParagraphText(Handle handle, uint8_t flags);

    Handle handle() const { return handle_; }
    uint8_t flags() const { return flags_; }
    // False when the Handle is too short for what its header and flags say;
    // nothing reads or writes such a paragraph.
    bool valid() const { return valid_; }
    const ParagraphLayout& layout() const { return layout_; }
    void Relayout();

    uint32_t StyleId() const { return layout_.styleId; }
    void SetStyleId(uint32_t id);
    uint16_t Length() const { return valid_ ? layout_.textLength : 0; }
    // 0 outside the text.
    uint8_t Char(int32_t i) const;
    void SetChar(uint16_t i, uint8_t ch);
    uint8_t* Chars();
    const uint8_t* Chars() const;
    // Bytes of the Handle from the characters to its end.
    uint32_t Capacity() const;

    uint8_t* OverrideBlock();
    const uint8_t* OverrideBlock() const;
    uint8_t* TabBlock();
    const uint8_t* TabBlock() const;
    uint8_t* RunTable();
    const uint8_t* RunTable() const;
    uint16_t RunTableSize() const { return layout_.runSize; }

    // Capacity for n more characters, grown in 256-byte steps.
    bool ReserveText(uint32_t n);
    // Gives capacity back after n characters went.
    void TrimText(uint32_t n);
    // n characters at p, the ones from p on moving up; refused beyond the
    // text or past kParagraphMaxLength. The runs are not touched.
    bool InsertBytes(uint16_t p, const uint8_t* source, uint32_t n);
    // Characters from..to inclusive. With forward set the end mark always
    // stays; without it a range reaching the end mark takes it too. The
    // number of characters removed.
    uint32_t DeleteChars(uint16_t from, uint16_t to, bool forward);

    // Room of n zero bytes at offset (ahead of the characters), or n bytes
    // from offset removed; the Handle grows or shrinks by n, so the spare
    // capacity stays as it was. The caller fixes flags and size words.
    bool InsertRegion(uint32_t offset, uint32_t n);
    void RemoveRegion(uint32_t offset, uint32_t n);
    void SetRunTableSize(uint16_t size);

    // The blocks come and go with their flags; a new block is zeroed (a new
    // tab block has every stop empty).
    bool AddOverrideBlock();
    void RemoveOverrideBlock();
    bool AddTabBlock();
    void RemoveTabBlock();
    void SetFlags(uint8_t flags);

private:
    uint32_t UsedBytes() const { return ParagraphUsedBytes(layout_); }

    Handle handle_;
    uint8_t flags_;
    bool valid_ = false;
    ParagraphLayout layout_;
};

// True for 0; otherwise the stop alert "Mem error in work." with the code.
bool CheckMemError(int32_t error);
