#include "database/record_layout.h"

#include <array>

#include "database/field_table.h"
#include "database/record_file_format.h"
#include "foundation/byte_order.h"

uint32_t RecordBodySum(const uint8_t* head)
{
    uint32_t sum = 0;
    for (uint32_t i = 0; i < dbrec::kBodyFieldCount; ++i)
        sum += head[dbrec::kLengths + i];
    return sum;
}

int32_t RecordLength(const uint8_t* head)
{
    return int32_t(dbrec::kHeadSize + RecordBodySum(head)) + GetI16LE(head + dbrec::kSlack);
}

uint32_t SoundRecordLength(const uint8_t* head)
{
    // Every record read is checked: the limits are looked up once.
    static const auto kLimits = [] {
        std::array<uint32_t, kBodyFieldCount> limits{};
        for (int32_t id = 0; id < kBodyFieldCount; ++id)
            limits[size_t(id)] = FieldMaxLength(id);
        return limits;
    }();
    if (head[dbrec::kMarkerOffset] != dbrec::kMarker)
        return 0;
    const int16_t slack = GetI16LE(head + dbrec::kSlack);
    if (slack < 0)
        return 0;
    for (int32_t id = 0; id < kBodyFieldCount; ++id) {
        if (head[dbrec::kLengths + id] > kLimits[size_t(id)])
            return 0;
    }
    const uint32_t length = dbrec::kHeadSize + RecordBodySum(head) + uint32_t(slack);
    return length <= dbrec::kMaxRecordSize ? length : 0;
}

bool IsTornRecord(const uint8_t* bytes, uint32_t n)
{
    if (n == 0 || bytes[dbrec::kMarkerOffset] != dbrec::kMarker)
        return false;
    if (n >= dbrec::kHeadSize) {
        const uint32_t length = SoundRecordLength(bytes);
        return length > n && !(bytes[dbrec::kFlagsOffset] & ~dbrec::kFlagsStored);
    }
    if (n > dbrec::kFlagsOffset && (bytes[dbrec::kFlagsOffset] & ~dbrec::kFlagsStored))
        return false;
    if (n > dbrec::kSlack + 1 && GetI16LE(bytes + dbrec::kSlack) < 0)
        return false;
    for (uint32_t id = 0; id < dbrec::kBodyFieldCount && dbrec::kLengths + id < n; ++id) {
        if (bytes[dbrec::kLengths + id] > FieldMaxLength(int32_t(id)))
            return false;
    }
    return true;
}
