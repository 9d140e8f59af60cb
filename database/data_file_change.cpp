// DataFile: changes that a crash leaves whole or undone, and what the open
// does about one that never finished.

#include <cstring>
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
    // A change already failing is undone: what waits to be written is
    // dropped, not written only to be taken back.
    if (changeFailed_)
        appends_.clear();
    else
        FlushAppends();
    gatherInChange_ = false;
    appendFlushFailed_ = false;
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
    bool gathered = false;
    if (gathering_) {
        if (const int32_t err = GatherAppend(offset, image, length, &gathered); err != kErrNone || gathered)
            return err;
    }
    if (const int32_t err = FlushAppends(); err != kErrNone)
        return err;
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

namespace {
constexpr uint32_t kAppendGather = 64 * 1024;
}

int32_t DataFile::GatherAppend(int32_t offset, const uint8_t* image, uint32_t length, bool* gathered)
{
    // Only a record that goes on at the end of what is gathered; anything
    // else is written on its own after the gathered ones.
    *gathered = false;
    uint32_t size = 0;
    if (FileSize(&size) != kErrNone || uint32_t(offset) != size || length > kAppendGather)
        return kErrNone;
    if (appends_.size() + length > kAppendGather) {
        if (const int32_t err = FlushAppends(); err != kErrNone)
            return err;
    }
    if (appends_.empty())
        appendsAt_ = uint32_t(offset);
    appends_.insert(appends_.end(), image, image + length);
    *gathered = true;
    return kErrNone;
}

int32_t DataFile::FlushAppends()
{
    if (appends_.empty())
        return kErrNone;
    std::vector<uint8_t> bytes;
    bytes.swap(appends_);
    int32_t err = journal_.BeforeWrite(appendsAt_, uint32_t(bytes.size()));
    const uint64_t writes = DbWriteCount();
    if (err == kErrNone)
        err = DbWriteAt(file_, appendsAt_, bytes.data(), uint32_t(bytes.size()));
    if (err == kErrNone) {
        NoteWritten(writes, appendsAt_ + uint32_t(bytes.size()), false);
        return kErrNone;
    }
    // Records the batch already counted as added are not on the disk:
    // the batch is taken back whole, counters and index too.
    // (At the batch's end the depth is already back to 0: the marks are
    // set here, not through AbandonChange.)
    ForgetFileSize();
    appendFlushFailed_ = true;
    changeFailed_ = true;
    changeAbandoned_ = true;
    return ReportWriteError(err);
}

int32_t DataFile::ResizeFile(uint32_t size)
{
    ++recordChanges_;
    // A record taken back from the end of what waits to be written (an
    // add whose index entry failed) never reaches the disk.
    if (!appends_.empty() && size >= appendsAt_ && size - appendsAt_ <= appends_.size()) {
        appends_.resize(size - appendsAt_);
        return kErrNone;
    }
    if (const int32_t err = FlushAppends(); err != kErrNone)
        return err;
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

int32_t DataFile::StoreHeader(const uint8_t* header, bool report)
{
    DbChange change(*this);
    int32_t err = FlushAppends();
    // A header the file already holds is not written again: the close after
    // a change that stored it would otherwise need room on a full disk for
    // nothing.
    uint8_t stored[kDbHeaderSize];
    if (err == kErrNone && DbReadAt(file_, 0, stored, kDbHeaderSize) == kErrNone &&
        std::memcmp(stored, header, kDbHeaderSize) == 0)
        return kErrNone;
    if (err != kErrNone)
        return err;
    err = journal_.BeforeWrite(0, kDbDataStart);
    if (err == kErrNone && WriteDatabaseHeader(file_, header, false) < 0)
        err = kErrIoDevice;
    if (err != kErrNone && report)
        ReportWriteError(err);
    return err;
}

bool DataFile::CutTornTail(uint32_t offset, uint32_t size)
{
    FlushAppends();
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
