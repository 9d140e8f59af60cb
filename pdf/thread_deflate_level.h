// How the zlib streams a thread compresses without choosing a level are
// compressed.
//
// What it changes, for the whole process: thread_deflate_level.cpp defines
// zlib's deflateInit_, deflate and deflateEnd itself, and the dynamic
// linker binds every library of the process (Qt, qpdf, libpng, libcups,
// zlib's own compress2) to these definitions before libz's. Only one kind
// of stream is handled here: one begun at the default level, with zlib's
// own allocator, on a thread while a ThreadDeflateLevel lives there. In
// the running program those are the PDF page farm's painting workers
// (pdf_page_farm.cpp), nothing else. Every other call, on every other
// thread and on those threads for a stream that names its level, goes
// straight on to zlib's own function, so its stream is byte for byte what
// zlib makes (the suite holds a PNG Qt writes and a PDF qpdf writes on
// another thread meanwhile against zlib itself).
//
// Why: Qt's PDF writer compresses every page, picture and font at zlib's
// default level and offers no choice: a page's content in pieces, pictures
// and fonts whole. On the path-heavy pages of a card sheet that level was
// half of what a long PDF print cost, on the thread that paints the pages.
// The printing workers have pictures and fonts compressed at once, and
// leave the pages' content to be compressed by their span filter
// (pdf_span_filter.h), as each page is made anew there.
#pragma once

// While one lives, every zlib stream this thread begins at the library's
// default level is gathered whole and compressed at once by libdeflate, in
// zlib's own format, when its caller finishes it: at `level` (0 to 12; 0
// stores it as it is) when it is handed over whole at once (qCompress,
// compress2), at `piecewiseLevel` when it is fed in pieces (at 0 it is
// not gathered but stored piece by piece as it comes). A stream whose
// caller names a level, or brings its own allocator, is zlib's as usual,
// and other threads are left alone.
class ThreadDeflateLevel {
public:
    ThreadDeflateLevel(int level, int piecewiseLevel);
    ~ThreadDeflateLevel();
    ThreadDeflateLevel(const ThreadDeflateLevel&) = delete;
    ThreadDeflateLevel& operator=(const ThreadDeflateLevel&) = delete;

private:
    int previous_, previousPiecewise_;
};

struct libdeflate_compressor;

// This thread's libdeflate compressor at `level` (0 to 12; null beyond),
// made at its first use and kept for the thread's life: making one costs
// about what compressing a small stream does, and it holds 650 KB (9 MB
// beyond level 9), so a thread that compresses pages' content and
// pictures at one level does both with one.
libdeflate_compressor* ThreadCompressor(int level);
// Frees this thread's compressors: for a thread whose compressing is done
// but that goes on (or gives its memory back before it ends).
void FreeThreadCompressors();
