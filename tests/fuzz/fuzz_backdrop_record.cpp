// Reads arbitrary bytes as a backdrop group record of the current list and
// of the older list it is converted from, then edits it. The item count
// must always fit the record, and items stay numbered from 1.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "catalog/backdrop_records.h"
#include "catalog/wizard_list_format.h"
#include "foundation/byte_order.h"

namespace {

void CheckNumbers(const BackdropRecord& record)
{
    uint32_t count = 0;
    if (BackdropRecordCount(record, &count) != 0)
        abort();
    for (uint32_t i = 0; i < count; ++i) {
        if (GetU32LE(record.data() + kBkInHeadSize + i * kBkItemSize + kBkItemNumberAt) != i + 1)
            abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BackdropRecord converted;
    if (BackdropRecordConvert(data, size, &converted) == 0) {
        uint32_t count = 0;
        if (BackdropRecordCount(converted, &count) != 0)
            abort();
    }

    BackdropRecord record(data, data + size);
    uint32_t count = 0;
    if (BackdropRecordCount(record, &count) != 0)
        return 0;
    uint8_t item[kBkItemSize] = {};
    const int32_t n = size > 0 ? int32_t(data[0] % 6) : 0;
    BackdropRecordGet(record, n, item);
    if (BackdropRecordMove(&record, n, int32_t(count)) == 0)
        CheckNumbers(record);
    if (BackdropRecordRemove(&record, n) == 0)
        CheckNumbers(record);
    int32_t slot = n;
    if (BackdropRecordPut(&record, 3, &slot, item) != 0)
        abort();
    if (record.size() < kBkInMinSize)
        abort();
    uint32_t after = 0;
    if (BackdropRecordCount(record, &after) != 0)
        abort();
    return 0;
}
