#include "dbdoc/database_split.h"

#include <cstring>
#include <vector>

#include "database/database_messages.h"
#include "database/db_document.h"
#include "database/file_swap.h"
#include "database/progress_window.h"
#include "database/record_file_format.h"
#include "database/same_file.h"
#include "dbdoc/new_database_file.h"
#include "dbdoc/selection_walk.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"

namespace {

constexpr int32_t kStringSplitting = 261;
constexpr int32_t kProgressShowAt = 100;

}  // namespace

int32_t SplitDatabase(DbDocument& document, const PathRecord& target, SplitResult* result)
{
    *result = SplitResult{};
    DataFile& data = document.Data();
    if (data.GetLiveCount() <= 0) {
        DatabaseNote(18);
        return 0;
    }
    const PathRecord targetIndex = IndexPathFor(target);
    if (IsOpenDatabaseFile(target) || IsOpenDatabaseFile(targetIndex)) {
        DatabaseErrorBox(nullptr, 17);
        return 0;
    }
    document.CommitEdits();
    if (const int32_t err = data.FlushRecordCache(); err != kErrNone) {
        AlertFileError(err);
        return -1;
    }

    std::vector<uint8_t> header(kDbDataStart, kDbFillerByte);
    std::memcpy(header.data(), document.Header(), kDbHeaderSize);
    data.ExchangeHeaderCounts(false, header.data());

    FileSwap out(target);
    int32_t err = out.Begin();
    if (err == kErrNone)
        err = out.Append(header.data(), kDbDataStart);
    int32_t fresh = 0;
    {
        DbProgressWindow progress(data.DatabaseName(), WorkingMessage(kStringSplitting), data.GetLiveCount(),
                                  kProgressShowAt, 1);
        SelectionWalk walk(data);
        CardRecord record;
        while (err == kErrNone && walk.Next(record)) {
            const bool goOn = progress.Step();
            err = out.Append(record.Image(), record.GetLength());
            if (err != kErrNone)
                break;
            ++result->written;
            fresh += record.IsNew() ? 1 : 0;
            if (!goOn) {
                result->aborted = true;
                break;
            }
        }
    }
    // The counters describe the new file, not the database it came from:
    // the engine trusts them until the next selection pass.
    uint8_t counts[20];
    PutI32LE(counts, result->written);
    PutI32LE(counts + 4, result->written);
    PutI32LE(counts + 8, 0);
    PutI32LE(counts + 12, fresh);
    PutI32LE(counts + 16, -1);
    uint8_t marks[8] = {};
    uint8_t position[2] = {};
    if (err == kErrNone)
        err = out.Patch(dbh::kStoredCount, counts, sizeof counts);
    if (err == kErrNone)
        err = out.Patch(dbh::kDataMark, marks, sizeof marks);
    if (err == kErrNone)
        err = out.Patch(dbh::kPrefLastPosition, position, sizeof position);
    // An index an earlier file of that name left behind would be taken for
    // this one's.
    if (err == kErrNone && FileExists(&targetIndex, 0))
        err = FileDelete(&targetIndex);
    return FinishNewDatabaseFile(out, err);
}
