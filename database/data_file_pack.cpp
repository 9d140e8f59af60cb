// DataFile: packing the record file at close.

#include <cstring>
#include <memory>

#include "database/data_file.h"
#include "database/db_file_io.h"
#include "database/file_swap.h"
#include "database/progress_window.h"
#include "database/record_file_format.h"
#include "database/record_layout.h"
#include "database/record_scanner.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"

namespace {
constexpr int32_t kStringPacking = 274;
constexpr int32_t kPackThreshold = 100;
}  // namespace

int32_t DataFile::PackDataFile()
{
    if (!open_ || deleted_ < kPackThreshold || dataMark_)
        return 0;
    DbWorkingWindow working(WorkingMessage(kStringPacking), stored_ / 100);

    ForgetFileSize();
    ++recordChanges_;
    uint32_t size = 0;
    FlushAppends();
    if (FileSize(&size) != kErrNone || size < dataStart_)
        return -1;
    FileSwap swap(path_);
    int32_t err = swap.Begin();
    // The header area goes over as it stands; the document wrote it just
    // before the close.
    std::unique_ptr<uint8_t[]> head(new uint8_t[dataStart_]);
    if (err == kErrNone)
        err = DbReadAt(file_, 0, head.get(), dataStart_);
    if (err == kErrNone)
        err = swap.Append(head.get(), dataStart_);

    int32_t kept = 0;
    int32_t walked = 0;
    RecordScanner scanner(file_, dataStart_, size);
    while (err == kErrNone) {
        const RecordScanner::Status status = scanner.Next();
        if (status == RecordScanner::Status::End)
            break;
        if (status != RecordScanner::Status::Record) {
            // Damage found now is left for the next open to find and
            // repair; the file stays as it is.
            err = status == RecordScanner::Status::IoError ? scanner.error() : kErrHandleEof;
            break;
        }
        if (++walked % 100 == 0)
            working.StepIt();
        const uint8_t flags = scanner.bytes()[dbrec::kFlagsOffset];
        if (flags & (dbrec::kDeleted | dbrec::kNew))
            continue;
        uint8_t record[dbrec::kMaxRecordSize];
        const uint32_t length = dbrec::kHeadSize + RecordBodySum(scanner.bytes());
        std::memcpy(record, scanner.bytes(), length);
        PutI16LE(record + dbrec::kSlack, 0);
        err = swap.Append(record, length);
        ++kept;
    }
    if (err == kErrNone) {
        uint8_t counts[16];
        PutI32LE(counts, kept);
        PutI32LE(counts + 4, kept);
        PutI32LE(counts + 8, 0);
        PutI32LE(counts + 12, 0);
        err = swap.Patch(dbh::kStoredCount, counts, sizeof counts);
    }
    FileHandle packed = kNoFile;
    if (err == kErrNone)
        err = swap.Commit(&packed);
    if (err != kErrNone) {
        if (err != kErrHandleEof)
            AlertFileError(err);
        return -1;
    }
    FileClose(file_);
    file_ = packed;
    ForgetFileSize();
    stored_ = kept;
    deleted_ = 0;
    newCount_ = 0;
    indexMark_ = true;
    DropCacheEntry(-2);
    return 1;
}
