#include "database/record_key.h"

#include <cstring>

#include "database/card_record.h"
#include "database/database_header.h"
#include "database/field_table.h"

namespace {

void AppendPadded(char* key, int32_t at, const CardRecord& record, int32_t id, int32_t width)
{
    const uint8_t length = record.GetFieldLength(id);
    const int32_t n = length < width ? length : width;
    std::memcpy(key + at, record.FieldBody(id), size_t(n));
    std::memset(key + at + n, ' ', size_t(width - n));
}

}  // namespace

void BuildIndexKey(const CardRecord& record, const SortSpec& order, char* key)
{
    if (order.bulkMail) {
        key[kBulkTier] = ' ';
        AppendPadded(key, kBulkZip, record, kFieldZipCode, kBulkZipSize);
        AppendPadded(key, kBulkState, record, kFieldState, kBulkStateSize);
        key[kBulkKeyLength] = 0;
        return;
    }
    int32_t length = 0;
    key[0] = 0;
    for (int32_t i = 0; i < 3; ++i) {
        const int32_t id = order.FieldAt(i);
        if (id < 0)
            continue;
        const int32_t body = record.GetFieldLength(id);
        const uint8_t* text = record.FieldBody(id);
        for (int32_t k = 0; k < body && length < kIndexKeyMax && text[k]; ++k)
            key[length++] = char(text[k]);
        if (body < int32_t(FieldMaxLength(id)) && length < kIndexKeyMax)
            key[length++] = ' ';
        key[length] = 0;
        key[0] = KeyUpper(key[0]);
    }
}
