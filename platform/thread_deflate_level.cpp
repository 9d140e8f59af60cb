#include "platform/thread_deflate_level.h"

#include <zlib.h>

namespace {

// Z_DEFAULT_COMPRESSION: zlib's own choice.
thread_local int t_defaultLevel = Z_DEFAULT_COMPRESSION;

}  // namespace

ThreadDeflateLevel::ThreadDeflateLevel(int level) : previous_(t_defaultLevel) { t_defaultLevel = level; }

ThreadDeflateLevel::~ThreadDeflateLevel() { t_defaultLevel = previous_; }

// zlib's entry for a stream of the usual window and memory, which Qt's
// writer (and compress2, under qCompress) calls through the dynamic
// linker: the program's definition comes first, so the thread's level can
// stand in for the default. Everything else is what zlib's own does.
extern "C" int deflateInit_(z_streamp strm, int level, const char* version, int streamSize)
{
    if (level == Z_DEFAULT_COMPRESSION)
        level = t_defaultLevel;
    return deflateInit2_(strm, level, Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY, version, streamSize);
}
