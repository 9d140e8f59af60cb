// DataFile: a query that the index can answer. When the index holds every
// record in the order of the queried field, and nothing has changed the
// file since the pass that built it, the records whose field starts with
// the query value lie in a few runs of that order: they are found there and
// only they are read, instead of every record of the file.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "database/data_file.h"
#include "database/match_predicates.h"
#include "database/record_file_format.h"
#include "database/record_key.h"
#include "foundation/byte_order.h"
#include "foundation/cstr.h"
#include "foundation/win_error.h"

namespace {

// The bytes a query letter matches: the query compares A-Z in any case.
// Upper case sorts first.
int Variants(char folded, char out[2])
{
    out[0] = folded;
    if (folded >= 'A' && folded <= 'Z') {
        out[1] = char(folded - 'A' + 'a');
        return 2;
    }
    return 1;
}

char Folded(char c) { return KeyUpper(c); }

bool StartsWithFolded(const char* key, const std::string& prefix)
{
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (key[i] == 0 || Folded(key[i]) != prefix[i])
            return false;
    }
    return true;
}

// The smallest text above key (in the index's byte order) that starts with
// a spelling of prefix; false when no such text is above it. Keys that
// start with prefix in one spelling form one run of the index, so a walk
// that jumps from run to run with this meets every one of them.
bool NextSpelling(const char* key, const std::string& prefix, std::string* probe)
{
    const size_t n = prefix.size();
    size_t i = 0;
    while (i < n && key[i] != 0 && Folded(key[i]) == prefix[i])
        ++i;
    // key[0..i) spells the start of the prefix and key[i] does not: a
    // larger byte at some place j <= i, the smallest spellings after it.
    for (size_t j = i + 1; j-- > 0;) {
        const uint8_t here = uint8_t(key[j]);
        char options[2];
        const int count = Variants(prefix[j], options);
        int pick = -1;
        for (int k = 0; k < count && pick < 0; ++k) {
            if (uint8_t(options[k]) > here)
                pick = k;
        }
        if (pick < 0)
            continue;
        probe->assign(key, j);
        probe->push_back(options[pick]);
        for (size_t k = j + 1; k < n; ++k)
            probe->push_back(prefix[k]);
        return true;
    }
    return false;
}

}  // namespace

void DataFile::NoteWholeIndex(bool whole)
{
    wholeIndex_ = WholeIndex{};
    uint32_t size = 0;
    if (!whole || FileSize(&size) != kErrNone)
        return;
    wholeIndex_ = {true, recordChanges_, size, sortSpec_};
}

int32_t DataFile::SelectFromIndex(const uint8_t* categoryFlags, const uint8_t* criteria)
{
    // Only the one query "starts with" on the field the index is ordered
    // by, with no other criteria and every category.
    if (GetU16LE(criteria) != 3 || CategoryFilterMode(categoryFlags) != 0)
        return 0;
    const uint8_t op = criteria[dbh::kQueryOperator - kCriteriaBase];
    const int32_t field = GetU16LE(criteria + (dbh::kQueryField - kCriteriaBase));
    const char* value = reinterpret_cast<const char*>(criteria + (dbh::kQueryValue - kCriteriaBase));
    const int32_t length = StrLengthBounded(value, int32_t(dbh::kQueryValueSize) - 1);
    int32_t first = -1;
    for (int32_t i = 0; i < 3 && first < 0; ++i)
        first = sortSpec_.FieldAt(i);
    if (op != 0 || length == 0 || field != first || sortSpec_.bulkMail || sortSpec_.descending)
        return 0;
    // The index must be the one the last pass over the file built, whole,
    // in this order, with nothing written since; new records a purge would
    // drop must not be there.
    ForgetFileSize();
    uint32_t size = 0;
    if (!wholeIndex_.valid || wholeIndex_.changes != recordChanges_ || !(wholeIndex_.order == sortSpec_) ||
        !IndexOpen() || index_->Failed() || dataMark_ || indexMark_ || (purgeNew_ && newCount_ > 0) ||
        FileSize(&size) != kErrNone || size != wholeIndex_.size)
        return 0;

    std::string prefix(value, size_t(length));
    for (char& c : prefix)
        c = Folded(c);
    // With the field the only one the index is ordered by, and a value
    // without spaces, a key starts with a spelling of the value exactly when
    // its field does: the key is the field's text up to its end, then a
    // space. The keys decide then, and no record need be read.
    const bool keysDecide = sortSpec_.FieldAt(1) < 0 && sortSpec_.FieldAt(2) < 0 && first == sortSpec_.FieldAt(0) &&
                            prefix.find(' ') == std::string::npos;
    struct Found {
        int32_t offset;
        std::string key;
    };
    std::vector<Found> offsets;
    DbIndexEntry entry{};
    std::string probe;
    // The lowest spelling: upper case.
    probe = prefix;
    std::snprintf(entry.key, sizeof entry.key, "%s", probe.c_str());
    entry.sequence = 0;
    int32_t result = index_->LocateKey(&entry);
    while (result == 0 || result == 1) {
        if (StartsWithFolded(entry.key, prefix)) {
            offsets.push_back({entry.recordPosition, keysDecide ? std::string(entry.key) : std::string()});
            result = index_->GetNext(&entry);
            continue;
        }
        if (!NextSpelling(entry.key, prefix, &probe))
            break;
        DbIndexEntry seek{};
        std::snprintf(seek.key, sizeof seek.key, "%s", probe.c_str());
        seek.sequence = 0;
        result = index_->LocateKey(&seek);
        entry = seek;
    }
    if (result == -1 || index_->Failed())
        return 0;

    // As the pass over the file does: the matching records go into a new
    // index in file order, so that it is the same index, sequence numbers
    // and all.
    std::sort(offsets.begin(), offsets.end(), [](const Found& a, const Found& b) { return a.offset < b.offset; });
    ClearCurrent();
    SaveUndoState();
    selectionFailed_ = true;
    if (!ResetIndex()) {
        IndexUpkeepFailed("[10]", 9);
        return -1;
    }
    wholeIndex_ = WholeIndex{};
    live_ = 0;
    bool whole = true;
    for (const Found& found : offsets) {
        if (keysDecide) {
            if (InsertIndexKey(found.offset, found.key.c_str()) != 1) {
                whole = false;
                break;
            }
            ++live_;
            continue;
        }
        const int32_t offset = found.offset;
        ReadRecordAt(offset, &current_, 0);
        if (current_.IsReadFailed()) {
            whole = false;
            break;
        }
        if (current_.IsDeleted() || !CriteriaMatch(current_, criteria))
            continue;
        currentOffset_ = offset;
        if (InsertIndexEntry(offset) != 1) {
            whole = false;
            break;
        }
        ++live_;
    }
    ClearCurrent();
    DropCacheEntry(-2);
    if (live_ > 0)
        GotoRecord(0, true, true);
    else
        SaveUndoState();
    selectionFromIndex_ = true;
    selectionFailed_ = !whole;
    return whole ? 1 : -1;
}
