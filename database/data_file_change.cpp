// DataFile: changes that a crash leaves whole or undone, and what the open
// does about one that never finished.

#include <vector>

#include "database/data_file.h"
#include "database/db_file_io.h"
#include "database/record_file_format.h"
#include "database/record_layout.h"
#include "foundation/alerts.h"
#include "foundation/win_error.h"

void DataFile::BeginChange(bool single)
{
    if (changeDepth_++ > 0 || !open_)
        return;
    RetryStuckUndo();
    // What the change may have to undo is measured on the disk.
    ForgetFileSize();
    uint32_t size = 0;
    FileSize(&size);
    journal_.Begin(file_, path_, size, single);
    changeStart_ = {size, stored_, live_, deleted_, newCount_};
    changeAbandoned_ = false;
}

void DataFile::AbandonChange()
{
    if (changeDepth_ == 0)
        return;
    changeFailed_ = true;
    changeAbandoned_ = true;
}

bool DataFile::DropIndexEntriesFrom(uint32_t offset)
{
    if (!IndexOpen() || index_->Failed())
        return false;
    std::vector<DbIndexEntry> added;
    DbIndexEntry entry;
    index_->GoFirst();
    while (index_->GetNext(&entry) == 1) {
        if (entry.recordPosition >= 0 && uint32_t(entry.recordPosition) >= offset)
            added.push_back(entry);
    }
    for (DbIndexEntry& e : added) {
        if (index_->SeekEntry(&e) != 1 || index_->DeleteKey(&e) != 1)
            return false;
    }
    return !index_->Failed();
}

int32_t DataFile::EndChange()
{
    if (changeDepth_ == 0 || --changeDepth_ > 0)
        return kErrNone;
    // A change with a failed step is taken back whole: half of it must not
    // become what the file holds.
    bool failed = changeFailed_;
    bool abandoned = changeAbandoned_;
    changeFailed_ = false;
    changeAbandoned_ = false;
    lastKept_ = false;
    int32_t err = kErrNone;
    if (!failed) {
        err = journal_.Commit();
        if (err == kErrNone) {
            lastKept_ = true;
            return kErrNone;
        }
        // A change that cannot be made durable is not kept: a crash would
        // take it back anyway, so the session takes it back now.
        ReportWriteError(err);
        failed = abandoned = true;
    }
    DropCacheEntry(-2);
    indexMark_ = true;
    ++recordChanges_;
    err = journal_.Undo();
    if (err != kErrNone) {
        // Tried again before the next change and at the close, and left
        // for the next open when those fail too.
        stuckAbandoned_ = abandoned;
        ReportWriteError(err);
        return err;
    }
    if (abandoned)
        TakeBackCounts();
    return kErrNone;
}

void DataFile::TakeBackCounts()
{
    // The file is as it was at the start of the change; so is what this
    // session says of it. The index lets go of every record the change
    // added (it is still built anew at the next open, to be sure).
    ++recordChanges_;
    stored_ = changeStart_.stored;
    live_ = changeStart_.live;
    deleted_ = changeStart_.deleted;
    newCount_ = changeStart_.newCount;
    ClearCurrent();
    SaveUndoState();
    DropIndexEntriesFrom(changeStart_.size);
}

void DataFile::RetryStuckUndo()
{
    if (!journal_.Stuck() || journal_.RetryUndo() != kErrNone)
        return;
    ++recordChanges_;
    DropCacheEntry(-2);
    if (stuckAbandoned_)
        TakeBackCounts();
    stuckAbandoned_ = false;
}

int32_t DataFile::WriteImage(int32_t offset, const uint8_t* image, uint32_t length)
{
    if (offset < 0)
        return ReportWriteError(kErrInvalidParameter);
    ++recordChanges_;
    int32_t err = journal_.BeforeWrite(uint32_t(offset), length);
    const uint64_t writes = DbWriteCount();
    if (err == kErrNone)
        err = DbWriteAt(file_, uint32_t(offset), image, length);
    if (err == kErrNone) {
        NoteWritten(writes, uint32_t(offset) + length, false);
        return kErrNone;
    }
    NoteFailedStep();
    return ReportWriteError(err);
}

int32_t DataFile::ResizeFile(uint32_t size)
{
    ++recordChanges_;
    int32_t err = journal_.BeforeResize(size);
    const uint64_t writes = DbWriteCount();
    if (err == kErrNone)
        err = DbSetSize(file_, size);
    if (err == kErrNone)
        NoteWritten(writes, size, true);
    else
        NoteFailedStep();
    return err;
}

void DataFile::NoteFailedStep()
{
    // Inside a batch each change cleans up after itself (an import keeps
    // the records it added before a failure); a change on its own is
    // taken back whole when one of its steps failed.
    if (changeDepth_ == 1)
        changeFailed_ = true;
}

int32_t DataFile::StoreHeader(const uint8_t* header)
{
    DbChange change(*this);
    int32_t err = journal_.BeforeWrite(0, kDbDataStart);
    if (err == kErrNone && WriteDatabaseHeader(file_, header, false) < 0)
        err = kErrIoDevice;
    return err;
}

bool DataFile::CutTornTail(uint32_t offset, uint32_t size)
{
    if (offset < dataStart_ || offset >= size || size - offset > dbrec::kMaxRecordSize)
        return false;
    uint8_t tail[dbrec::kMaxRecordSize];
    uint32_t got = 0;
    if (DbReadSomeAt(file_, offset, tail, size - offset, &got) != kErrNone || got != size - offset ||
        !IsTornRecord(tail, got))
        return false;
    // A reader only leaves it out.
    if (readOnly_)
        return true;
    ++recordChanges_;
    // The write of this record never finished, so it was never committed:
    // the file ends where it began.
    if (DbSetSize(file_, offset) != kErrNone || DbSync(file_) != kErrNone)
        return false;
    recovered_ = true;
    return true;
}
