// DataFile: adding, storing, deleting and undeleting records.
//
// The file is the truth: the index is rebuilt from it at the next open
// whenever it may be out of step. So each change first puts the record's
// new bytes on disk, and only then changes what points at the old ones; a
// failed step undoes what went before it and reports the error.

#include <cstring>

#include "database/data_file.h"
#include "database/database_messages.h"
#include "database/db_file_io.h"
#include "database/delivery_point.h"
#include "database/field_table.h"
#include "database/record_file_format.h"
#include "database/record_layout.h"
#include "foundation/pstr.h"
#include "foundation/win_error.h"

namespace {

void FieldPStr(const CardRecord& record, int32_t id, uint8_t* out)
{
    out[0] = record.GetFieldLength(id);
    std::memcpy(out + 1, record.FieldBody(id), out[0]);
}

// The length of the sound record the file holds at offset, else 0.
uint32_t StoredLengthAt(FileHandle file, int32_t offset)
{
    uint8_t head[dbrec::kHeadSize];
    if (offset < 0 || DbReadAt(file, uint32_t(offset), head, dbrec::kHeadSize) != kErrNone)
        return 0;
    return SoundRecordLength(head);
}

}  // namespace

void DataFile::UpdateDeliveryPoint()
{
    char zip[256];
    const int32_t zipLength = current_.GetFieldText(kFieldZipCode, zip);
    if (zipLength == 12) {
        current_.SetFieldText(kFieldDeliveryPoint, zip + 10);
        return;
    }
    PStr address, city, point;
    FieldPStr(current_, zipLength == 0 ? kFieldAddress2 : kFieldAddress1, address);
    FieldPStr(current_, kFieldCity, city);
    DeliveryPointFromAddress(address, city, point);
    current_.SetFieldBytes(kFieldDeliveryPoint, point + 1, point[0]);
}

void DataFile::SyncSavedCopy()
{
    // Keys and lengths of the stored record come from the saved copy; it
    // must be the record as the file holds it, not edits in progress.
    if (savedOffset_ == currentOffset_ || currentOffset_ < 0)
        return;
    ReadRecordAt(currentOffset_, &saved_, 0);
    savedOffset_ = currentOffset_;
    savedPosition_ = currentPosition_;
}

int32_t DataFile::WriteHeaderWord(int32_t offset, uint8_t flags)
{
    const uint8_t word[2] = {dbrec::kMarker, flags};
    return WriteImage(offset, word, 2);
}

int32_t DataFile::RelocationOffset(int32_t offset) const
{
    uint32_t size = 0;
    FileSize(&size);
    uint32_t length = 0;
    if (savedOffset_ == offset) {
        length = saved_.GetLength();
    } else {
        uint8_t head[dbrec::kHeadSize];
        const_cast<DataFile*>(this)->FlushAppends();
        if (DbReadAt(file_, uint32_t(offset), head, dbrec::kHeadSize) == kErrNone)
            length = SoundRecordLength(head);
    }
    return uint64_t(offset) + length < size ? int32_t(size) : offset;
}

int32_t DataFile::MarkOldPlaceDeleted(int32_t offset)
{
    const int32_t err = WriteHeaderWord(offset, dbrec::kDeleted);
    DropCacheEntry(offset);
    if (err != kErrNone)
        return err;
    ++stored_;
    ++deleted_;
    return kErrNone;
}

int32_t DataFile::AddRecord(bool reposition, bool saveUndo)
{
    if (live_ >= kMaxLiveRecords) {
        DatabaseErrorBox(nullptr, 10);
        return -1;
    }
    uint32_t end = 0;
    if (FileSize(&end) != kErrNone)
        return -1;
    const int32_t offset = int32_t(end);
    DbChange inChange(*this, true);
    UpdateDeliveryPoint();
    const uint8_t flags = current_.Flags();
    current_.SetGrown(false);
    current_.SetModified(false);

    // The record is on disk before the index knows it; a torn or refused
    // write leaves the file as it was. Inside a batch the record may wait
    // with the others the batch added, for one write (FlushAppends).
    gathering_ = gatherInChange_ && changeDepth_ > 1 && !journal_.Lone();
    const int32_t written = WriteRecord(offset, -1, true);
    gathering_ = false;
    if (written != kErrNone) {
        ResizeFile(end);
        current_.SetFlags(flags);
        return -1;
    }
    if (IndexOpen() && !appends_.empty())
        index_->SetBeforeNewBlock([this] { return FlushAppends() == kErrNone; });
    const int32_t indexed = InsertIndexEntry(offset);
    if (IndexOpen())
        index_->SetBeforeNewBlock(nullptr);
    if (indexed != 1) {
        DropCacheEntry(offset);
        ResizeFile(end);
        current_.SetFlags(flags);
        return -1;
    }
    currentOffset_ = offset;
    if (current_.IsNew())
        ++newCount_;
    ++live_;
    ++stored_;
    currentPosition_ = reposition ? ComputeCurrentPosition(true) : -1;
    RenumberCacheEntries(currentPosition_, true);
    if (const int32_t slot = FindCacheByOffset(offset); slot >= 0)
        cacheEntries_[slot].position = currentPosition_;
    if (saveUndo)
        SaveUndoState();
    return offset;
}

int32_t DataFile::UpdateRecord(bool reposition, bool saveUndo)
{
    // A buffer whose read failed holds no record, only flags that read as
    // deleted and changed: stored, it would put an empty deleted record
    // over one the repair can still bring back.
    if (current_.IsReadFailed())
        return -1;
    UpdateDeliveryPoint();
    if (currentOffset_ < 0) {
        if (current_.IsModified())
            current_.SetNew(false);
        return AddRecord(reposition, saveUndo) >= 0 ? 20 : 0;
    }
    if (!current_.IsModified() && !current_.IsGrown())
        return 0;
    // A record stored in place, or moved and its old place given up, is
    // the old record or the new one after a crash, never a mix or both.
    DbChange inChange(*this);
    SyncSavedCopy();
    // The buffer may have been cleared or replaced since it was read, so
    // its place in the file decides what fits: a longer buffer has grown,
    // and a shorter one keeps the rest of the place as slack, or the bytes
    // it leaves behind would stand where the next record is looked for.
    FlushAppends();
    const uint32_t place = StoredLengthAt(file_, currentOffset_);
    if (place && current_.GetLength() > place)
        current_.SetGrown(true);

    const uint8_t flags = current_.Flags();
    const int32_t oldOffset = currentOffset_;
    const int32_t oldPosition = currentPosition_;
    const bool wasNew = current_.IsNew();
    current_.SetModified(false);
    current_.SetNew(false);
    int32_t change = 1;
    DbIndexEntry before, after;
    BuildKey(true, &before);
    BuildKey(false, &after);
    if (std::strcmp(before.key, after.key) != 0)
        change = 2;
    if (current_.IsGrown()) {
        current_.SetGrown(false);
        change += 10;
    }
    auto fail = [&] {
        current_.SetFlags(flags);
        currentOffset_ = oldOffset;
        return -1;
    };

    int32_t offset = oldOffset;
    bool moved = false;
    if (change >= 10) {
        offset = RelocationOffset(oldOffset);
        moved = offset != oldOffset;
    }
    if (moved) {
        uint32_t end = 0;
        FileSize(&end);
        if (WriteRecord(offset, oldPosition, true) != kErrNone) {
            ResizeFile(end);
            return fail();
        }
        if (MarkOldPlaceDeleted(oldOffset) != kErrNone) {
            // Two live copies must not be left behind.
            DropCacheEntry(offset);
            ResizeFile(end);
            return fail();
        }
        currentOffset_ = offset;
        if (change == 11)
            UpdateIndexPosition();
    } else {
        if (place && current_.GetLength() < place)
            current_.SetSlack(int16_t(place - dbrec::kHeadSize - current_.LengthFrom(0)));
        if (WriteRecord(offset, oldPosition, true) != kErrNone)
            return fail();
    }
    if (wasNew && newCount_ > 0)
        --newCount_;

    if (change == 2 || change == 12) {
        RenumberCacheEntries(oldPosition, false);
        ReinsertIndexEntry();
        currentPosition_ = reposition ? ComputeCurrentPosition(true) : -1;
        RenumberCacheEntries(currentPosition_, true);
        if (const int32_t slot = FindCacheByOffset(currentOffset_); slot >= 0)
            cacheEntries_[slot].position = currentPosition_;
    }
    if (saveUndo)
        SaveUndoState();
    return change;
}

int32_t DataFile::DeleteRecord(bool saveUndo)
{
    if (currentOffset_ < 0)
        return 0;
    const int32_t offset = currentOffset_;
    const int32_t position = currentPosition_ >= 0 ? currentPosition_ : ComputeCurrentPosition(true);
    SyncSavedCopy();
    if (DeleteIndexEntry() != 1)
        return 0;
    // Only the flags byte changes: the record is deleted or not.
    DbChange inChange(*this, true);
    DbIndexEntry removed = entry_;
    const uint8_t flags = uint8_t(saved_.Flags() | dbrec::kDeleted);
    if (WriteHeaderWord(offset, flags) != kErrNone) {
        index_->AddKey(&removed);
        return 0;
    }
    // A cached copy would bring the record back when written.
    DropCacheEntry(offset);
    ++deleted_;
    current_.SetDeleted(true);
    RenumberCacheEntries(position, false);
    --live_;

    if (live_ <= 0 || position < 0) {
        ClearCurrent();
        if (live_ > 0)
            GotoRecord(0, true, false);
        if (saveUndo)
            SaveUndoState();
        return 1;
    }
    const int32_t next = position < live_ ? position : position - 1;
    if (GotoRecord(next, true, saveUndo) < 0) {
        ClearCurrent();
        if (saveUndo)
            SaveUndoState();
    }
    return 1;
}

int32_t DataFile::UndeleteRecord(int32_t offset)
{
    ReadRecordAt(offset, &load_, 0);
    if (load_.IsReadFailed() || !load_.IsDeleted())
        return 0;
    DbChange inChange(*this);
    const uint32_t oldLength = load_.GetLength();
    current_.CopyFrom(load_);
    current_.SetDeleted(false);
    UpdateDeliveryPoint();
    current_.SetGrown(false);
    current_.SetModified(true);

    // A delivery point that grew the record moves it to the end of the
    // file; its old place stays deleted.
    uint32_t end = 0;
    FileSize(&end);
    int32_t at = offset;
    if (current_.GetLength() > oldLength && uint64_t(offset) + oldLength < end)
        at = int32_t(end);
    if (WriteRecord(at, -1, true) != kErrNone) {
        if (at != offset)
            ResizeFile(end);
        return 0;
    }
    if (InsertIndexEntry(at) != 1) {
        if (at != offset)
            ResizeFile(end);
        else
            WriteHeaderWord(offset, load_.Flags());
        DropCacheEntry(at);
        return 0;
    }
    currentOffset_ = at;
    ++live_;
    if (at == offset)
        --deleted_;
    else
        ++stored_;
    currentPosition_ = ComputeCurrentPosition(true);
    RenumberCacheEntries(currentPosition_, true);
    if (const int32_t slot = FindCacheByOffset(at); slot >= 0)
        cacheEntries_[slot].position = currentPosition_;
    SaveUndoState();
    return 1;
}
