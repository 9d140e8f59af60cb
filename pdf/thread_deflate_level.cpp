#include "pdf/thread_deflate_level.h"

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <unordered_set>

#include <libdeflate.h>
#include <zlib.h>

namespace {

// -1: zlib's own way.
thread_local int t_level = -1;
thread_local int t_piecewiseLevel = -1;

// A stream compressed whole: what it was given until it was finished, then
// what it gives back.
struct WholeStream {
    int level = 0;
    int piecewiseLevel = 0;
    std::string input;
    std::string output;
    size_t sent = 0;
    bool packed = false;
    // Stored as it comes rather than gathered: the header, block heads and
    // check not yet sent, and whether the last block is written.
    bool storing = false;
    bool stored = false;
    std::string pending;
};

// The streams begun here, by their state: deflate() and deflateEnd() see
// every stream of the process, zlib's own among them, from its first
// static constructor to its last destructor (so the set is never freed).
std::mutex g_wholeStreamsMutex;

std::unordered_set<const void*>& WholeStreams()
{
    static auto* streams = new std::unordered_set<const void*>;
    return *streams;
}

WholeStream* WholeStreamOf(z_streamp strm)
{
    if (!strm || !strm->state)
        return nullptr;
    std::lock_guard<std::mutex> lock(g_wholeStreamsMutex);
    return WholeStreams().count(strm->state) ? reinterpret_cast<WholeStream*>(strm->state) : nullptr;
}

// zlib's own definition of `name`: the next one after this program's, or,
// where the program's comes after zlib's, zlib's by its library.
void* ZlibOwn(const char* name)
{
    if (void* own = ::dlsym(RTLD_NEXT, name))
        return own;
    void* zlib = ::dlopen("libz.so.1", RTLD_LAZY | RTLD_NOLOAD);
    return zlib ? ::dlsym(zlib, name) : nullptr;
}

void SendWholeOutput(z_streamp strm, WholeStream* whole)
{
    const size_t n = std::min<size_t>(strm->avail_out, whole->output.size() - whole->sent);
    std::memcpy(strm->next_out, whole->output.data() + whole->sent, n);
    whole->sent += n;
    strm->next_out += n;
    strm->avail_out -= uInt(n);
    strm->total_out += uLong(n);
}

void TakeWholeInput(z_streamp strm, WholeStream* whole)
{
    whole->input.append(reinterpret_cast<const char*>(strm->next_in), strm->avail_in);
    strm->next_in += strm->avail_in;
    strm->total_in += strm->avail_in;
    strm->avail_in = 0;
}

// The stream finished: compressed straight into the caller's room when it
// is given whole at once and fits (as compress2 gives it), else what it
// gathered, into its own, to be sent as the caller makes room.
int PackWholeStream(z_streamp strm, WholeStream* whole)
{
    const bool atOnce = whole->input.empty() && strm->total_in == 0;
    libdeflate_compressor* packer = ThreadCompressor(atOnce ? whole->level : whole->piecewiseLevel);
    if (!packer)
        return Z_MEM_ERROR;
    whole->packed = true;
    if (atOnce && strm->avail_out > 0) {
        const size_t size = strm->avail_in;
        const size_t n = libdeflate_zlib_compress(packer, strm->next_in, size, strm->next_out, strm->avail_out);
        if (n > 0) {
            strm->adler = uLong(libdeflate_adler32(1, strm->next_in, size));
            strm->next_in += size;
            strm->avail_in = 0;
            strm->total_in += uLong(size);
            strm->next_out += n;
            strm->avail_out -= uInt(n);
            strm->total_out += uLong(n);
            return Z_STREAM_END;
        }
    }
    TakeWholeInput(strm, whole);
    strm->adler = uLong(libdeflate_adler32(1, whole->input.data(), whole->input.size()));
    whole->output.resize(libdeflate_zlib_compress_bound(packer, whole->input.size()));
    whole->output.resize(libdeflate_zlib_compress(packer, whole->input.data(), whole->input.size(),
                                                  whole->output.data(), whole->output.size()));
    std::string().swap(whole->input);
    if (whole->output.empty())
        return Z_STREAM_ERROR;
    if (strm->avail_out == 0)
        return Z_BUF_ERROR;
    SendWholeOutput(strm, whole);
    return whole->sent == whole->output.size() ? Z_STREAM_END : Z_OK;
}

void SendPending(z_streamp strm, WholeStream* whole)
{
    const size_t n = std::min<size_t>(strm->avail_out, whole->pending.size());
    std::memcpy(strm->next_out, whole->pending.data(), n);
    whole->pending.erase(0, n);
    strm->next_out += n;
    strm->avail_out -= uInt(n);
    strm->total_out += uLong(n);
}

// A stored block of the next `n` input bytes, its head first: straight
// into the caller's room, or, where that is too small for any data, into
// the pending bytes.
void StoreBlock(z_streamp strm, WholeStream* whole, size_t n, bool direct)
{
    const unsigned char head[5] = {0, uint8_t(n), uint8_t(n >> 8), uint8_t(~n), uint8_t(~n >> 8)};
    if (direct) {
        std::memcpy(strm->next_out, head, 5);
        std::memcpy(strm->next_out + 5, strm->next_in, n);
        strm->next_out += n + 5;
        strm->avail_out -= uInt(n + 5);
        strm->total_out += uLong(n + 5);
    } else {
        whole->pending.append(reinterpret_cast<const char*>(head), 5);
        whole->pending.append(reinterpret_cast<const char*>(strm->next_in), n);
    }
    strm->adler = uLong(libdeflate_adler32(uint32_t(strm->adler), strm->next_in, n));
    strm->next_in += n;
    strm->avail_in -= uInt(n);
    strm->total_in += uLong(n);
}

// A stream fed in pieces at level 0, stored piece by piece as it comes:
// the page's content is passed on as it is, to be made anew elsewhere, and
// is not copied twice more on the way.
int StoreStream(z_streamp strm, WholeStream* whole, int flush)
{
    constexpr size_t kMostBlock = 65535, kBlockHead = 5, kSmallBlock = 64;
    if (whole->stored && strm->avail_in > 0)
        return Z_STREAM_ERROR;
    if (!whole->storing) {
        whole->storing = true;
        whole->pending.assign("\x78\x01", 2);  // zlib's header: no dictionary, fastest
    }
    for (;;) {
        SendPending(strm, whole);
        if (!whole->pending.empty())
            return Z_OK;  // the caller's room is full
        if (strm->avail_in > 0) {
            const size_t n = std::min<size_t>(strm->avail_in, kMostBlock);
            if (strm->avail_out > kBlockHead)
                StoreBlock(strm, whole, std::min<size_t>(n, strm->avail_out - kBlockHead), true);
            else
                StoreBlock(strm, whole, std::min(n, kSmallBlock), false);
            continue;
        }
        if (flush != Z_FINISH)
            return Z_OK;
        if (whole->stored)
            return Z_STREAM_END;
        // The last block, empty, and the check, most significant byte first.
        const uint32_t check = uint32_t(strm->adler);
        const char tail[9] = {1, 0, 0, char(0xff), char(0xff), char(check >> 24), char(check >> 16), char(check >> 8),
                              char(check)};
        whole->pending.append(tail, sizeof tail);
        whole->stored = true;
    }
}

}  // namespace

ThreadDeflateLevel::ThreadDeflateLevel(int level, int piecewiseLevel)
    : previous_(t_level), previousPiecewise_(t_piecewiseLevel)
{
    t_level = std::clamp(level, 0, 12);
    t_piecewiseLevel = std::clamp(piecewiseLevel, 0, 12);
}

ThreadDeflateLevel::~ThreadDeflateLevel()
{
    t_level = previous_;
    t_piecewiseLevel = previousPiecewise_;
}

// zlib's entries, which Qt's writer (and compress2, under qCompress) calls
// through the dynamic linker: the program's definitions come first. A
// stream begun at the default level on a thread that asked for libdeflate
// is this file's; zlib's own functions refuse it (it has no allocator of
// theirs), and everything else is zlib's.
extern "C" int deflateInit_(z_streamp strm, int level, const char* version, int streamSize)
{
    if (level == Z_DEFAULT_COMPRESSION && t_level >= 0 && strm && !strm->zalloc && !strm->zfree && version &&
        version[0] == ZLIB_VERSION[0] && streamSize == int(sizeof(z_stream))) {
        auto* whole = new (std::nothrow) WholeStream;
        if (!whole)
            return Z_MEM_ERROR;
        whole->level = t_level;
        whole->piecewiseLevel = t_piecewiseLevel;
        strm->state = reinterpret_cast<internal_state*>(whole);
        strm->total_in = strm->total_out = 0;
        strm->msg = nullptr;
        strm->adler = 1;
        strm->data_type = Z_UNKNOWN;
        std::lock_guard<std::mutex> lock(g_wholeStreamsMutex);
        WholeStreams().insert(whole);
        return Z_OK;
    }
    return deflateInit2_(strm, level, Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY, version, streamSize);
}

extern "C" int deflate(z_streamp strm, int flush)
{
    WholeStream* whole = WholeStreamOf(strm);
    if (!whole) {
        static const auto own = reinterpret_cast<int (*)(z_streamp, int)>(ZlibOwn("deflate"));
        return own ? own(strm, flush) : Z_STREAM_ERROR;
    }
    // A flush mid-stream would need the stream in parts.
    if ((flush != Z_NO_FLUSH && flush != Z_FINISH) || (strm->avail_in > 0 && (whole->packed || !strm->next_in)))
        return Z_STREAM_ERROR;
    if (whole->storing || (!whole->packed && flush == Z_NO_FLUSH && whole->piecewiseLevel == 0))
        return StoreStream(strm, whole, flush);
    if (!whole->packed) {
        if (flush == Z_FINISH)
            return PackWholeStream(strm, whole);
        TakeWholeInput(strm, whole);
        return Z_OK;
    }
    if (whole->sent == whole->output.size())
        return Z_STREAM_END;
    if (strm->avail_out == 0)
        return Z_BUF_ERROR;
    SendWholeOutput(strm, whole);
    return whole->sent == whole->output.size() ? Z_STREAM_END : Z_OK;
}

extern "C" int deflateEnd(z_streamp strm)
{
    WholeStream* whole = WholeStreamOf(strm);
    if (!whole) {
        static const auto own = reinterpret_cast<int (*)(z_streamp)>(ZlibOwn("deflateEnd"));
        return own ? own(strm) : Z_STREAM_ERROR;
    }
    {
        std::lock_guard<std::mutex> lock(g_wholeStreamsMutex);
        WholeStreams().erase(whole);
    }
    delete whole;
    strm->state = nullptr;
    return Z_OK;
}

namespace {

struct CompressorFree {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

using KeptCompressor = std::unique_ptr<libdeflate_compressor, CompressorFree>;

// By level, 0 to 12.
std::array<KeptCompressor, 13>& KeptCompressors()
{
    thread_local std::array<KeptCompressor, 13> kept;
    return kept;
}

}  // namespace

libdeflate_compressor* ThreadCompressor(int level)
{
    if (level < 0 || level > 12)
        return nullptr;
    KeptCompressor& kept = KeptCompressors()[level];
    if (!kept)
        kept.reset(libdeflate_alloc_compressor(level));
    return kept.get();
}

void FreeThreadCompressors()
{
    for (KeptCompressor& kept : KeptCompressors())
        kept.reset();
}
