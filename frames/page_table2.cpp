#include "frames/page_table2.h"

void PageTable2::InitPage(uint8_t* record, int16_t kind)
{
    PageTable::InitPage(record, kind);
    record[kPageByte184Offset] = 1;
}

int32_t PageTable2::DeletePages(int16_t first, int16_t last)
{
    uint32_t handle = 0;
    const int32_t index = HandleOfNumber(first, &handle);
    // An unknown first page, or a range that runs backwards, deletes
    // nothing.
    if (index < 0 || last < first)
        return 0;
    DeleteAt(index, int32_t(last) - first + 1);
    Renumber();
    return 0;
}
