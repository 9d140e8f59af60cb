#include "database/record_scanner.h"

#include <algorithm>

#include "database/db_file_io.h"
#include "database/record_file_format.h"
#include "database/record_layout.h"
#include "foundation/win_error.h"

namespace {
constexpr uint32_t kBufferSize = 64 * 1024;
}

RecordScanner::RecordScanner(FileHandle file, uint32_t start, uint32_t fileSize)
    : file_(file), fileSize_(fileSize), next_(start), buffer_(new uint8_t[kBufferSize])
{
}

bool RecordScanner::Ensure(uint32_t offset, uint32_t n)
{
    if (offset >= bufferStart_ && offset + n <= bufferStart_ + bufferLength_)
        return true;
    const uint32_t want = std::min(kBufferSize, fileSize_ - offset);
    uint32_t got = 0;
    const int32_t err = DbReadSomeAt(file_, offset, buffer_.get(), want, &got);
    bufferStart_ = offset;
    bufferLength_ = got;
    if (err != kErrNone && err != kErrHandleEof) {
        error_ = err;
        return false;
    }
    if (got < n) {
        error_ = kErrHandleEof;
        return false;
    }
    return true;
}

RecordScanner::Status RecordScanner::Next()
{
    offset_ = next_;
    length_ = 0;
    if (offset_ >= fileSize_)
        return offset_ == fileSize_ ? Status::End : Status::Bad;
    // A tail too short for a record is no record either.
    if (fileSize_ - offset_ < dbrec::kHeadSize)
        return Status::Bad;
    if (!Ensure(offset_, dbrec::kHeadSize))
        return error_ == kErrHandleEof ? Status::Bad : Status::IoError;
    const uint32_t length = SoundRecordLength(bytes());
    if (length == 0 || length > fileSize_ - offset_)
        return Status::Bad;
    if (!Ensure(offset_, length))
        return error_ == kErrHandleEof ? Status::Bad : Status::IoError;
    length_ = length;
    next_ = offset_ + length;
    return Status::Record;
}
