#include "dbdoc/selection_walk.h"

SelectionWalk::SelectionWalk(DataFile& data) : data_(data)
{
    data_.FlushRecordCache();
}

SelectionWalk::~SelectionWalk()
{
    if (data_.IndexOpen() && data_.CurrentOffset() >= 0 && !data_.DataMark())
        data_.SeekCurrentEntry(true);
}

bool SelectionWalk::Next(CardRecord& record)
{
    if (failed_ || !data_.IndexOpen())
        return false;
    IndexFile& index = data_.Index();
    if (!started_) {
        index.GoFirst();
        started_ = true;
    }
    DbIndexEntry entry;
    if (index.GetNext(&entry) != 1)
        return false;
    offset_ = entry.recordPosition;
    data_.ReadRecordAt(offset_, &record, 0);
    if (record.IsReadFailed()) {
        failed_ = true;
        return false;
    }
    return true;
}
