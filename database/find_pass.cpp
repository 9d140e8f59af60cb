// DataFile: find (four kinds, three directions) and incremental find.

#include <cstring>
#include <string>

#include "database/data_file.h"
#include "database/field_table.h"
#include "database/match_predicates.h"
#include "database/progress_window.h"
#include "database/record_file_format.h"
#include "database/record_key.h"
#include "foundation/cstr.h"

namespace {

constexpr int32_t kStringFinding = 262;
constexpr int32_t kStringSearching = 263;

}  // namespace

int32_t DataFile::FindRecords(int32_t direction, int32_t kind, const uint8_t* criteria)
{
    if (!IndexOpen())
        return -1;
    RestoreUndoState(true);
    int32_t position = direction == kFindFromFirst ? -1 : currentPosition_;
    if (direction != kFindFromFirst && position < 0 && currentOffset_ >= 0)
        position = ComputeCurrentPosition(true);
    int32_t total = live_;
    if (direction == kFindForward)
        total = live_ - position;
    else if (direction == kFindBackward)
        total = position;
    std::string caption;
    if (kind == kFindValues || kind == kFindKey)
        caption = WorkingMessage(kStringFinding);
    else if (kind == kFindAllFields)
        caption = WorkingMessage(kStringSearching);
    DbProgressWindow progress(DatabaseName(), caption, total, kind == kFindKey ? 63000 : 100, 1);

    FlushRecordCache();
    if (direction == kFindFromFirst || currentOffset_ < 0) {
        index_->GoFirst();
        position = -1;
    } else if (SeekCurrentEntry(true) != 1) {
        return -1;
    }

    const bool backward = direction == kFindBackward;
    for (;;) {
        const int32_t step = backward ? index_->GetPrev(&entry_) : index_->GetNext(&entry_);
        if (step != 1 || !progress.Step())
            return -1;
        position += backward ? -1 : 1;
        if (kind == kFindKey) {
            char key[kIndexKeySize];
            StrCopyN(key, reinterpret_cast<const char*>(criteria + (dbh::kKeyText - kCriteriaBase)), kIndexKeySize);
            key[0] = KeyUpper(key[0]);
            std::memcpy(entry_.key, key, sizeof key);
            entry_.sequence = 0;
            if (index_->LocateKey(&entry_) == -2)
                return -1;
            const int32_t offset = entry_.recordPosition;
            position = ComputeCurrentPosition(false);
            SetCurrentAndRead(offset, position, false, true);
            return position;
        }
        ReadRecordAt(entry_.recordPosition, &current_, 0);
        if (current_.IsReadFailed())
            return -1;
        bool match = false;
        switch (kind) {
        case kFindValues: match = FindOneMatch(current_, criteria, false); break;
        case kFindAllFields: match = SearchAllMatch(current_, criteria, true); break;
        case kFindQuery: match = QueryMatch(current_, criteria); break;
        default: break;
        }
        if (match) {
            currentOffset_ = entry_.recordPosition;
            currentPosition_ = position;
            SaveUndoState();
            return position;
        }
        RestoreUndoState(true);
    }
}

int32_t DataFile::IncrementalFind(const TypedEntries& typed, bool keyOnly)
{
    if (!IndexOpen())
        return -1;
    int32_t keyColumn = -1;
    for (int32_t i = 0; i < 3 && keyColumn < 0; ++i) {
        if (sortSpec_.FieldAt(i) >= 0)
            keyColumn = FieldIndexOfId(sortSpec_.FieldAt(i), 0);
    }
    if (keyColumn >= int32_t(dbh::kColumnCount))
        keyColumn = -1;
    const bool keyTyped = keyColumn >= 0 && typed.typed[keyColumn] && typed.texts[keyColumn][0];

    if (keyTyped) {
        StrCopyN(entry_.key, typed.texts[keyColumn], 64);
        entry_.key[0] = KeyUpper(entry_.key[0]);
        entry_.sequence = 0;
        if (index_->LocateKey(&entry_) == -2)
            return -1;
    } else {
        if (keyOnly)
            return -1;
        index_->GoFirst();
        if (index_->GetNext(&entry_) != 1)
            return -1;
    }
    for (;;) {
        ReadRecordAt(entry_.recordPosition, &load_, 0);
        if (load_.IsReadFailed())
            return -1;
        const int32_t match = PrefixMatch(load_, typed, keyTyped ? keyColumn : -1);
        if (match < 0)
            return -1;
        if (match > 0) {
            const int32_t offset = entry_.recordPosition;
            const int32_t position = ComputeCurrentPosition(false);
            SetCurrentAndRead(offset, position, false, true);
            return position;
        }
        const int32_t step = sortSpec_.descending ? index_->GetPrev(&entry_) : index_->GetNext(&entry_);
        if (step != 1)
            return -1;
    }
}
