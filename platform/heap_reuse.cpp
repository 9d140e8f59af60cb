#include "platform/heap_reuse.h"

#if defined(__GLIBC__)
#include <malloc.h>

#include <cstdlib>
#include <mutex>
#endif

namespace {

// The free top a heap keeps rather than giving it back.
constexpr int kKeptTop = 64 * 1024 * 1024;

}  // namespace

void KeepLargeFreedBlocksForReuse()
{
#if defined(__GLIBC__)
    // Both at once: fixing one turns off the library's own adjustment of
    // the other. Blocks up to 32 MiB (its largest setting) come from the
    // heap, and a heap keeps up to 64 MiB free at its top.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, kKeptTop);
#endif
}

void GiveBackThreadHeapTop()
{
#if defined(__GLIBC__)
    // A thread's own heap (64 MiB at most, so never above the kept top)
    // gives its top back only as a block of 64 KiB or more is freed into it
    // while the top is over the threshold: for that moment there is none.
    // The threshold is the whole process's, but only frees on other threads
    // in that moment see it, and all they do is give their heap's free top
    // back too.
    constexpr size_t kTrimmingFree = 64 * 1024;
    // One thread at a time: another's setting the threshold back would
    // keep this one's top.
    static std::mutex giving;
    const std::lock_guard<std::mutex> lock(giving);
    mallopt(M_TRIM_THRESHOLD, 0);
    void* volatile block = std::malloc(kTrimmingFree);
    std::free(block);
    mallopt(M_TRIM_THRESHOLD, kKeptTop);
#endif
}

void GiveBackFreedHeapMemory()
{
#if defined(__GLIBC__)
    // malloc_trim gives back the free pages inside every heap but the free
    // top of the main thread's heap only.
    GiveBackThreadHeapTop();
    malloc_trim(0);
#endif
}
