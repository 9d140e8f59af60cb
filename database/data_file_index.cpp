// DataFile: keys and the upkeep of the index as records change. Every call
// into the index that keeps it in step with the file is made here.

#include <cstdio>
#include <cstring>

#include "database/data_file.h"
#include "database/database_messages.h"
#include "database/record_key.h"

bool DataFile::IndexOpen() const { return index_->IsOpen(); }

void DataFile::BuildKey(bool fromSaved, DbIndexEntry* entry) const
{
    entry->child = -1;
    entry->recordPosition = fromSaved ? savedOffset_ : currentOffset_;
    entry->sequence = 0;
    BuildIndexKey(fromSaved ? saved_ : current_, sortSpec_, entry->key);
}

int32_t DataFile::IndexUpkeepFailed(const char* marker, int32_t code)
{
    // One stale index fails every lookup that meets it (a print of many
    // cards meets it once per card): the user hears of it once, and the
    // index is built anew at the next open. A record file found damaged
    // has let its index go, and has said so already.
    // An index the disk had no room for (or refused) is no damaged one:
    // the disk's own box has said what happened.
    if (!indexFailureShown_ && !dataMark_ && index_->FileError() == 0)
        DatabaseErrorBox(marker, code);
    indexFailureShown_ = true;
    indexMark_ = true;
    return 0;
}

int32_t DataFile::SeekBuiltKey(DbIndexEntry* e)
{
    // The presort put a tier in front of the key, and for the state tier
    // moved the state before the ZIP code: the entry may lie under any of
    // the tiers' keys.
    auto tierKey = [e](char tier, DbIndexEntry* probe) {
        *probe = *e;
        probe->key[kBulkTier] = tier;
        if (tier == '2') {
            char rearranged[kIndexKeySize];
            rearranged[0] = tier;
            std::memcpy(rearranged + 1, e->key + kBulkState, kBulkStateSize);
            std::memcpy(rearranged + 1 + kBulkStateSize, e->key + kBulkZip, kBulkZipSize);
            rearranged[kBulkKeyLength] = 0;
            std::memcpy(probe->key, rearranged, kBulkKeyLength + 1);
        }
    };
    index_->SetIgnoreSequence(true);
    DbIndexEntry probe = *e;
    int32_t found = 0;
    if (sortSpec_.bulkMail) {
        // Going through the records in order the cursor stands at the
        // entry or just before it. A record has one entry, so the key that
        // finds it there is the one the searches below would find; a
        // search for each tier that misses costs a walk through every
        // entry of the same ZIP code.
        found = index_->SeekEntryNearCursor(&probe);
        for (char tier : {'0', '1', '2', '3'}) {
            if (found == 1)
                break;
            tierKey(tier, &probe);
            found = index_->SeekEntryNearCursor(&probe);
        }
        if (found != 1)
            probe = *e;
    }
    if (found != 1)
        found = index_->SeekEntry(&probe);
    if (found != 1 && sortSpec_.bulkMail) {
        for (char tier : {'0', '1', '2', '3'}) {
            tierKey(tier, &probe);
            found = index_->SeekEntry(&probe);
            if (found == 1)
                break;
        }
    }
    index_->SetIgnoreSequence(false);
    if (found == 1)
        *e = probe;
    return found == 1 ? 1 : 0;
}

int32_t DataFile::InsertIndexEntry(int32_t offset)
{
    ++recordChanges_;
    if (!IndexOpen())
        return IndexUpkeepFailed("[10]", 2);
    BuildKey(false, &entry_);
    entry_.recordPosition = offset;
    const bool flushFailedBefore = appendFlushFailed_;
    if (index_->AddKeySequenced(&entry_) != 1) {
        // The records waiting to be written failed (already said), not
        // the index: its tree is as it was.
        if (appendFlushFailed_ && !flushFailedBefore) {
            indexMark_ = true;
            return 0;
        }
        return IndexUpkeepFailed("[2]", 9);
    }
    return 1;
}

int32_t DataFile::InsertIndexKey(int32_t offset, const char* key)
{
    ++recordChanges_;
    if (!IndexOpen())
        return IndexUpkeepFailed("[10]", 2);
    entry_.child = -1;
    entry_.recordPosition = offset;
    entry_.sequence = 0;
    std::snprintf(entry_.key, sizeof entry_.key, "%s", key);
    if (index_->AddKeySequenced(&entry_) != 1)
        return IndexUpkeepFailed("[2]", 9);
    return 1;
}

int32_t DataFile::DeleteIndexEntry()
{
    ++recordChanges_;
    if (!IndexOpen())
        return IndexUpkeepFailed("[10]", 9);
    BuildKey(true, &entry_);
    if (SeekBuiltKey(&entry_) != 1 || index_->DeleteKey(&entry_) != 1)
        return IndexUpkeepFailed("[3]", 9);
    return 1;
}

int32_t DataFile::ReinsertIndexEntry()
{
    ++recordChanges_;
    if (!IndexOpen())
        return IndexUpkeepFailed("[10]", 9);
    BuildKey(true, &entry_);
    if (SeekBuiltKey(&entry_) != 1 || index_->DeleteKey(&entry_) != 1)
        return IndexUpkeepFailed("[4]", 9);
    const uint32_t sequence = entry_.sequence;
    BuildKey(false, &entry_);
    entry_.sequence = sequence;
    if (index_->AddKey(&entry_) != 1)
        return IndexUpkeepFailed("[4]", 9);
    return 1;
}

int32_t DataFile::UpdateIndexPosition()
{
    ++recordChanges_;
    if (!IndexOpen())
        return IndexUpkeepFailed("[10]", 9);
    BuildKey(true, &entry_);
    if (SeekBuiltKey(&entry_) != 1 || index_->ReplaceRecordPosition(&entry_, currentOffset_) != 1)
        return IndexUpkeepFailed("[5]", 9);
    return 1;
}

bool DataFile::ResetIndex()
{
    ++recordChanges_;
    // An index open here was written unclean, and flushed so, when it was
    // created or opened: whatever a crash leaves under its name is built
    // anew, so its successor need not be flushed.
    const bool replacingOwn = IndexOpen();
    if (replacingOwn && !index_->Failed()) {
        if (index_->Empty() != 1)
            return false;
        index_->SetDescending(sortSpec_.descending && !sortSpec_.bulkMail);
        return true;
    }
    if (replacingOwn) {
        index_->SetDiscard(1);
        index_->Close();
    }
    return CreateIndex(!replacingOwn) == 1;
}
