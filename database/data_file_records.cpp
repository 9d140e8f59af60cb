// DataFile: the current record, its saved copy, and moving through the
// records in index order.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "database/data_file.h"
#include "database/db_file_io.h"
#include "database/field_table.h"
#include "database/merge_text.h"
#include "database/record_file_format.h"
#include "database/record_layout.h"
#include "foundation/cstr.h"
#include "foundation/dates.h"
#include "foundation/win_error.h"

namespace {

// Bytes a record read asks for first: the head and the bodies of nearly
// every record.
constexpr uint32_t kFirstRead = 512;

}  // namespace

void DataFile::ClearCurrent()
{
    current_.Clear();
    currentOffset_ = -1;
    currentPosition_ = -1;
}

uint32_t DataFile::ReadRecordAt(int32_t offset, CardRecord* buffer, uint32_t knownLength)
{
    FlushAppends();
    uint32_t size = 0;
    FileSize(&size);
    uint8_t* image = buffer->Image();
    bool sound = offset >= int32_t(dataStart_) && uint32_t(offset) < size;
    uint32_t length = 0;
    if (sound && knownLength) {
        length = knownLength;
        uint32_t got = 0;
        sound = knownLength <= CardRecord::MaxRecordSize() && size - uint32_t(offset) >= length &&
                readCache_.Read(file_, size, uint32_t(offset), image, length, &got) == kErrNone && got == length &&
                SoundRecordLength(image) == length;
    } else if (sound) {
        // One read takes the head and, nearly always, the whole record; a
        // longer one reads the rest. (Reading the most a record can take
        // every time copies three times what most records hold.)
        const uint32_t most = std::min(CardRecord::MaxRecordSize(), size - uint32_t(offset));
        const uint32_t want = std::min(kFirstRead, most);
        uint32_t got = 0;
        sound = want >= dbrec::kHeadSize &&
                readCache_.Read(file_, size, uint32_t(offset), image, want, &got) == kErrNone && got == want;
        length = sound ? SoundRecordLength(image) : 0;
        sound = length != 0 && length <= most;
        if (sound && length > want)
            sound = readCache_.Read(file_, size, uint32_t(offset) + want, image + want, length - want, &got) ==
                        kErrNone &&
                    got == length - want;
    }
    if (!sound) {
        buffer->Clear();
        buffer->SetFlags(dbrec::kReadFailed);
        MarkDamaged();
        return size;
    }
    return uint32_t(offset) + length;
}

int32_t DataFile::SetCurrentAndRead(int32_t offset, int32_t position, bool seekCursor, bool saveUndo)
{
    currentOffset_ = offset;
    currentPosition_ = position;
    if (cacheEnabled_)
        ReadThroughCache(offset, position);
    else
        ReadRecordAt(offset, &current_, 0);
    const bool failed = current_.IsReadFailed();
    if (seekCursor && !failed)
        SeekCurrentEntry(true);
    if (saveUndo)
        SaveUndoState();
    return failed ? -1 : offset;
}

int32_t DataFile::GotoRecord(int32_t position, bool seekCursor, bool saveUndo)
{
    // The file is read from memory only within one walk through the
    // records: a walk that starts over (a print, a list shown again) reads
    // what the disk holds now, whatever another program did meanwhile.
    if (!located_.valid || position != located_.position + 1)
        readCache_.Clear();
    int32_t offset = -1;
    if (FindCacheByPosition(position, &offset) < 0) {
        lookupMode_ = 0;
        offset = LocateIndexPosition(position, true);
        lookupMode_ = 1;
        if (offset < 0)
            offset = LocateIndexPosition(position, false);
    }
    if (offset < 0)
        return -1;
    return SetCurrentAndRead(offset, position, seekCursor, saveUndo);
}

int32_t DataFile::GotoIndexPosition(int32_t position, bool saveUndo)
{
    const int32_t offset = LocateIndexPosition(position, false);
    if (offset < 0)
        return -1;
    return SetCurrentAndRead(offset, position, false, saveUndo);
}

int32_t DataFile::LocateIndexPosition(int32_t position, bool useCache)
{
    if (!IndexOpen() || position < 0)
        return -1;
    // Going through the records in order, the cursor stands on the entry
    // located last: the next one is a step away.
    if (located_.valid && located_.changes == recordChanges_ &&
        (position == located_.position || position == located_.position + 1)) {
        DbIndexEntry at = located_.entry;
        if (index_->SeekEntryNearCursor(&at) == 1) {
            if (position == located_.position) {
                entry_ = at;
                return entry_.recordPosition;
            }
            if (index_->GetNext(&entry_) == 1) {
                located_ = {true, recordChanges_, position, entry_};
                return entry_.recordPosition;
            }
        }
    }
    located_.valid = false;
    int32_t from = -1;
    if (useCache && cacheEnabled_) {
        int32_t best = -1;
        int32_t bestDistance = position;
        for (int32_t slot = 0; slot < kRecordCacheSlots && bestDistance > 0; ++slot) {
            const CacheEntry& e = cacheEntries_[slot];
            if (e.offset < 0 || e.position < 0)
                continue;
            const int32_t distance = std::abs(position - e.position);
            if (distance < bestDistance) {
                best = slot;
                bestDistance = distance;
            }
        }
        if (best >= 0) {
            current_.LoadImage(CacheImage(best), RecordLength(CacheImage(best)));
            currentOffset_ = cacheEntries_[best].offset;
            currentPosition_ = cacheEntries_[best].position;
            if (SeekCurrentEntry(true) == 1)
                from = currentPosition_;
        }
    }
    if (from < 0) {
        index_->GoFirst();
        if (index_->GetNext(&entry_) != 1) {
            entry_.recordPosition = -1;
            return -1;
        }
        from = 0;
    }
    for (; from < position; ++from) {
        if (index_->GetNext(&entry_) != 1) {
            entry_.recordPosition = -1;
            return -1;
        }
    }
    for (; from > position; --from) {
        if (index_->GetPrev(&entry_) != 1) {
            entry_.recordPosition = -1;
            return -1;
        }
    }
    located_ = {true, recordChanges_, position, entry_};
    return entry_.recordPosition;
}

int32_t DataFile::SeekCurrentEntry(bool fromCurrent)
{
    if (!IndexOpen())
        return 0;
    if ((fromCurrent ? currentOffset_ : savedOffset_) < 0) {
        index_->GoFirst();
        return 0;
    }
    BuildKey(!fromCurrent, &entry_);
    if (SeekBuiltKey(&entry_) != 1) {
        if (lookupMode_ == 1)
            IndexUpkeepFailed("[1]", 9);
        lookupMode_ = 1;
        return 0;
    }
    return 1;
}

int32_t DataFile::ComputeCurrentPosition(bool seekFirst)
{
    if (seekFirst && SeekCurrentEntry(true) != 1)
        return -1;
    DbIndexEntry here = entry_;
    DbIndexEntry walk;
    int32_t count = 0;
    while (index_->GetPrev(&walk) == 1)
        ++count;
    // Back onto the entry, so that the cursor stands where it stood.
    index_->SetIgnoreSequence(true);
    index_->SeekEntry(&here);
    index_->SetIgnoreSequence(false);
    entry_ = here;
    return count;
}

int32_t DataFile::MoveBy(bool seekFirst, int32_t delta, bool read, bool saveUndo)
{
    if (live_ <= 0 || !IndexOpen()) {
        ClearCurrent();
        SaveUndoState();
        return -1;
    }
    if (seekFirst && SeekCurrentEntry(true) != 1) {
        if (IndexOpen())
            index_->GoFirst();
        ClearCurrent();
        return -1;
    }
    int32_t steps = 0;
    const int32_t wanted = std::abs(delta);
    for (; steps < wanted; ++steps) {
        if ((delta > 0 ? index_->GetNext(&entry_) : index_->GetPrev(&entry_)) != 1) {
            // Back onto the last (or first) entry.
            if (delta > 0)
                index_->GetPrev(&entry_);
            else
                index_->GetNext(&entry_);
            break;
        }
    }
    if (delta != 0 && entry_.recordPosition >= 0) {
        const bool same = entry_.recordPosition == currentOffset_;
        currentOffset_ = entry_.recordPosition;
        if (steps > 0 && currentPosition_ >= 0)
            currentPosition_ += delta > 0 ? steps : -steps;
        else if (steps > 0 || !same || currentPosition_ < 0)
            currentPosition_ = ComputeCurrentPosition(false);
    }
    if (read && currentOffset_ >= 0) {
        if (cacheEnabled_)
            ReadThroughCache(currentOffset_, currentPosition_);
        else
            ReadRecordAt(currentOffset_, &current_, 0);
    }
    if (saveUndo)
        SaveUndoState();
    return steps == wanted ? currentOffset_ : -1;
}

void DataFile::SaveUndoState()
{
    saved_.CopyFrom(current_);
    savedOffset_ = currentOffset_;
    savedPosition_ = currentPosition_;
}

void DataFile::RestoreUndoState(bool restoreBuffer)
{
    currentOffset_ = savedOffset_;
    currentPosition_ = savedPosition_;
    if (restoreBuffer)
        current_.CopyFrom(saved_);
}

void DataFile::SwapScratch(bool restore)
{
    if (restore) {
        current_.CopyFrom(scratch_);
        currentOffset_ = scratchOffset_;
        currentPosition_ = scratchPosition_;
    } else {
        scratch_.CopyFrom(current_);
        scratchOffset_ = currentOffset_;
        scratchPosition_ = currentPosition_;
    }
}

bool DataFile::FieldChanged(int32_t field, bool compareLengths) const
{
    if (!IsBodyField(field))
        return false;
    const uint8_t a = current_.GetFieldLength(field);
    const uint8_t b = saved_.GetFieldLength(field);
    if (compareLengths && a != b)
        return true;
    return std::memcmp(current_.FieldBody(field), saved_.FieldBody(field), a < b ? a : b) != 0;
}

bool DataFile::GetFieldDisplayText(int32_t id, bool skipNew, char* out) const
{
    out[0] = 0;
    if (skipNew && saved_.IsNew())
        return false;
    if (id == kFieldPostalDigits) {
        PostalCodeDigits(this, out);
    } else if (IsBodyField(id)) {
        saved_.GetFieldText(id, out);
        if (id == kFieldDate && std::strlen(out) == 8)
            FormatStoredDate(out, dateStyle_);
    } else {
        return false;
    }
    StrTrimRight(out);
    return true;
}
