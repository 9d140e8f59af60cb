// DataFile: setting, resetting or inverting categories over the selection.

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
            if (value == old)
                continue;
            // Only the Categories word changes; the record keeps its place.
            uint8_t word[2];
            PutU16LE(word, value);
            if (WriteImage(e.recordPosition + int32_t(dbrec::kCategories), word, 2) != kErrNone) {
                result = -1;
                break;
            }
        }
    }
    ReloadCache();
    if (savedOffset_ >= 0)
        ReadRecordAt(savedOffset_, &saved_, 0);
    RestoreUndoState(true);
    return result;
}
