// DataFile: deleting the records that repeat an earlier record field for
// field.

#include <string>
#include <unordered_set>
#include <vector>

#include "database/data_file.h"
#include "database/field_table.h"
#include "database/progress_window.h"
#include "database/record_file_format.h"
#include "foundation/win_error.h"

namespace {

constexpr int32_t kStringWorking = 255;
constexpr int32_t kProgressShowAt = 100;

// Fields 0-23 as one string, each behind its length: two records are
// duplicates exactly when their strings are equal.
std::string FieldsImage(const CardRecord& record)
{
    std::string image;
    for (int32_t id = 0; id < kBodyFieldCount; ++id) {
        const uint8_t length = record.GetFieldLength(id);
        image += char(length);
        image.append(reinterpret_cast<const char*>(record.FieldBody(id)), length);
    }
    return image;
}

}  // namespace

int32_t DataFile::DeleteDuplicateRecords()
{
    if (!IndexOpen())
        return -1;
    FlushRecordCache();
    struct Duplicate {
        DbIndexEntry entry;
        uint8_t flags;
    };
    std::vector<Duplicate> duplicates;
    {
        // Equal records share their index key, and the index holds the
        // records of one key together. The key is not the name's bytes (it
        // ignores the case of the first letter), so "Smith", "smith",
        // "Smith" form one group: a group ends where the key changes, and a
        // record is looked up among those of its key seen before it. Each is
        // seen once, so the walk takes time in proportion to the records,
        // however many share a name.
        DbProgressWindow progress(DatabaseName(), WorkingMessage(kStringWorking), live_, kProgressShowAt, 1);
        std::unordered_set<std::string> seen;
        std::string groupKey;
        index_->GoFirst();
        DbIndexEntry e;
        while (index_->GetNext(&e) == 1) {
            if (!progress.Step())
                break;
            ReadRecordAt(e.recordPosition, &load_, 0);
            if (load_.IsReadFailed())
                return -1;
            if (groupKey != e.key) {
                seen.clear();
                groupKey = e.key;
            }
            if (!seen.insert(FieldsImage(load_)).second)
                duplicates.push_back({e, load_.Flags()});
        }
    }
    if (duplicates.empty())
        return 0;
    {
        // One change for the whole pass: the old flags go into the journal
        // in one go, then every record is flagged deleted. A crash leaves
        // all of them deleted or none.
        DbChange change(*this);
        for (const Duplicate& d : duplicates) {
            if (journal_.Preserve(uint32_t(d.entry.recordPosition), 2) != kErrNone) {
                AbandonChange();
                return -1;
            }
        }
        for (const Duplicate& d : duplicates) {
            if (WriteHeaderWord(d.entry.recordPosition, uint8_t(d.flags | dbrec::kDeleted)) != kErrNone) {
                AbandonChange();
                return -1;
            }
            DropCacheEntry(d.entry.recordPosition);
            ++deleted_;
            --live_;
        }
    }
    if (!LastChangeKept())
        return -1;
    ++recordChanges_;
    for (Duplicate& d : duplicates) {
        if (d.entry.recordPosition == currentOffset_)
            ClearCurrent();
        // The records stay deleted; the index failure is the user's news.
        if (index_->DeleteKey(&d.entry) != 1) {
            IndexUpkeepFailed("[3]", 9);
            break;
        }
    }
    return int32_t(duplicates.size());
}
