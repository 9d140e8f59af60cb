#include "foundation/pack_data.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

#include "foundation/byte_order.h"
#include "foundation/pack_format.h"
#include "foundation/win_error.h"

namespace {

const char* const kMsgInsufficientMemory = "insufficient memory";
const char* const kMsgOutOfMemory = "out of memory";
const char* const kMsgFormatViolated = "invalid compressed data--format violated";
const char* const kMsgCrcError = "invalid compressed data--crc error";
const char* const kMsgLengthError = "invalid compressed data--length error";

// Input goes through the CRC and the compressor in pieces of this size, so
// that the bytes the CRC has just read are still in the cache for deflate.
constexpr uint32_t kInputChunk = 64 * 1024;
constexpr uint32_t kMinOutputCapacity = 16 * 1024;
// An initial guess at the output size never reserves more than this; a
// larger output grows by doubling.
constexpr uint64_t kMaxInitialReserve = 4 * 1024 * 1024;
// HandleResize takes a signed 32-bit size.
constexpr uint64_t kMaxHandleSize = INT32_MAX;

const char* g_lastMessage = "";
int32_t g_lastFileError = 0;

int32_t DataError(const char* message)
{
    g_lastMessage = message;
    return kPackDataError;
}

int32_t FileError(int32_t code)
{
    g_lastFileError = code;
    return kPackFileError;
}

// The codec's working memory comes from the memory layer like every other
// block, so that it is counted and can be made to fail in tests.
voidpf CodecAlloc(voidpf, uInt items, uInt size)
{
    const uint64_t n = uint64_t(items) * size;
    if (n > UINT32_MAX)
        return Z_NULL;
    return MemAllocClear(uint32_t(n));
}

void CodecFree(voidpf, voidpf block) { MemFree(block); }

z_stream NewStream()
{
    z_stream z{};
    z.zalloc = CodecAlloc;
    z.zfree = CodecFree;
    return z;
}

// The codec writes straight into the destination's block. The Handle grows
// ahead of the codec, by doubling so that a large output is not copied over
// and over; the spare room is cut off at the end.
class HandleWriter {
public:
    explicit HandleWriter(Handle h) : h_(h), capacity_(HandleGetSize(h)) {}

    uint8_t* next() const { return HandleData(h_) + written_; }
    uint32_t room() const { return capacity_ - written_; }
    uint32_t written() const { return written_; }
    void advance(uint32_t n) { written_ += n; }

    // Makes room for at least n more bytes: 0, or the memory layer's error.
    int32_t reserve(uint32_t n)
    {
        if (!h_)
            return kMemNullHandle;
        if (room() >= n)
            return 0;
        const uint64_t need = uint64_t(written_) + n;
        if (need > kMaxHandleSize)
            return kMemOutOfMemory;
        const uint64_t generous = std::min(std::max({need, uint64_t(capacity_) * 2, uint64_t(kMinOutputCapacity)}),
                                           kMaxHandleSize);
        // Short of memory, the exact need may still fit where double did not.
        if (HandleResize(h_, int32_t(generous)) != 0 && HandleResize(h_, int32_t(need)) != 0)
            return MemLastError();
        capacity_ = HandleGetSize(h_);
        return 0;
    }

    // Cuts the Handle to the bytes written: 0, or the memory layer's error.
    int32_t finish()
    {
        if (!h_ || capacity_ == written_)
            return 0;
        if (HandleResize(h_, int32_t(written_)) != 0)
            return MemLastError();
        capacity_ = written_;
        return 0;
    }

private:
    Handle h_;
    uint32_t capacity_;
    uint32_t written_ = 0;
};

class StreamEnd {
public:
    StreamEnd(z_stream& z, int (*end)(z_streamp)) : z_(z), end_(end) {}
    ~StreamEnd() { end_(&z_); }
    StreamEnd(const StreamEnd&) = delete;
    StreamEnd& operator=(const StreamEnd&) = delete;

private:
    z_stream& z_;
    int (*end_)(z_streamp);
};

int32_t Compress(const uint8_t* in, uint32_t n, HandleWriter& out, int32_t level)
{
    z_stream z = NewStream();
    if (deflateInit2(&z, level, Z_DEFLATED, -kPackWindowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return DataError(kMsgInsufficientMemory);
    StreamEnd end(z, deflateEnd);

    const uint64_t guess = std::min<uint64_t>(deflateBound(&z, n) + kPackTrailerSize, kMaxInitialReserve);
    if (int32_t err = out.reserve(uint32_t(guess)))
        return FileError(err);

    uLong crc = crc32_z(0, Z_NULL, 0);
    uint32_t pos = 0;
    for (;;) {
        const uint32_t chunk = std::min(n - pos, kInputChunk);
        crc = crc32_z(crc, in + pos, chunk);
        z.next_in = const_cast<Bytef*>(in + pos);
        z.avail_in = chunk;
        pos += chunk;
        const int flush = pos == n ? Z_FINISH : Z_NO_FLUSH;
        // deflate stops only when the input is used up or the output is
        // full; with Z_FINISH, room left over means the stream has ended.
        do {
            if (int32_t err = out.reserve(1))
                return FileError(err);
            uint8_t* start = out.next();
            z.next_out = start;
            z.avail_out = out.room();
            if (deflate(&z, flush) == Z_STREAM_ERROR)
                return DataError(kMsgInsufficientMemory);
            out.advance(uint32_t(z.next_out - start));
        } while (z.avail_out == 0);
        if (flush == Z_FINISH)
            break;
    }

    if (int32_t err = out.reserve(kPackTrailerSize))
        return FileError(err);
    PutU32LE(out.next() + kPackTrailerCrcOffset, uint32_t(crc));
    PutU32LE(out.next() + kPackTrailerLengthOffset, n);
    out.advance(kPackTrailerSize);
    return kPackOk;
}

int32_t Expand(const uint8_t* in, uint32_t n, HandleWriter& out)
{
    z_stream z = NewStream();
    if (inflateInit2(&z, -kPackWindowBits) != Z_OK)
        return DataError(kMsgInsufficientMemory);
    StreamEnd end(z, inflateEnd);

    // inflate reads its input once, straight from the source's block.
    z.next_in = const_cast<Bytef*>(in);
    z.avail_in = n;
    uLong crc = crc32_z(0, Z_NULL, 0);
    for (;;) {
        if (int32_t err = out.reserve(1))
            return FileError(err);
        uint8_t* start = out.next();
        z.next_out = start;
        z.avail_out = out.room();
        const int ret = inflate(&z, Z_NO_FLUSH);
        const uint32_t produced = uint32_t(z.next_out - start);
        crc = crc32_z(crc, start, produced);
        out.advance(produced);
        if (ret == Z_STREAM_END)
            break;
        if (ret == Z_MEM_ERROR)
            return DataError(kMsgOutOfMemory);
        if (ret != Z_OK && ret != Z_BUF_ERROR)
            return DataError(kMsgFormatViolated);
        // Room left in the output while the stream goes on means the input
        // ran out.
        if (z.avail_out != 0 && (z.avail_in == 0 || ret == Z_BUF_ERROR))
            return FileError(kErrHandleEof);
    }

    if (z.avail_in < kPackTrailerSize)
        return FileError(kErrHandleEof);
    const uint8_t* trailer = z.next_in;
    if (GetU32LE(trailer + kPackTrailerCrcOffset) != uint32_t(crc))
        return DataError(kMsgCrcError);
    if (GetU32LE(trailer + kPackTrailerLengthOffset) != out.written())
        return DataError(kMsgLengthError);
    return kPackOk;
}

}  // namespace

int32_t PackData(Handle source, Handle destination, int32_t mode, int32_t level, int32_t /*reserved*/)
{
    g_lastMessage = "";
    g_lastFileError = 0;
    if (level < kPackMinLevel || level > kPackMaxLevel)
        level = kPackDefaultLevel;

    // The codec writes the destination while it still reads the source, so
    // one Handle given as both is read from a copy.
    HandleOwner sourceCopy;
    if (source && source == destination) {
        Handle copy = source;
        if (HandleDuplicate(&copy) != 0)
            return DataError(kMsgInsufficientMemory);
        sourceCopy.reset(copy);
        source = copy;
    }

    const uint32_t n = HandleGetSize(source);
    const uint8_t* in = HandleData(source);
    HandleWriter out(destination);
    int32_t result = mode == kPackCompress ? Compress(in, n, out, level) : Expand(in, n, out);
    const int32_t cutError = out.finish();
    if (result == kPackOk && cutError != 0)
        result = FileError(cutError);
    return result;
}

const char* PackDataLastMessage() { return g_lastMessage; }

int32_t PackDataLastFileError() { return g_lastFileError; }
