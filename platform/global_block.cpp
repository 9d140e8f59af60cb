#include "platform/global_block.h"

#include <cstdint>
#include <cstdlib>

#include "foundation/handle.h"

struct GlobalBlockRec {
    uint8_t* bytes;
    size_t size;
    uint32_t locks;
};

GlobalBlock GlobalBlockAlloc(uint32_t, size_t bytes)
{
    // The memory layer's allocator, so that its failure injection reaches
    // the clipboard and imaging paths too.
    if (bytes == 0 || bytes > UINT32_MAX)
        return nullptr;
    auto* block = static_cast<GlobalBlockRec*>(MemAllocClear(sizeof(GlobalBlockRec)));
    if (!block)
        return nullptr;
    block->bytes = static_cast<uint8_t*>(MemAllocClear(uint32_t(bytes)));
    if (!block->bytes) {
        MemFree(block);
        return nullptr;
    }
    block->size = bytes;
    return block;
}

uint8_t* GlobalBlockLock(GlobalBlock block)
{
    if (!block)
        return nullptr;
    ++block->locks;
    return block->bytes;
}

bool GlobalBlockUnlock(GlobalBlock block)
{
    if (!block || block->locks == 0)
        return false;
    return --block->locks != 0;
}

size_t GlobalBlockSize(GlobalBlock block) { return block ? block->size : 0; }

uint32_t GlobalBlockLockCount(GlobalBlock block) { return block ? block->locks : 0; }

GlobalBlock GlobalBlockFree(GlobalBlock block)
{
    if (block) {
        MemFree(block->bytes);
        MemFree(block);
    }
    return nullptr;
}
