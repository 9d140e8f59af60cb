// Blocks of the older item layout (integers for the spacing, no separator
// flag, text at 40) become current blocks when a document is read.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "foundation/byte_order.h"
#include "graphics/quick_card_block.h"
#include "graphics/quick_card_format.h"

namespace {

// The older layout put no space between the city and a piece that follows
// it on the same line: that piece kept its own gap (the comma style of
// "City, ST").
constexpr int32_t kNoSpaceAfterField = 8;

// A block of the older layout that can be walked: every one of its items
// of 44-107 bytes and inside the block. Gives the size the block takes in
// the current layout.
bool MeasureOldBlock(const uint8_t* d, uint32_t size, uint32_t* newSize)
{
    if (size < kQuickCardHeaderSize)
        return false;
    const int32_t count = GetI32LE(d + kQcHeaderCount);
    if (GetI32LE(d + kQcHeaderVersion) != kQuickCardOldVersion || count < 0)
        return false;
    const uint64_t least = count == 0 ? 0 : uint64_t(kQcOldItemMinSize) * uint64_t(count - 1);
    if (size < kQuickCardHeaderSize + least)
        return false;
    uint64_t total = kQuickCardHeaderSize;
    uint32_t at = kQuickCardHeaderSize;
    for (int32_t i = 0; i < count; ++i) {
        if (uint64_t(at) + 4 > size)
            return false;
        const uint32_t n = GetU32LE(d + at + kQcOldItemSize);
        if (n < kQcOldItemMinSize || n > kQcOldItemMaxSize || uint64_t(at) + n > size)
            return false;
        const size_t bound = std::min<size_t>(kQcItemMaxText, n - kQcOldItemText);
        total += ::strnlen(reinterpret_cast<const char*>(d + at + kQcOldItemText), bound) + kQcItemMinSize;
        at += n;
    }
    if (total > INT32_MAX)
        return false;
    *newSize = uint32_t(total);
    return true;
}

}  // namespace

int32_t QuickCardBlockConvertOld(Handle block)
{
    if (QuickCardBlockIsValid(block))
        return 0;
    if (!block || !HandleData(block))
        return 1;
    const uint32_t oldSize = HandleGetSize(block);
    uint32_t newSize = 0;
    if (!MeasureOldBlock(HandleData(block), oldSize, &newSize))
        return 1;

    // Built aside, so that the block stays as it was when memory runs out.
    HandleOwner fresh(HandleNewClear(newSize));
    if (!fresh)
        return 1;
    const uint8_t* from = HandleData(block);
    uint8_t* to = HandleData(fresh.get());
    std::memcpy(to + kQcHeaderAlign, from + kQcHeaderAlign, 4);
    to[kQcHeaderKeepEmptyPieces] = from[kQcHeaderKeepEmptyPieces];
    to[kQcHeaderKeepEmptyLines] = from[kQcHeaderKeepEmptyLines];
    const int32_t count = GetI32LE(from + kQcHeaderCount);
    PutI32LE(to + kQcHeaderCount, count);
    PutI32LE(to + kQcHeaderVersion, kQuickCardVersion);

    uint32_t in = kQuickCardHeaderSize, out = kQuickCardHeaderSize;
    int32_t previousField = -1;
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* o = from + in;
        uint8_t* n = to + out;
        const uint32_t oldItemSize = GetU32LE(o + kQcOldItemSize);
        const size_t bound = std::min<size_t>(kQcItemMaxText, oldItemSize - kQcOldItemText);
        const size_t length = ::strnlen(reinterpret_cast<const char*>(o + kQcOldItemText), bound);
        const uint32_t itemSize = uint32_t(length) + kQcItemMinSize;

        const int32_t field = GetI32LE(o + kQcOldItemField);
        PutU32LE(n + kQcItemSize, itemSize);
        PutI32LE(n + kQcItemField, field);
        PutF32LE(n + kQcItemGap, float(GetI32LE(o + kQcOldItemGap)));
        PutF32LE(n + kQcItemSpaceAbove, float(GetI32LE(o + kQcOldItemSpaceAbove)));
        for (size_t w = 0; w < 7; ++w)
            PutU16LE(n + kQcWordsMovedByConversion[w], GetU16LE(o + kQcOldItemWords + 2 * w));
        const bool spaceless = previousField == kNoSpaceAfterField && GetU16LE(n + kQcItemNewLine) == 0;
        PutU16LE(n + kQcItemSeparator, spaceless ? 0 : 1);
        std::memcpy(n + kQcItemText, o + kQcOldItemText, length);

        previousField = field;
        in += oldItemSize;
        out += itemSize;
    }

    if (HandleResize(block, int32_t(newSize)) != 0)
        return 1;
    std::memcpy(HandleData(block), HandleData(fresh.get()), newSize);
    return 0;
}
