#include "frames/paragraph_text.h"

#include <cstring>

#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "frames/tab_stops.h"

ParagraphText::ParagraphText(Handle handle, uint8_t flags) : handle_(handle), flags_(flags) { Relayout(); }

void ParagraphText::Relayout()
{
    valid_ = handle_ != nullptr && LayOutParagraphText(handle_, flags_, &layout_);
}

void ParagraphText::SetStyleId(uint32_t id)
{
    if (!valid_)
        return;
    PutU32LE(HandleData(handle_) + kParagraphStyleOffset, id);
    layout_.styleId = id;
}

uint8_t ParagraphText::Char(int32_t i) const
{
    if (!valid_ || i < 0 || i >= layout_.textLength)
        return 0;
    return HandleData(handle_)[layout_.textOffset + uint32_t(i)];
}

void ParagraphText::SetChar(uint16_t i, uint8_t ch)
{
    if (valid_ && i < layout_.textLength)
        HandleData(handle_)[layout_.textOffset + i] = ch;
}

uint8_t* ParagraphText::Chars() { return valid_ ? HandleData(handle_) + layout_.textOffset : nullptr; }
const uint8_t* ParagraphText::Chars() const { return valid_ ? HandleData(handle_) + layout_.textOffset : nullptr; }

uint32_t ParagraphText::Capacity() const { return valid_ ? HandleGetSize(handle_) - layout_.textOffset : 0; }

uint8_t* ParagraphText::OverrideBlock()
{
    return valid_ && layout_.overrideOffset ? HandleData(handle_) + layout_.overrideOffset : nullptr;
}
const uint8_t* ParagraphText::OverrideBlock() const
{
    return valid_ && layout_.overrideOffset ? HandleData(handle_) + layout_.overrideOffset : nullptr;
}
uint8_t* ParagraphText::TabBlock()
{
    return valid_ && layout_.tabOffset ? HandleData(handle_) + layout_.tabOffset : nullptr;
}
const uint8_t* ParagraphText::TabBlock() const
{
    return valid_ && layout_.tabOffset ? HandleData(handle_) + layout_.tabOffset : nullptr;
}
uint8_t* ParagraphText::RunTable() { return valid_ ? HandleData(handle_) + layout_.runOffset : nullptr; }
const uint8_t* ParagraphText::RunTable() const { return valid_ ? HandleData(handle_) + layout_.runOffset : nullptr; }

bool ParagraphText::ReserveText(uint32_t n)
{
    if (!valid_)
        return false;
    const uint32_t size = HandleGetSize(handle_);
    if (size - layout_.textOffset > n + layout_.textLength)
        return true;
    const uint32_t grow = n <= kParagraphCapacityStep ? kParagraphCapacityStep : ((n >> 8) + 1) * kParagraphCapacityStep;
    if (HandleResize(handle_, int32_t(size + grow)) != 0)
        return false;
    Relayout();
    return true;
}

void ParagraphText::TrimText(uint32_t n)
{
    if (!valid_ || n == 0)
        return;
    const uint32_t size = HandleGetSize(handle_);
    const uint32_t capacity = size - layout_.textOffset;
    if (layout_.textLength < n || !(layout_.textLength - n + kParagraphCapacityStep < capacity))
        return;
    const uint32_t k = n <= kParagraphCapacityStep ? 1 : (n >> 8) - 1;
    const uint32_t shrink = k * kParagraphCapacityStep;
    if (shrink == 0 || size < shrink + kParagraphCapacityStep)
        return;
    // The characters still in use always stay inside the Handle: the
    // condition above leaves more than 256 spare bytes.
    if (HandleResize(handle_, int32_t(size - shrink)) == 0)
        Relayout();
}

bool ParagraphText::InsertBytes(uint16_t p, const uint8_t* source, uint32_t n)
{
    if (!valid_ || p > layout_.textLength || layout_.textLength + n > kParagraphMaxLength)
        return false;
    if (n == 0)
        return true;
    if (!ReserveText(n))
        return false;
    uint8_t* text = Chars();
    std::memmove(text + p + n, text + p, layout_.textLength - p);
    std::memcpy(text + p, source, n);
    layout_.textLength = uint16_t(layout_.textLength + n);
    PutU16LE(HandleData(handle_) + kParagraphLengthOffset, layout_.textLength);
    return true;
}

uint32_t ParagraphText::DeleteChars(uint16_t from, uint16_t to, bool forward)
{
    const uint32_t length = Length();
    if (length == 0 || from > length - 1 || from > to)
        return 0;
    const uint32_t keep = forward ? 2 : 1;
    uint8_t* text = Chars();
    uint32_t removed = 0;
    if (length >= keep && to <= length - keep) {
        removed = uint32_t(to) - from + 1;
        std::memmove(text + from, text + to + 1, length - to - 1);
    } else if (from != to) {
        // The range reaches the end mark: everything up to it goes and the
        // mark moves down to from.
        removed = length - 1 - from;
        text[from] = text[length - 1];
    }
    if (removed == 0)
        return 0;
    layout_.textLength = uint16_t(length - removed);
    PutU16LE(HandleData(handle_) + kParagraphLengthOffset, layout_.textLength);
    // TrimText reads the length before the deletion.
    layout_.textLength = uint16_t(length);
    TrimText(removed);
    Relayout();
    return removed;
}

bool ParagraphText::InsertRegion(uint32_t offset, uint32_t n)
{
    if (!valid_ || offset > UsedBytes())
        return false;
    if (n == 0)
        return true;
    const uint32_t size = HandleGetSize(handle_);
    const uint32_t used = UsedBytes();
    if (HandleResize(handle_, int32_t(size + n)) != 0)
        return false;
    uint8_t* p = HandleData(handle_);
    std::memmove(p + offset + n, p + offset, used - offset);
    std::memset(p + offset, 0, n);
    return true;
}

void ParagraphText::RemoveRegion(uint32_t offset, uint32_t n)
{
    if (!valid_ || n == 0 || offset + n > UsedBytes())
        return;
    const uint32_t size = HandleGetSize(handle_);
    const uint32_t used = UsedBytes();
    uint8_t* p = HandleData(handle_);
    std::memmove(p + offset, p + offset + n, used - offset - n);
    HandleResize(handle_, int32_t(size - n));
}

void ParagraphText::SetRunTableSize(uint16_t size)
{
    if (!handle_)
        return;
    PutU16LE(HandleData(handle_) + kParagraphRunSizeOffset, size);
    Relayout();
}

void ParagraphText::SetFlags(uint8_t flags)
{
    flags_ = flags;
    Relayout();
}

bool ParagraphText::AddOverrideBlock()
{
    if (!valid_)
        return false;
    if (layout_.overrideOffset)
        return true;
    if (!InsertRegion(kParagraphHeaderSize, kOverrideBlockSize))
        return false;
    SetFlags(uint8_t(flags_ | kParaHasOverride));
    return true;
}

void ParagraphText::RemoveOverrideBlock()
{
    if (!valid_ || !layout_.overrideOffset)
        return;
    RemoveRegion(layout_.overrideOffset, kOverrideBlockSize);
    SetFlags(uint8_t(flags_ & ~kParaHasOverride));
}

bool ParagraphText::AddTabBlock()
{
    if (!valid_)
        return false;
    if (layout_.tabOffset)
        return true;
    const uint32_t at = layout_.runOffset;
    if (!InsertRegion(at, kParagraphTabBlockSize))
        return false;
    ClearTabBlock(HandleData(handle_) + at);
    SetFlags(uint8_t(flags_ | kParaHasTabs));
    return true;
}

void ParagraphText::RemoveTabBlock()
{
    if (!valid_ || !layout_.tabOffset)
        return;
    RemoveRegion(layout_.tabOffset, kParagraphTabBlockSize);
    SetFlags(uint8_t(flags_ & ~kParaHasTabs));
}

bool CheckMemError(int32_t error)
{
    if (error == 0)
        return true;
    AlertStop("Mem error in work.", error);
    return false;
}
