#include "graphics/quick_card_block.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "foundation/byte_order.h"
#include "graphics/quick_card_format.h"

namespace {

int32_t Count(Handle block) { return GetI32LE(HandleData(block) + kQcHeaderCount); }

void SetCount(Handle block, int32_t count) { PutI32LE(HandleData(block) + kQcHeaderCount, count); }

uint32_t ItemSizeAt(Handle block, uint32_t offset) { return GetU32LE(HandleData(block) + offset + kQcItemSize); }

// The size of an item at offset when it is a readable item of the block.
bool ItemFits(Handle block, uint32_t offset, uint32_t* size)
{
    const uint64_t blockSize = HandleGetSize(block);
    if (uint64_t(offset) + 4 > blockSize)
        return false;
    const uint32_t n = ItemSizeAt(block, offset);
    if (n < kQcItemMinSize || n > kQcItemMaxSize || uint64_t(offset) + n > blockSize)
        return false;
    *size = n;
    return true;
}

// The bytes an item Handle contributes: its size field, when that is a
// legal item size the Handle actually holds.
bool InsertableSize(Handle item, uint32_t* size)
{
    if (!item || HandleGetSize(item) < kQcItemMinSize)
        return false;
    const uint32_t n = GetU32LE(HandleData(item) + kQcItemSize);
    if (n < kQcItemMinSize || n > kQcItemMaxSize || n > HandleGetSize(item))
        return false;
    *size = n;
    return true;
}

// Opens (delta > 0) or closes (delta < 0) a gap at offset, moving the bytes
// behind it; the Handle is unchanged when it cannot grow.
bool Reshape(Handle block, uint32_t offset, int64_t delta)
{
    const uint32_t oldSize = HandleGetSize(block);
    const int64_t newSize64 = int64_t(oldSize) + delta;
    if (newSize64 > INT32_MAX)
        return false;
    const uint32_t newSize = uint32_t(newSize64);
    if (delta > 0) {
        if (HandleResize(block, int32_t(newSize)) != 0)
            return false;
        uint8_t* d = HandleData(block);
        MemMove(d + offset, d + offset + delta, oldSize - offset);
    } else if (delta < 0) {
        uint8_t* d = HandleData(block);
        const uint32_t removed = uint32_t(-delta);
        MemMove(d + offset + removed, d + offset, oldSize - offset - removed);
        // A shrink that fails leaves stale bytes behind the items, which
        // no reader looks at.
        HandleResize(block, int32_t(newSize));
    }
    return true;
}

// Changes are made only to blocks whose every item can be read: the end of
// the items is where the walk over all of them arrives.
bool ItemsEnd(Handle block, uint32_t* end)
{
    return QuickCardBlockIsValid(block) && QuickCardItemOffset(block, Count(block), end);
}

}  // namespace

Handle QuickCardBlockNew()
{
    Handle block = HandleNewClear(kQuickCardHeaderSize);
    if (!block)
        return nullptr;
    uint8_t* d = HandleData(block);
    PutU32LE(d + kQcHeaderAlign, kQcAlignLeft);
    PutI32LE(d + kQcHeaderVersion, kQuickCardVersion);
    return block;
}

int32_t QuickCardBlockFree(Handle* variable)
{
    if (!variable || !*variable)
        return 1;
    HandleFree(*variable);
    *variable = nullptr;
    return 0;
}

int32_t QuickCardBlockIsValid(Handle block)
{
    if (!block || !HandleData(block))
        return 0;
    const uint64_t size = HandleGetSize(block);
    if (size < kQuickCardHeaderSize)
        return 0;
    const uint8_t* d = HandleData(block);
    const int32_t count = GetI32LE(d + kQcHeaderCount);
    if (GetI32LE(d + kQcHeaderVersion) != kQuickCardVersion || count < 0)
        return 0;
    const uint64_t least = count == 0 ? 0 : uint64_t(kQcItemMinSize) * uint64_t(count - 1);
    return size >= kQuickCardHeaderSize + least ? 1 : 0;
}

int32_t QuickCardBlockItemValid(Handle block, const uint8_t* item)
{
    if (!QuickCardBlockIsValid(block) || !item)
        return 0;
    const uint8_t* d = HandleData(block);
    const uint8_t* end = d + HandleGetSize(block);
    if (item < d + kQuickCardHeaderSize || item >= end)
        return 0;
    uint32_t size = 0;
    return ItemFits(block, uint32_t(item - d), &size) ? 1 : 0;
}

int32_t QuickCardBlockIndexValid(Handle block, int32_t n)
{
    return QuickCardBlockIsValid(block) && n >= 0 && n < Count(block) ? 1 : 0;
}

bool QuickCardItemOffset(Handle block, int32_t n, uint32_t* offset)
{
    if (!QuickCardBlockIsValid(block) || n < 0 || n > Count(block))
        return false;
    uint32_t at = kQuickCardHeaderSize;
    uint32_t size = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (!ItemFits(block, at, &size))
            return false;
        at += size;
    }
    if (n < Count(block) && !ItemFits(block, at, &size))
        return false;
    *offset = at;
    return true;
}

uint8_t* QuickCardBlockGetItem(Handle block, int32_t n)
{
    uint32_t offset = 0;
    return QuickCardItemOffset(block, n, &offset) ? HandleData(block) + offset : nullptr;
}

int32_t QuickCardBlockCopyItem(Handle block, Handle target, int32_t n)
{
    uint32_t offset = 0;
    if (!target || !QuickCardBlockIndexValid(block, n) || !QuickCardItemOffset(block, n, &offset))
        return 1;
    const uint32_t size = ItemSizeAt(block, offset);
    if (HandleResize(target, int32_t(size)) != 0)
        return 1;
    std::memcpy(HandleData(target), HandleData(block) + offset, size);
    return 0;
}

Handle QuickCardItemNew()
{
    Handle item = HandleNewClear(kQcItemMinSize);
    if (item)
        PutU32LE(HandleData(item) + kQcItemSize, kQcItemMinSize);
    return item;
}

int32_t QuickCardItemSetText(Handle item, const char* text, int32_t length)
{
    if (!item)
        return 1;
    const int32_t n = text ? int32_t(::strnlen(text, size_t(std::clamp(length, 0, kQcItemMaxText)))) : 0;
    // Every piece, the empty one too, is a legal item of at least 52 bytes.
    const uint32_t size = uint32_t(n) + kQcItemMinSize;
    if (HandleResize(item, int32_t(size)) != 0)
        return 1;
    uint8_t* d = HandleData(item);
    std::memset(d + kQcItemText, 0, size - kQcItemText);
    if (n > 0)
        std::memcpy(d + kQcItemText, text, size_t(n));
    PutU32LE(d + kQcItemSize, size);
    return 0;
}

int32_t QuickCardBlockInsertItem(Handle block, Handle item, int32_t n)
{
    uint32_t size = 0, end = 0;
    if (!ItemsEnd(block, &end) || !InsertableSize(item, &size))
        return 1;
    const int32_t count = Count(block);
    if (count >= kQuickCardMaxItems)
        return 1;
    uint32_t at = end;
    if (n < 0)
        at = kQuickCardHeaderSize;
    else if (n < count && !QuickCardItemOffset(block, n, &at))
        return 1;
    if (!Reshape(block, at, size))
        return 1;
    std::memcpy(HandleData(block) + at, HandleData(item), size);
    SetCount(block, count + 1);
    return 0;
}

int32_t QuickCardBlockAppendItem(Handle block, Handle item) { return QuickCardBlockInsertItem(block, item, 32000); }

int32_t QuickCardBlockDeleteItem(Handle block, int32_t n)
{
    uint32_t end = 0;
    if (!ItemsEnd(block, &end))
        return 1;
    const int32_t count = Count(block);
    if (count == 0)
        return 0;
    n = std::clamp(n, 0, count - 1);
    uint32_t at = 0;
    if (!QuickCardItemOffset(block, n, &at))
        return 1;
    const uint32_t size = ItemSizeAt(block, at);
    Reshape(block, at, -int64_t(size));
    SetCount(block, count - 1);
    return 0;
}

int32_t QuickCardBlockReplaceItem(Handle block, Handle item, int32_t n)
{
    uint32_t size = 0, at = 0, end = 0;
    if (!ItemsEnd(block, &end) || !QuickCardBlockIndexValid(block, n) || !InsertableSize(item, &size) ||
        !QuickCardItemOffset(block, n, &at))
        return 1;
    // In one step, so that a failure to grow leaves the old item in place.
    const uint32_t oldSize = ItemSizeAt(block, at);
    if (!Reshape(block, at + std::min(oldSize, size), int64_t(size) - int64_t(oldSize)))
        return 1;
    std::memcpy(HandleData(block) + at, HandleData(item), size);
    return 0;
}

int32_t QuickCardBlockMoveItem(Handle block, int32_t from, int32_t to)
{
    uint32_t fromAt = 0, toAt = 0, end = 0;
    if (!ItemsEnd(block, &end) || !QuickCardBlockIndexValid(block, from) || !QuickCardBlockIndexValid(block, to) ||
        !QuickCardItemOffset(block, from, &fromAt) || !QuickCardItemOffset(block, to, &toAt))
        return 1;
    if (from == to)
        return 0;
    // A rotation inside the block needs no memory, so the item cannot be
    // lost half way as a delete followed by an insert could lose it.
    uint8_t* d = HandleData(block);
    const uint32_t fromEnd = fromAt + ItemSizeAt(block, fromAt);
    if (from < to)
        std::rotate(d + fromAt, d + fromEnd, d + toAt + ItemSizeAt(block, toAt));
    else
        std::rotate(d + toAt, d + fromAt, d + fromEnd);
    return 0;
}

int32_t QuickCardBlockSetAlign(Handle block, int32_t alignment)
{
    if (!QuickCardBlockIsValid(block))
        return 1;
    PutI32LE(HandleData(block) + kQcHeaderAlign, alignment);
    return 0;
}

int32_t QuickCardBlockSetItemFlags(Handle block, uint16_t bits, int32_t set)
{
    uint32_t end = 0;
    if (!ItemsEnd(block, &end))
        return 1;
    uint8_t* d = HandleData(block);
    for (uint32_t at = kQuickCardHeaderSize; at < end; at += ItemSizeAt(block, at)) {
        uint16_t style = GetU16LE(d + at + kQcItemStyle);
        if (bits == 0)
            style = 0;
        else if (set)
            style |= bits;
        else
            style &= uint16_t(~bits);
        PutU16LE(d + at + kQcItemStyle, style);
    }
    return 0;
}
