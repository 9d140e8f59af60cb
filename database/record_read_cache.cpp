#include "database/record_read_cache.h"

#include <algorithm>
#include <cstring>

#include "database/db_file_io.h"
#include "foundation/win_error.h"

void RecordReadCache::Clear()
{
    chunks_.clear();
    streak_ = 0;
    file_ = kNoFile;
}

const uint8_t* RecordReadCache::Chunk(uint32_t index, uint32_t* length)
{
    const uint32_t start = index * kChunkSize;
    *length = std::min(kChunkSize, size_ - start);
    auto found = chunks_.find(index);
    if (found != chunks_.end())
        return found->second.get();
    if (chunks_.size() >= kMostChunks)
        chunks_.clear();
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[kChunkSize]);
    uint32_t got = 0;
    if (DbReadSomeAt(file_, start, bytes.get(), *length, &got) != kErrNone || got != *length)
        return nullptr;
    return chunks_.emplace(index, std::move(bytes)).first->second.get();
}

int32_t RecordReadCache::Read(FileHandle file, uint32_t size, uint32_t offset, uint8_t* out, uint32_t n,
                              uint32_t* got)
{
    if (file != file_ || size != size_ || DbWriteCount() != writes_) {
        Clear();
        file_ = file;
        size_ = size;
        writes_ = DbWriteCount();
    }
    *got = 0;
    const int64_t chunks = int64_t(size_ / kChunkSize) + 1;
    if (++streak_ <= kReadsPerChunk * chunks || offset >= size_ || n == 0)
        return DbReadSomeAt(file, offset, out, n, got);
    const uint32_t end = offset + std::min(n, size_ - offset);
    for (uint32_t at = offset; at < end;) {
        uint32_t length = 0;
        const uint8_t* chunk = Chunk(at / kChunkSize, &length);
        if (chunk == nullptr) {
            // What the disk says is said as a plain read says it.
            chunks_.clear();
            return DbReadSomeAt(file, offset, out, n, got);
        }
        const uint32_t from = at % kChunkSize;
        const uint32_t take = std::min(end - at, length - from);
        std::memcpy(out + (at - offset), chunk + from, take);
        at += take;
        *got += take;
    }
    return *got == n ? kErrNone : kErrHandleEof;
}
