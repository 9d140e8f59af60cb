// Relocatable memory handles.
//
// Variable-sized data lives in a Handle: a small header that owns one
// separately allocated data block. Holders keep the header; the block behind
// it may be replaced when it is resized, so code reaches the data through the
// header each time (HandleData) and never keeps a data pointer across a
// resize.
//
// The layer never throws. Failures are reported by the result and by the
// process-wide MemLastError, which every operation clears on entry.
#pragma once

#include <cstdint>

struct HandleRec {
    uint8_t* data;    // the data block; null only after a failed operation
    uint32_t tag;     // kHandleTag, written at creation and never tested
    uint32_t size;    // logical size in bytes as last requested
    uint32_t serial;  // creation counter value; nothing reads it
};
using Handle = HandleRec*;

constexpr uint32_t kHandleTag = 0x484E444C;  // "HNDL"

enum : int32_t {
    kMemNoError = 0,
    kMemOutOfMemory = -1,
    kMemNullHandle = -2,
};

Handle HandleNew(uint32_t n);
Handle HandleNewClear(uint32_t n);
void HandleFree(Handle h);
uint32_t HandleGetSize(Handle h);
// Growth keeps the old bytes and zero-fills the new ones.
int32_t HandleResize(Handle h, int32_t n);
int32_t HandleDuplicate(Handle* variable);
int32_t HandleAppendHandle(Handle source, Handle destination);
int32_t HandleAppendBytes(const void* source, Handle destination, uint32_t n);
int32_t HandleFromBytes(const void* source, Handle* out, uint32_t n);

// Data never moves; these exist for callers written in lock/unlock style.
void HandleLock(Handle h);
void HandleUnlock(Handle h);
void HandleKeepLocked();
int32_t HandleGetLockState(Handle h);
void HandleSetLockState(Handle h, int32_t state);

int32_t MemLastError();

void* MemAllocClear(uint32_t n);
int32_t MemFree(void* block);
// Source first, destination second; overlapping ranges are allowed.
void MemMove(const void* source, void* destination, uint32_t n);
// 0 when equal; 1 when a's first differing byte is greater, 2 when smaller.
int16_t MemCompare(const void* a, const void* b, uint32_t n);
void MemZero(void* block, int32_t n);
uint32_t MemFitToAvailable(uint32_t* requested);

template <class T = uint8_t>
inline T* HandleData(Handle h)
{
    return h ? reinterpret_cast<T*>(h->data) : nullptr;
}

// Owns a Handle for the length of a scope.
class HandleOwner {
public:
    explicit HandleOwner(Handle h = nullptr) : h_(h) {}
    ~HandleOwner() { HandleFree(h_); }
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;
    HandleOwner(HandleOwner&& o) noexcept : h_(o.release()) {}
    HandleOwner& operator=(HandleOwner&& o) noexcept
    {
        if (this != &o)
            reset(o.release());
        return *this;
    }

    Handle get() const { return h_; }
    Handle* address() { return &h_; }
    Handle release()
    {
        Handle h = h_;
        h_ = nullptr;
        return h;
    }
    void reset(Handle h = nullptr)
    {
        if (h != h_)
            HandleFree(h_);
        h_ = h;
    }
    explicit operator bool() const { return h_ != nullptr; }

private:
    Handle h_;
};

// Fault injection for tests: after `successes` more allocations of this
// layer succeed, every further one fails until the count is reset with -1.
void MemInjectAllocationFailure(int32_t successes);
