// Reads of a record file through memory. A walk through the records in
// index order reads them in no order of the file; asking the disk for each
// one costs more than the record. After a run of reads with nothing
// written in between, the file is read in chunks of 64 KiB, kept until
// anything is written (to any file, through db_file_io) or the file's size
// changes: a walk then reads each chunk once.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "foundation/file_io.h"

class RecordReadCache {
public:
    // As DbReadSomeAt, for a file of size bytes: up to n bytes at offset,
    // *got receives the count; 0, 38 when fewer, or the disk's code.
    int32_t Read(FileHandle file, uint32_t size, uint32_t offset, uint8_t* out, uint32_t n, uint32_t* got);
    // Lets every chunk go; the next reads ask the disk.
    void Clear();

private:
    static constexpr uint32_t kChunkSize = 64 * 1024;
    static constexpr size_t kMostChunks = 256;
    // Reads in a row, with nothing written, for each chunk of the file
    // before chunks are kept: reading a chunk costs as much as some twenty
    // records, so only a walk that meets most of the file gains by it. A
    // read between two writes (a pass that changes every record), or a few
    // hundred records picked out of thousands, ask for the record only.
    static constexpr int64_t kReadsPerChunk = 16;

    const uint8_t* Chunk(uint32_t index, uint32_t* length);

    FileHandle file_ = kNoFile;
    uint64_t writes_ = 0;
    uint32_t size_ = 0;
    int64_t streak_ = 0;
    std::unordered_map<uint32_t, std::unique_ptr<uint8_t[]>> chunks_;
};
