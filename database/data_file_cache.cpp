// DataFile: the cache of 56 records, found by file offset or by index
// position. Records are written through to the file as they are stored;
// a slot is only dirty when a caller asks for a delayed write.

#include <cstring>

#include "database/data_file.h"
#include "database/db_host.h"
#include "database/record_layout.h"
#include "foundation/win_error.h"

int32_t DataFile::FindCacheByOffset(int32_t offset) const
{
    if (!cacheEnabled_ || offset < 0)
        return -1;
    for (int32_t slot = 0; slot < kRecordCacheSlots; ++slot) {
        if (cacheEntries_[slot].offset == offset)
            return slot;
    }
    return -1;
}

int32_t DataFile::FindCacheByPosition(int32_t position, int32_t* offset) const
{
    if (!cacheEnabled_ || position < 0)
        return -1;
    for (int32_t slot = 0; slot < kRecordCacheSlots; ++slot) {
        if (cacheEntries_[slot].offset >= 0 && cacheEntries_[slot].position == position) {
            *offset = cacheEntries_[slot].offset;
            return slot;
        }
    }
    return -1;
}

int32_t DataFile::TakeCacheSlot()
{
    const int32_t slot = (cacheLastTaken_ + 1) % kRecordCacheSlots;
    cacheLastTaken_ = slot;
    CacheEntry& e = cacheEntries_[slot];
    if (e.dirty && e.offset >= 0)
        WriteImage(e.offset, CacheImage(slot), uint32_t(RecordLength(CacheImage(slot))));
    e = CacheEntry{};
    return slot;
}

int32_t DataFile::LoadIntoCache(int32_t offset, int32_t position)
{
    if (!cacheEnabled_)
        return -1;
    ReadRecordAt(offset, &load_, 0);
    if (load_.IsReadFailed())
        return -1;
    const int32_t slot = TakeCacheSlot();
    std::memcpy(CacheImage(slot), load_.Image(), CardRecord::MaxRecordSize());
    cacheEntries_[slot].offset = offset;
    cacheEntries_[slot].position = position;
    return slot;
}

int32_t DataFile::ReadThroughCache(int32_t offset, int32_t position)
{
    int32_t slot = FindCacheByOffset(offset);
    if (slot < 0) {
        slot = LoadIntoCache(offset, position);
        if (slot < 0) {
            current_.Clear();
            current_.SetFlags(0xFF);
            return -1;
        }
    } else if (position >= 0) {
        cacheEntries_[slot].position = position;
    }
    std::memcpy(current_.Image(), CacheImage(slot), CardRecord::MaxRecordSize());
    return slot;
}

int32_t DataFile::WriteThroughCache(int32_t offset, int32_t position, bool writeThrough)
{
    int32_t slot = FindCacheByOffset(offset);
    if (slot >= 0 && !writeThrough) {
        std::memcpy(CacheImage(slot), current_.Image(), CardRecord::MaxRecordSize());
        cacheEntries_[slot].position = position;
        cacheEntries_[slot].dirty = true;
        return kErrNone;
    }
    const int32_t err = WriteImage(offset, current_.Image(), current_.GetLength());
    if (err != kErrNone) {
        // The slot must not claim what the file does not hold.
        DropCacheEntry(offset);
        return err;
    }
    if (slot < 0) {
        if (current_.IsDeleted() || !cacheEnabled_)
            return kErrNone;
        slot = TakeCacheSlot();
    }
    std::memcpy(CacheImage(slot), current_.Image(), CardRecord::MaxRecordSize());
    cacheEntries_[slot] = CacheEntry{false, position, offset};
    return kErrNone;
}

int32_t DataFile::WriteRecord(int32_t offset, int32_t position, bool writeThrough)
{
    if (!cacheEnabled_)
        return WriteImage(offset, current_.Image(), current_.GetLength());
    return WriteThroughCache(offset, position, writeThrough);
}

void DataFile::RenumberCacheEntries(int32_t position, bool inserted)
{
    for (CacheEntry& e : cacheEntries_) {
        if (e.position < 0)
            continue;
        if (position < 0)
            e.position = -1;
        else if (inserted && e.position >= position)
            ++e.position;
        else if (!inserted && e.position == position)
            e.position = -1;
        else if (!inserted && e.position > position)
            --e.position;
    }
}

void DataFile::DropCacheEntry(int32_t offset)
{
    for (CacheEntry& e : cacheEntries_) {
        if (offset == -2 || (e.offset == offset && offset >= 0))
            e = CacheEntry{};
    }
}

int32_t DataFile::FlushRecordCache()
{
    // Every pass and walk starts here: it reads what the disk holds now.
    readCache_.Clear();
    int32_t result = kErrNone;
    for (int32_t slot = 0; slot < kRecordCacheSlots && cacheEnabled_; ++slot) {
        CacheEntry& e = cacheEntries_[slot];
        if (!e.dirty || e.offset < 0)
            continue;
        const int32_t err = WriteImage(e.offset, CacheImage(slot), uint32_t(RecordLength(CacheImage(slot))));
        if (err == kErrNone)
            e.dirty = false;
        else if (result == kErrNone)
            result = err;
    }
    return result;
}

void DataFile::ReloadCache()
{
    for (int32_t slot = 0; slot < kRecordCacheSlots && cacheEnabled_; ++slot) {
        CacheEntry& e = cacheEntries_[slot];
        if (e.offset < 0)
            continue;
        ReadRecordAt(e.offset, &load_, 0);
        if (load_.IsReadFailed()) {
            e = CacheEntry{};
            continue;
        }
        std::memcpy(CacheImage(slot), load_.Image(), CardRecord::MaxRecordSize());
        e.dirty = false;
    }
}

int32_t DataFile::PrefetchRange(int32_t first, int32_t last)
{
    if (!cacheEnabled_ || first < 0 || last < first)
        return -1;
    const bool wait = live_ > 500;
    if (wait)
        CurrentDbHost().WaitCursor(true);
    // Locating through the cache borrows the current buffer.
    SwapScratch(false);
    const int32_t firstOffset = LocateIndexPosition(first, true);
    SwapScratch(true);
    int32_t refusals = 0;
    for (int32_t position = first; firstOffset >= 0 && position <= last; ++position) {
        if (position > first && index_->GetNext(&entry_) != 1)
            break;
        const int32_t offset = entry_.recordPosition;
        if (const int32_t slot = FindCacheByOffset(offset); slot >= 0) {
            cacheEntries_[slot].position = position;
            continue;
        }
        // The slot must hold neither the saved copy's record nor another
        // record of the range.
        int32_t next = (cacheLastTaken_ + 1) % kRecordCacheSlots;
        while (refusals <= kRecordCacheSlots) {
            const CacheEntry& e = cacheEntries_[next];
            if ((e.offset < 0 || e.offset != savedOffset_) && (e.position < first || e.position > last))
                break;
            ++refusals;
            cacheLastTaken_ = next;
            next = (next + 1) % kRecordCacheSlots;
        }
        if (refusals > kRecordCacheSlots)
            break;
        LoadIntoCache(offset, position);
    }
    if (wait)
        CurrentDbHost().WaitCursor(false);
    return firstOffset;
}
