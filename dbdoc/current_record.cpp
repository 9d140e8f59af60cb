#include "dbdoc/current_record.h"

int32_t ReturnToRecord(DataFile& data, int32_t offset)
{
    if (!data.IndexOpen() || data.GetLiveCount() <= 0 || data.DataMark()) {
        data.Current().Clear();
        data.SaveUndoState();
        return -1;
    }
    int32_t position = 0;
    if (offset >= 0) {
        IndexFile& index = data.Index();
        index.GoFirst();
        DbIndexEntry entry;
        for (int32_t p = 0; index.GetNext(&entry) == 1; ++p) {
            if (entry.recordPosition == offset) {
                position = p;
                break;
            }
        }
    }
    // Positions the passes' appends left in the cache are stale.
    data.RenumberCacheEntries(-1, true);
    return data.GotoRecord(position, true, true) >= 0 ? position : -1;
}
