// DataFile: the selection pass, which rebuilds the index from the record
// file, and the bulk-mail presort that follows it.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "database/bulk_mail_tiers.h"
#include "database/data_file.h"
#include "database/database_messages.h"
#include "database/field_table.h"
#include "database/match_predicates.h"
#include "database/progress_window.h"
#include "database/record_file_format.h"
#include "database/record_key.h"
#include "database/record_scanner.h"

namespace {

constexpr int32_t kStringSorting = 257;
constexpr int32_t kStringBulkMailSorting = 272;
constexpr double kDiskReserve = 50000;

}  // namespace

uint32_t DataFile::IndexKeySizeEstimate() const
{
    uint32_t sum = 0;
    for (int32_t i = 0; i < 3; ++i) {
        if (sortSpec_.FieldAt(i) > 0)
            sum += FieldMaxLength(sortSpec_.FieldAt(i));
    }
    return (sum + 14) * 2;
}

bool DataFile::CategoryFilter(int32_t mode, uint16_t mask) const
{
    return CategoryFilterMatch(current_.GetCategories(), mode, mask);
}

int32_t DataFile::BuildSelection(const uint8_t* categoryFlags, const uint8_t* criteria)
{
    if (!open_)
        return -1;
    struct Pass {
        explicit Pass(bool& flag) : on(flag) { on = true; }
        ~Pass() { on = false; }
        bool& on;
    } pass(rebuilding_);
    selectionFromIndex_ = false;
    FlushRecordCache();
    DropCacheEntry(-2);
    // A pass over the whole file asks the disk how long it is: bytes
    // another program put there are found here.
    ForgetFileSize();
    const uint16_t mask = CategoryMaskFromFlags(categoryFlags);
    const int32_t mode = CategoryFilterMode(categoryFlags);

    // Room for the new index is checked before the old one goes, so that
    // a full disk leaves the selection as it was. Where there is none to
    // keep (the first pass of an open, or one after a pass that failed)
    // the check would guard nothing: the pass runs, and only a write the
    // disk refuses says the disk is full. An estimate said to be a full
    // disk before a pass that then succeeds is a failure that never was.
    const int32_t records = stored_ > 0 ? stored_ - (deleted_ > 0 ? deleted_ : 0) : 0;
    const bool keepsSelection = live_ > 0 && !SelectionFailed();
    if (keepsSelection && !CheckDiskSpace(double(records) * IndexKeySizeEstimate() + kDiskReserve))
        return -1;
    if (const int32_t found = SelectFromIndex(categoryFlags, criteria); found != 0)
        return found;

    const int32_t step = ProgressStep(stored_);
    std::unique_ptr<DbWorkingWindow> working;
    if (step)
        working = std::make_unique<DbWorkingWindow>(WorkingMessage(kStringSorting), stored_ / step);
    ClearCurrent();
    SaveUndoState();
    selectionFailed_ = true;
    if (!ResetIndex()) {
        IndexUpkeepFailed("[10]", 9);
        return -1;
    }
    stored_ = live_ = deleted_ = newCount_ = 0;

    uint32_t size = 0;
    FlushAppends();
    FileSize(&size);
    RecordScanner scanner(file_, dataStart_, size);
    // Bulk-mail keys go to the index only once the presort has given them
    // their tiers.
    std::vector<std::string> bulkKeys;
    std::vector<int32_t> bulkOffsets;
    bool indexing = true;
    int32_t kept = 0;  // records neither deleted nor purged
    for (int32_t count = 1;; ++count) {
        const RecordScanner::Status status = scanner.Next();
        if (status == RecordScanner::Status::End)
            break;
        if (status == RecordScanner::Status::Bad && CutTornTail(scanner.offset(), size))
            break;
        if (status != RecordScanner::Status::Record) {
            MarkDamaged();
            break;
        }
        ++stored_;
        const uint32_t offset = scanner.offset();
        current_.LoadImage(scanner.bytes(), scanner.length());
        if (current_.IsDeleted()) {
            ++deleted_;
        } else if (current_.IsNew() && purgeNew_ && !readOnly_ &&
                   WriteHeaderWord(int32_t(offset), uint8_t(current_.Flags() | dbrec::kDeleted)) == 0) {
            ++deleted_;
        } else {
            ++kept;
            if (current_.IsNew())
                ++newCount_;
            if (indexing && CategoryFilter(mode, mask) && CriteriaMatch(current_, criteria) && sortSpec_.bulkMail) {
                char key[kIndexKeySize];
                BuildIndexKey(current_, sortSpec_, key);
                bulkKeys.emplace_back(key);
                bulkOffsets.push_back(int32_t(offset));
                ++live_;
            } else if (indexing && CategoryFilter(mode, mask) && CriteriaMatch(current_, criteria)) {
                currentOffset_ = int32_t(offset);
                // One report is enough: the index is marked for a rebuild.
                indexing = InsertIndexEntry(int32_t(offset)) == 1;
                if (indexing)
                    ++live_;
            }
        }
        if (working && count % step == 0)
            working->StepIt();
    }
    working.reset();
    ClearCurrent();
    NoteWholeIndex(!sortSpec_.bulkMail && indexing && !dataMark_ && live_ == kept);

    bool whole = indexing;
    if (sortSpec_.bulkMail && !dataMark_) {
        const bool firstClass = sortSpec_.bulkMail == 1;
        if ((firstClass && live_ < 500) || (!firstClass && live_ < 200)) {
            live_ = 0;
            DatabaseNote(firstClass ? 27 : 28);
        } else {
            whole = RunBulkMailPresort(bulkKeys, bulkOffsets) == 1 && whole;
        }
    } else if (sortSpec_.bulkMail) {
        live_ = 0;
    }
    // What was read while the index grew carries positions of a part of
    // it.
    DropCacheEntry(-2);
    if (live_ > 0)
        GotoRecord(0, true, true);
    else
        SaveUndoState();
    // A selection the index could not take whole (the disk filled up
    // under it) is a failed one, not a shorter one.
    selectionFailed_ = !whole;
    return whole ? 1 : -1;
}

int32_t DataFile::RunBulkMailPresort(std::vector<std::string>& keys, const std::vector<int32_t>& offsets)
{
    const int mode = sortSpec_.bulkMail == 1 ? 1 : 2;
    DbWorkingWindow working(WorkingMessage(kStringBulkMailSorting), mode == 1 ? 5 : 7);
    AssignBulkMailTiers(keys, mode);
    working.SetPos(mode == 1 ? 3 : 4);

    // Within a tier and key, records keep the order of the file, as the
    // sequence numbers of a walk that re-keys entry by entry would keep it.
    std::vector<size_t> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    for (size_t i : order) {
        DbIndexEntry entry;
        entry.child = -1;
        entry.recordPosition = offsets[i];
        entry.sequence = 0;
        std::snprintf(entry.key, sizeof entry.key, "%s", keys[i].c_str());
        if (index_->AddKeySequenced(&entry) != 1) {
            live_ = 0;
            return IndexUpkeepFailed("[4]", 9);
        }
    }
    working.SetPos(mode == 1 ? 5 : 7);
    return 1;
}
