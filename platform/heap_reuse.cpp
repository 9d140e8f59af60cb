#include "platform/heap_reuse.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepLargeFreedBlocksForReuse()
{
#if defined(__GLIBC__)
    // Both at once: fixing one turns off the library's own adjustment of
    // the other. Blocks up to 32 MiB (its largest setting) come from the
    // heap, and a heap keeps up to 64 MiB free at its top.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}
