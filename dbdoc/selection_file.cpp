#include "dbdoc/selection_file.h"

#include "database/database_messages.h"
#include "database/db_document.h"
#include "database/file_swap.h"
#include "database/progress_window.h"
#include "database/same_file.h"
#include "dbdoc/new_database_file.h"
#include "dbdoc/selection_walk.h"
#include "foundation/alerts.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"

namespace {

constexpr int32_t kProgressShowAt = 100;

}  // namespace

int32_t WriteSelectionFile(DbDocument& document, const PathRecord& target, const SelectionFileJob& job,
                           int32_t* records, bool* aborted)
{
    DataFile& data = document.Data();
    if (data.GetLiveCount() <= 0) {
        DatabaseNote(job.emptyNote);
        return 0;
    }
    if (IsOpenDatabaseFile(target)) {
        DatabaseErrorBox(nullptr, 14);
        return 0;
    }
    document.CommitEdits();
    int32_t err = data.FlushRecordCache();
    FileSwap out(target);
    if (err == kErrNone)
        err = out.Begin();
    if (err != kErrNone) {
        AlertFileError(err);
        return -1;
    }
    if (!job.prepare || job.prepare()) {
        DbProgressWindow progress(data.DatabaseName(), WorkingMessage(job.workingString), data.GetLiveCount(),
                                  kProgressShowAt, 1);
        SelectionWalk walk(data);
        CardRecord record;
        std::string text;
        while (walk.Next(record)) {
            const bool goOn = progress.Step();
            text.clear();
            job.text(record, text);
            if ((err = out.Append(text.data(), uint32_t(text.size()))) != kErrNone)
                break;
            ++*records;
            if (!goOn) {
                *aborted = true;
                break;
            }
        }
        // A record that could not be read has been reported (the database
        // is marked for repair): a file without it would pass for the whole
        // selection, so the old file stays as it was.
        if (err == kErrNone && walk.failed()) {
            *records = 0;
            return -1;
        }
    }
    return FinishNewDatabaseFile(out, err);
}
