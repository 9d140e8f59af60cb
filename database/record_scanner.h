// A walk over the records of a record file in file order, reading ahead in
// large blocks: the passes over every record read each byte once.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/file_io.h"

class RecordScanner {
public:
    enum class Status {
        Record,   // a sound record is at offset()
        End,      // the last record ended at the end of the file
        Bad,      // the bytes at offset() are no sound record
        IoError,  // reading failed; error() has the code
    };

    RecordScanner(FileHandle file, uint32_t start, uint32_t fileSize);

    Status Next();
    uint32_t offset() const { return offset_; }
    uint32_t length() const { return length_; }
    // The record's bytes; valid until the next call.
    const uint8_t* bytes() const { return buffer_.get() + (offset_ - bufferStart_); }
    int32_t error() const { return error_; }

private:
    bool Ensure(uint32_t offset, uint32_t n);

    FileHandle file_;
    uint32_t fileSize_;
    uint32_t next_;
    uint32_t offset_ = 0;
    uint32_t length_ = 0;
    int32_t error_ = 0;
    std::unique_ptr<uint8_t[]> buffer_;
    uint32_t bufferStart_ = 0;
    uint32_t bufferLength_ = 0;
};
