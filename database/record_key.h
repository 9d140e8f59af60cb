// The index key of a record: the texts of the sort fields, or in bulk-mail
// mode the ZIP code and the state in fixed columns behind a tier position.
#pragma once

#include <cstdint>

class CardRecord;
struct SortSpec;

constexpr int32_t kIndexKeyMax = 149;
constexpr int32_t kIndexKeySize = kIndexKeyMax + 1;

// Bulk-mail keys: tier at 0 (a space until the presort gives one), the
// ZIP code padded to 13 from 1, the state padded to 4 from 14.
constexpr int32_t kBulkTier = 0;
constexpr int32_t kBulkZip = 1;
constexpr int32_t kBulkZipSize = 13;
constexpr int32_t kBulkState = 14;
constexpr int32_t kBulkStateSize = 4;
constexpr int32_t kBulkKeyLength = 18;

// Writes the key (NUL-terminated, at most 149 characters) into key.
void BuildIndexKey(const CardRecord& record, const SortSpec& order, char* key);

// ASCII letters only: keys must not depend on the locale.
inline char KeyUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
