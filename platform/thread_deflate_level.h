// The zlib level of the streams a thread compresses without choosing one.
#pragma once

// While one lives, every zlib stream this thread begins at the library's
// default level is begun at `level` instead; a stream whose caller names a
// level keeps it, and other threads are left alone.
//
// Qt's PDF writer compresses every page and picture at zlib's default
// level and offers no choice. On the path-heavy pages of a card sheet that
// level spends several times the CPU of the fastest one, for a file about
// a fifth smaller, and it was half of what a long PDF print cost: the
// printing workers ask for the fastest.
class ThreadDeflateLevel {
public:
    explicit ThreadDeflateLevel(int level);
    ~ThreadDeflateLevel();
    ThreadDeflateLevel(const ThreadDeflateLevel&) = delete;
    ThreadDeflateLevel& operator=(const ThreadDeflateLevel&) = delete;

private:
    int previous_;
};
