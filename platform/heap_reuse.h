// How the C library's heap treats large blocks freed by long jobs.
#pragma once

// Keeps large freed blocks in the heap for the next use instead of giving
// them back to the kernel at once. Call first thing in main(), before any
// thread starts.
//
// The PDF writer takes a 16 MiB buffer for every page it compresses and
// frees it straight after. On a thread of its own (the printing workers)
// the C library hands that memory back after every page and the kernel
// zeroes it again on the next, which cost a tenth of a long print's CPU.
// Only pages a block really touched stay resident, so memory use stays
// about the same.
void KeepLargeFreedBlocksForReuse();

// Gives back to the kernel the memory the heaps hold free: the free pages
// within every heap, and the free end of the calling thread's own heap,
// which is otherwise kept (see above) for as long as the process lives.
// For a thread whose long job is done, as it ends: a thread's heap is its
// own, so what it kept free would serve only the next job's thread.
void GiveBackFreedHeapMemory();

// Gives back to the kernel only the free end of the calling thread's own
// heap: cheap enough (it walks no heap) for a long job's thread to call
// now and then, so that what a few large pages left free is not held to
// the job's end.
void GiveBackThreadHeapTop();
