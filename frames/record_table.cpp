#include "frames/record_table.h"

RecordTable::RecordTable(uint32_t recordSize) : StoreArray(recordSize) { firstIndex_ = 1; }

int32_t RecordTable::InsertRecords(int32_t n, int32_t index, const void* source)
{
    for (int32_t i = 0; i < n; ++i) {
        if (InsertAt(index, source) != 0)
            return 1;
    }
    return 0;
}

int32_t RecordTable::DeleteRecords(int32_t n, int32_t index) { return DeleteAt(index, n); }

bool RecordTable::GetRecord(int32_t index, void* destination)
{
    if (!IsValidIndex(index))
        return false;
    ReadAt(index, destination);
    return true;
}

void RecordTable::SetRecord(int32_t index, const void* source)
{
    if (IsValidIndex(index))
        WriteAt(index, source);
}
