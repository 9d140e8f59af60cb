#include "dbdoc/database_merge.h"

#include <string>

#include "database/database_header.h"
#include "database/database_messages.h"
#include "database/db_document.h"
#include "database/db_file_io.h"
#include "database/progress_window.h"
#include "database/record_file_format.h"
#include "database/record_scanner.h"
#include "dbdoc/current_record.h"
#include "foundation/alert_sink.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"

namespace {

constexpr int32_t kStringMerging = 260;
constexpr int32_t kProgressShowAt = 100;
constexpr char kMergeUndoneText[] = "The merge did not finish. No record of it was added: the database is as it was.";

struct FileCloser {
    FileHandle file;
    ~FileCloser() { FileClose(file); }
};

// The source's header is checked as a database's own would be, except
// that a damaged source is not offered a repair it would not get here.
bool SourceIsSound(FileHandle file, const char* name)
{
    uint8_t header[kDbHeaderSize];
    if (ReadDatabaseHeader(file, header, false, name) < 0)
        return false;
    const bool damaged = GetU32LE(header + dbh::kDataMark) != 0;
    PutU32LE(header + dbh::kDataMark, 0);
    if (CheckDatabaseHeader(header, name) != 0)
        return false;
    if (damaged) {
        DatabaseErrorBox(AboutFile(name).c_str(), 8);
        return false;
    }
    return true;
}

}  // namespace

int32_t MergeDatabase(DbDocument& document, const PathRecord& source, MergeResult* result)
{
    *result = MergeResult{};
    DataFile& data = document.Data();
    // Every way out before the first record is read is a refusal.
    result->refused = true;
    if (document.InBulkMailMode()) {
        MessageBeep(0);
        return 0;
    }
    if (IsOpenDatabaseFile(source)) {
        DatabaseErrorBox(nullptr, 16);
        return 0;
    }
    char name[512];
    PathRecordGetFileName(&source, name, sizeof name);
    FileHandle file = kNoFile;
    if (const int32_t err = FileOpen(&source, kFileRead, &file); err != kErrNone) {
        AlertFileErrorAbout(name, err);
        return 0;
    }
    FileCloser closer{file};
    if (!SourceIsSound(file, name))
        return 0;
    uint32_t size = 0;
    if (const int32_t err = DbGetSize(file, &size); err != kErrNone) {
        AlertFileError(err);
        return 0;
    }

    document.CommitEdits();
    // A cache entry that could not be written must not be dropped with
    // the others: it holds the only copy of a committed change.
    if (const int32_t err = data.FlushRecordCache(); err != kErrNone) {
        AlertFileError(err);
        return 0;
    }
    result->refused = false;
    data.DropCacheEntry(-2);
    const int32_t shown = data.CurrentOffset();
    {
        // One change for the whole merge (see the import).
        DbChange batch(data);
        DbProgressWindow progress(data.DatabaseName(), WorkingMessage(kStringMerging), data.GetLiveCount(),
                                  kProgressShowAt, 1);
        RecordScanner scanner(file, kDbDataStart, size);
        for (;;) {
            const RecordScanner::Status status = scanner.Next();
            if (status == RecordScanner::Status::End)
                break;
            if (status == RecordScanner::Status::IoError) {
                AlertFileError(scanner.error());
                result->failed = true;
            } else if (status == RecordScanner::Status::Bad) {
                DatabaseErrorBox(AboutFile(name).c_str(), 8);
                result->failed = true;
            } else if (scanner.bytes()[dbrec::kFlagsOffset] & (dbrec::kDeleted | dbrec::kNew)) {
                continue;
            } else if (!data.Current().LoadImage(scanner.bytes(), scanner.length()) ||
                       data.AddRecord(false, false) < 0) {
                result->failed = true;
            }
            if (result->failed) {
                // Every record of the source goes in, or none.
                data.AbandonChange();
                break;
            }
            ++result->appended;
            if (!progress.Step()) {
                result->aborted = true;
                break;
            }
        }
        if (!result->failed && result->appended > 0 && !document.StoreCountsInChange())
            result->failed = true;
    }
    // A batch that could not be made durable was taken back too.
    if (!data.LastChangeKept())
        result->failed = true;
    if (result->failed) {
        result->appended = 0;
        AlertNote(kMergeUndoneText, 0);
    }
    ReturnToRecord(data, shown);
    if (result->appended > 0)
        document.RecordsAppended(result->appended);
    return result->appended;
}
