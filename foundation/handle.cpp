#include "foundation/handle.h"

#include <cstdlib>
#include <cstring>

namespace {

int32_t g_lastError = kMemNoError;
uint32_t g_serial = 0;
int32_t g_failCountdown = -1;

bool AllocationAllowed()
{
    if (g_failCountdown < 0)
        return true;
    if (g_failCountdown == 0)
        return false;
    --g_failCountdown;
    return true;
}

void* AllocZeroed(size_t n)
{
    if (!AllocationAllowed())
        return nullptr;
    return std::calloc(1, n ? n : 1);
}

}  // namespace

void MemInjectAllocationFailure(int32_t successes) { g_failCountdown = successes; }

int32_t MemLastError() { return g_lastError; }

Handle HandleNew(uint32_t n)
{
    g_lastError = kMemNoError;
    ++g_serial;
    auto* header = static_cast<HandleRec*>(AllocZeroed(sizeof(HandleRec)));
    if (!header) {
        g_lastError = kMemOutOfMemory;
        return nullptr;
    }
    auto* data = static_cast<uint8_t*>(AllocZeroed(n));
    if (!data) {
        std::free(header);
        g_lastError = kMemOutOfMemory;
        return nullptr;
    }
    header->data = data;
    header->tag = kHandleTag;
    header->size = n;
    header->serial = g_serial;
    return header;
}

Handle HandleNewClear(uint32_t n)
{
    Handle h = HandleNew(n);
    if (h)
        std::memset(h->data, 0, n);
    return h;
}

void HandleFree(Handle h)
{
    g_lastError = kMemNoError;
    if (!h)
        return;
    std::free(h->data);
    std::free(h);
}

uint32_t HandleGetSize(Handle h)
{
    g_lastError = kMemNoError;
    if (!h || !h->data)
        return 0;
    return h->size;
}

int32_t HandleResize(Handle h, int32_t n)
{
    g_lastError = kMemNoError;
    if (n < 0)
        n = 0;
    if (!h)
        return kMemNullHandle;
    const uint32_t newSize = uint32_t(n);
    const uint32_t oldSize = h->data ? h->size : 0;
    uint8_t* block = nullptr;
    if (AllocationAllowed())
        block = static_cast<uint8_t*>(std::realloc(h->data, newSize ? newSize : 1));
    if (!block) {
        g_lastError = kMemOutOfMemory;
        return kMemOutOfMemory;
    }
    if (newSize > oldSize)
        std::memset(block + oldSize, 0, newSize - oldSize);
    h->data = block;
    h->size = newSize;
    return 0;
}

int32_t HandleDuplicate(Handle* variable)
{
    g_lastError = kMemNoError;
    if (!variable || !*variable)
        return g_lastError = kMemNullHandle;
    Handle old = *variable;
    const uint32_t n = HandleGetSize(old);
    Handle copy = HandleNew(n);
    if (!copy)
        return kMemOutOfMemory;
    if (n)
        std::memcpy(copy->data, old->data, n);
    *variable = copy;
    return 0;
}

int32_t HandleAppendHandle(Handle source, Handle destination)
{
    g_lastError = kMemNoError;
    const uint32_t n = HandleGetSize(source);
    return HandleAppendBytes(n ? source->data : nullptr, destination, n);
}

int32_t HandleAppendBytes(const void* source, Handle destination, uint32_t n)
{
    g_lastError = kMemNoError;
    if (!destination)
        return kMemNullHandle;
    const uint32_t old = HandleGetSize(destination);
    if (uint64_t(old) + n > uint64_t(INT32_MAX)) {
        g_lastError = kMemOutOfMemory;
        return kMemOutOfMemory;
    }
    int32_t err = HandleResize(destination, int32_t(old + n));
    if (err)
        return err;
    if (n)
        std::memmove(destination->data + old, source, n);
    return 0;
}

int32_t HandleFromBytes(const void* source, Handle* out, uint32_t n)
{
    Handle h = HandleNew(n);
    if (h && n)
        std::memcpy(h->data, source, n);
    if (out)
        *out = h;
    return g_lastError;
}

void HandleLock(Handle) { g_lastError = kMemNoError; }
void HandleUnlock(Handle) { g_lastError = kMemNoError; }
void HandleKeepLocked() { g_lastError = kMemNoError; }
int32_t HandleGetLockState(Handle)
{
    g_lastError = kMemNoError;
    return 0;
}
void HandleSetLockState(Handle, int32_t) { g_lastError = kMemNoError; }

void* MemAllocClear(uint32_t n)
{
    g_lastError = kMemNoError;
    void* p = AllocZeroed(n);
    if (!p)
        g_lastError = kMemOutOfMemory;
    return p;
}

int32_t MemFree(void* block)
{
    g_lastError = kMemNoError;
    std::free(block);
    return 0;
}

void MemMove(const void* source, void* destination, uint32_t n)
{
    g_lastError = kMemNoError;
    if (n)
        std::memmove(destination, source, n);
}

int16_t MemCompare(const void* a, const void* b, uint32_t n)
{
    g_lastError = kMemNoError;
    const auto* pa = static_cast<const uint8_t*>(a);
    const auto* pb = static_cast<const uint8_t*>(b);
    for (uint32_t i = 0; i < n; ++i) {
        if (pa[i] != pb[i])
            return pa[i] > pb[i] ? 1 : 2;
    }
    return 0;
}

void MemZero(void* block, int32_t n)
{
    g_lastError = kMemNoError;
    if (n > 0)
        std::memset(block, 0, size_t(n));
}

uint32_t MemFitToAvailable(uint32_t* requested)
{
    // Linux overcommits and reports no meaningful "free physical memory";
    // the request is always granted and the caller's own cap applies.
    g_lastError = kMemNoError;
    return requested ? *requested : 0;
}
