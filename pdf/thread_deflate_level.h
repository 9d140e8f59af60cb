// How the zlib streams a thread compresses without choosing a level are
// compressed.
#pragma once

// While one lives, every zlib stream this thread begins at the library's
// default level is gathered whole and compressed at once by libdeflate, in
// zlib's own format, when its caller finishes it: at `level` (0 to 12; 0
// stores it as it is) when it is handed over whole at once (qCompress,
// compress2), at `piecewiseLevel` when it is fed in pieces (at 0 it is
// not gathered but stored piece by piece as it comes). A stream whose
// caller names a level, or brings its own allocator, is zlib's as usual,
// and other threads are left alone.
//
// Qt's PDF writer compresses every page, picture and font at zlib's
// default level and offers no choice: a page's content in pieces, pictures
// and fonts whole. On the path-heavy pages of a card sheet that level was
// half of what a long PDF print cost, on the thread that paints the pages.
// The printing workers have pictures and fonts compressed at once, and
// leave the pages' content to be compressed by the threads of their span
// filter (pdf_span_filter.h), beside the painting.
class ThreadDeflateLevel {
public:
    ThreadDeflateLevel(int level, int piecewiseLevel);
    ~ThreadDeflateLevel();
    ThreadDeflateLevel(const ThreadDeflateLevel&) = delete;
    ThreadDeflateLevel& operator=(const ThreadDeflateLevel&) = delete;

private:
    int previous_, previousPiecewise_;
};
