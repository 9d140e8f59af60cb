#include "database/verify.h"

#include "database/database_header.h"
#include "database/db_file_io.h"
#include "database/record_file_format.h"
#include "database/record_layout.h"
#include "database/record_scanner.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"

bool VerifyDataFile(FileHandle file, uint32_t dataStart, VerifyReport* report)
{
    *report = VerifyReport{};
    uint32_t size = 0;
    if (const int32_t err = DbGetSize(file, &size); err != kErrNone) {
        report->ioError = err;
        return false;
    }
    if (size < dataStart) {
        report->badOffset = int32_t(size);
        return false;
    }
    RecordScanner scanner(file, dataStart, size);
    for (;;) {
        switch (scanner.Next()) {
        case RecordScanner::Status::End: return true;
        case RecordScanner::Status::IoError: report->ioError = scanner.error(); return false;
        case RecordScanner::Status::Bad: {
            const uint32_t at = scanner.offset();
            uint8_t tail[dbrec::kMaxRecordSize];
            uint32_t got = 0;
            if (size - at <= sizeof tail && DbReadSomeAt(file, at, tail, size - at, &got) == kErrNone &&
                IsTornRecord(tail, got)) {
                report->unfinished = got;
                return true;
            }
            report->badOffset = int32_t(at);
            return false;
        }
        case RecordScanner::Status::Record: break;
        }
        ++report->records;
        const uint8_t flags = scanner.bytes()[dbrec::kFlagsOffset];
        if (flags & dbrec::kDeleted)
            ++report->deleted;
        else if (flags & dbrec::kNew)
            ++report->fresh;
    }
}

bool HeaderCountsMissingRecords(const uint8_t* header, const VerifyReport& report)
{
    // A record whose write never finished may be the last one counted.
    return GetI32LE(header + dbh::kStoredCount) > report.records + (report.unfinished ? 1 : 0);
}
