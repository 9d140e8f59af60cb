#include "catalog/backdrop_records.h"

#include <algorithm>
#include <cstring>

#include "catalog/wizard_list_format.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/resfile.h"

namespace {

size_t SizeFor(uint32_t count) { return std::max<size_t>(kBkInMinSize, kBkInHeadSize + size_t(count) * kBkItemSize); }

uint8_t* Item(BackdropRecord* record, uint32_t i) { return record->data() + kBkInHeadSize + size_t(i) * kBkItemSize; }

void Renumber(BackdropRecord* record, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i)
        PutU32LE(Item(record, i) + kBkItemNumberAt, i + 1);
}

}  // namespace

int32_t BackdropRecordCount(const BackdropRecord& record, uint32_t* count)
{
    *count = 0;
    if (record.size() < kBkInHeadSize)
        return kResBadFile;
    const uint32_t stated = GetU32LE(record.data() + kBkInCountAt);
    if (stated > (record.size() - kBkInHeadSize) / kBkItemSize)
        return kResBadFile;
    *count = stated;
    return 0;
}

BackdropRecord BackdropRecordNew() { return BackdropRecord(kBkInMinSize, 0); }

int32_t BackdropRecordGet(const BackdropRecord& record, int32_t n, uint8_t* item)
{
    uint32_t count;
    if (int32_t err = BackdropRecordCount(record, &count))
        return err;
    if (n < 1 || uint32_t(n) > count)
        return kWizMissing;
    std::memcpy(item, record.data() + kBkInHeadSize + size_t(n - 1) * kBkItemSize, kBkItemSize);
    return 0;
}

int32_t BackdropRecordPut(BackdropRecord* record, uint32_t group, int32_t* n, const uint8_t* item)
{
    uint32_t count;
    if (int32_t err = BackdropRecordCount(*record, &count))
        return err;
    uint32_t index;
    if (*n >= 1 && uint32_t(*n) <= count) {
        index = uint32_t(*n - 1);
    } else {
        index = count++;
        record->resize(std::max(record->size(), SizeFor(count)), 0);
        PutU32LE(record->data() + kBkInCountAt, count);
    }
    uint8_t* slot = Item(record, index);
    std::memmove(slot, item, kBkItemSize);
    PutU32LE(slot + kBkItemGroupAt, group);
    PutU32LE(slot + kBkItemNumberAt, index + 1);
    *n = int32_t(index + 1);
    return 0;
}

int32_t BackdropRecordRemove(BackdropRecord* record, int32_t n)
{
    uint32_t count;
    if (int32_t err = BackdropRecordCount(*record, &count))
        return err;
    if (n < 1 || uint32_t(n) > count)
        return kWizMissing;
    uint8_t* gap = Item(record, uint32_t(n - 1));
    std::memmove(gap, gap + kBkItemSize, size_t(count - uint32_t(n)) * kBkItemSize);
    --count;
    PutU32LE(record->data() + kBkInCountAt, count);
    record->resize(SizeFor(count));
    // What the last item held before it moved up is no item any more.
    if (count == 0)
        std::memset(Item(record, 0), 0, kBkItemSize);
    Renumber(record, count);
    return 0;
}

int32_t BackdropRecordMove(BackdropRecord* record, int32_t from, int32_t to)
{
    uint32_t count;
    if (int32_t err = BackdropRecordCount(*record, &count))
        return err;
    if (count == 0)
        return kWizMissing;
    const uint32_t a = uint32_t(std::clamp<int32_t>(from, 1, int32_t(std::min<uint32_t>(count, INT32_MAX))) - 1);
    const uint32_t b = uint32_t(std::clamp<int32_t>(to, 1, int32_t(std::min<uint32_t>(count, INT32_MAX))) - 1);
    uint8_t* first = Item(record, 0);
    if (a < b)
        std::rotate(first + a * kBkItemSize, first + (a + 1) * kBkItemSize, first + (b + 1) * kBkItemSize);
    else if (b < a)
        std::rotate(first + b * kBkItemSize, first + a * kBkItemSize, first + (a + 1) * kBkItemSize);
    Renumber(record, count);
    return 0;
}

int32_t BackdropRecordConvert(const uint8_t* old, size_t size, BackdropRecord* record)
{
    if (size < kBkInHeadSize)
        return kResBadFile;
    const uint32_t count = GetU32LE(old + kBkInCountAt);
    if (count > (size - kBkInHeadSize) / kBkOldItemSize)
        return kResBadFile;
    record->assign(SizeFor(count), 0);
    std::memcpy(record->data(), old, kBkInHeadSize);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* from = old + kBkInHeadSize + size_t(i) * kBkOldItemSize;
        uint8_t* to = Item(record, i);
        std::memcpy(to + kBkItemGroupAt, from + kBkOldItemGroupAt, 4);
        std::memcpy(to + kBkItemNumberAt, from + kBkOldItemNumberAt, 4);
        std::memcpy(to + kBkItemNameAt, from + kBkOldItemNameAt, kWizFileNameSize);
        std::memcpy(to + kBkItemSourceAt, from + kBkOldItemNameAt, kWizFileNameSize);
        std::memcpy(to + kBkItemPictureAt, from + kBkOldItemPictureAt, 4);
        std::memcpy(to + kBkItemFileAt, from + kBkOldItemFileAt, kWizFileNameSize);
        std::memcpy(to + kBkItemHeaderAt, from + kBkOldItemHeaderAt, kBkItemHeaderSize);
    }
    return 0;
}
