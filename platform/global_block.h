// Movable shared memory blocks: the form in which a packed bitmap passes
// to the clipboard and to the imaging code.
//
// A block is allocated, locked to reach its bytes, unlocked and freed by
// whoever owns it at the time; handing a block to an operation that "takes
// ownership" passes the duty to free it. The bytes never move, so locking
// only counts; the count is kept so that code written in the lock/unlock
// style can be checked for balance.
#pragma once

#include <cstddef>
#include <cstdint>

struct GlobalBlockRec;
using GlobalBlock = GlobalBlockRec*;

// Allocation flags as the callers pass them; all blocks are movable and
// shareable here, and every block starts zero-filled.
enum : uint32_t {
    kGlobalMoveable = 0x0002,
    kGlobalZeroInit = 0x0040,
    kGlobalShare = 0x2000,
};

// Null when the memory cannot be had (also for 0 bytes).
GlobalBlock GlobalBlockAlloc(uint32_t flags, size_t bytes);
// The block's bytes; null for a null block.
uint8_t* GlobalBlockLock(GlobalBlock block);
// False once the lock count is back to 0.
bool GlobalBlockUnlock(GlobalBlock block);
size_t GlobalBlockSize(GlobalBlock block);
uint32_t GlobalBlockLockCount(GlobalBlock block);
// Frees the block (null allowed) and returns null.
GlobalBlock GlobalBlockFree(GlobalBlock block);

// Frees a block at the end of a scope unless it was released.
class GlobalBlockOwner {
public:
    explicit GlobalBlockOwner(GlobalBlock block = nullptr) : block_(block) {}
    ~GlobalBlockOwner() { GlobalBlockFree(block_); }
    GlobalBlockOwner(const GlobalBlockOwner&) = delete;
    GlobalBlockOwner& operator=(const GlobalBlockOwner&) = delete;

    GlobalBlock get() const { return block_; }
    GlobalBlock release()
    {
        GlobalBlock b = block_;
        block_ = nullptr;
        return b;
    }
    void reset(GlobalBlock block = nullptr)
    {
        if (block != block_)
            GlobalBlockFree(block_);
        block_ = block;
    }
    explicit operator bool() const { return block_ != nullptr; }

private:
    GlobalBlock block_;
};
