#include "frames/quick_card_block_link.h"

#include "foundation/byte_order.h"

namespace {

constexpr size_t kAlignOffset = 0;
constexpr size_t kCountOffset = 8;
constexpr size_t kVersionOffset = 12;

}  // namespace

Handle NewQuickCardBlock()
{
    Handle h = HandleNew(kQuickCardBlockHeaderSize);
    if (h) {
        PutU32LE(HandleData(h) + kAlignOffset, 1);
        PutU32LE(HandleData(h) + kVersionOffset, 1);
    }
    return h;
}

int32_t CheckQuickCardBlock(Handle block)
{
    if (HandleGetSize(block) < kQuickCardBlockHeaderSize)
        return 1;
    const uint8_t* p = HandleData(block);
    const int32_t count = GetI32LE(p + kCountOffset);
    const uint32_t version = GetU32LE(p + kVersionOffset);
    // Blocks of the older layout are kept as they are, to be converted by
    // the code that lays them out.
    return count >= 0 && version <= 1 ? 0 : 1;
}
