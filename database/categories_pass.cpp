// DataFile: setting, resetting or inverting categories over the selection.

#include <utility>
#include <vector>

#include "database/data_file.h"
#include "database/db_file_io.h"
#include "database/match_predicates.h"
#include "database/progress_window.h"
#include "database/record_file_format.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"

namespace {
constexpr int32_t kStringCategoriesBase = 264;
}

int32_t DataFile::ChangeCategories(const uint8_t* categoryFlags, int32_t operation)
{
    if (!IndexOpen() || operation < kCategoriesSet || operation > kCategoriesInvert)
        return -1;
    int32_t result = 1;
    {
        DbProgressWindow progress(DatabaseName(), WorkingMessage(kStringCategoriesBase + operation), live_, 100, 1);
        FlushRecordCache();
        const uint16_t mask = CategoryMaskFromFlags(categoryFlags);
        // The new words are worked out first and their old values kept in
        // the journal in one go; then they are written. A crash leaves
        // every record as it was or the whole pass done.
        std::vector<std::pair<int32_t, uint16_t>> changes;
        index_->GoFirst();
        DbIndexEntry e;
        while (index_->GetNext(&e) == 1) {
            progress.Step();
            ReadRecordAt(e.recordPosition, &load_, 0);
            if (load_.IsReadFailed()) {
                result = -1;
                break;
            }
            const uint16_t old = load_.GetCategories();
            uint16_t value = old;
            if (operation == kCategoriesSet)
                value = uint16_t(old | mask);
            else if (operation == kCategoriesReset)
                value = uint16_t(old & ~mask);
            else
                value = InvertCategoryBits(old, mask);
            if (value != old)
                changes.emplace_back(e.recordPosition + int32_t(dbrec::kCategories), value);
        }
        DbChange change(*this);
        for (size_t i = 0; result == 1 && i < changes.size(); ++i) {
            if (journal_.Preserve(uint32_t(changes[i].first), 2) != kErrNone)
                result = -1;
        }
        // Only the Categories word changes; the record keeps its place.
        for (size_t i = 0; result == 1 && i < changes.size(); ++i) {
            uint8_t word[2];
            PutU16LE(word, changes[i].second);
            if (WriteImage(changes[i].first, word, 2) != kErrNone)
                result = -1;
        }
    }
    ReloadCache();
    if (savedOffset_ >= 0)
        ReadRecordAt(savedOffset_, &saved_, 0);
    RestoreUndoState(true);
    return result;
}
