#include "database/match_predicates.h"

#include <cstring>
#include <string_view>

#include "database/card_record.h"
#include "database/data_file.h"
#include "database/field_table.h"
#include "database/record_file_format.h"
#include "foundation/byte_order.h"
#include "foundation/cstr.h"

namespace {

uint8_t Fold(uint8_t c) { return c >= 'a' && c <= 'z' ? uint8_t(c - 'a' + 'A') : c; }

bool EqualFolded(const uint8_t* a, const uint8_t* b, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    }
    return true;
}

bool ContainsFolded(std::string_view text, std::string_view value)
{
    if (value.size() > text.size())
        return false;
    for (size_t at = 0; at + value.size() <= text.size(); ++at) {
        if (EqualFolded(reinterpret_cast<const uint8_t*>(text.data()) + at,
                        reinterpret_cast<const uint8_t*>(value.data()), value.size()))
            return true;
    }
    return false;
}

bool StartsFolded(std::string_view text, std::string_view value)
{
    return value.size() <= text.size() &&
           EqualFolded(reinterpret_cast<const uint8_t*>(text.data()), reinterpret_cast<const uint8_t*>(value.data()),
                       value.size());
}

std::string_view FieldView(const CardRecord& record, int32_t id)
{
    if (!IsBodyField(id))
        return {};
    return {reinterpret_cast<const char*>(record.FieldBody(id)), record.GetFieldLength(id)};
}

// A text slot of the criteria block, read no further than its size.
std::string_view Slot(const uint8_t* criteria, uint32_t headerOffset, uint32_t size)
{
    const char* text = reinterpret_cast<const char*>(criteria + (headerOffset - kCriteriaBase));
    return {text, size_t(StrLengthBounded(text, int32_t(size) - 1))};
}

}  // namespace

bool FindOneMatch(const CardRecord& record, const uint8_t* criteria, bool selectionSet)
{
    const uint32_t base = selectionSet ? dbh::kSelectionValues : dbh::kFindValues;
    for (uint32_t column = 0; column < dbh::kColumnCount; ++column) {
        const std::string_view value = Slot(criteria, base + column * dbh::kFindValueSize, dbh::kFindValueSize);
        if (!value.empty() && !ContainsFolded(FieldView(record, FieldIdByIndex(int32_t(column))), value))
            return false;
    }
    return true;
}

bool SearchAllMatch(const CardRecord& record, const uint8_t* criteria, bool allFields)
{
    if (!allFields) {
        const int32_t id = GetU16LE(criteria + (dbh::kKeySearchField - kCriteriaBase));
        return StartsFolded(FieldView(record, id), Slot(criteria, dbh::kKeyText, dbh::kKeyTextSize));
    }
    const std::string_view text = Slot(criteria, dbh::kSearchText, dbh::kSearchTextSize);
    if (text.empty())
        return true;
    // Every field a user can type into: Date and Salutation, and the 21
    // data-entry columns.
    for (int32_t id = kFieldDate; id <= kFieldCustom6; ++id) {
        if (ContainsFolded(FieldView(record, id), text))
            return true;
    }
    return false;
}

bool QueryMatch(const CardRecord& record, const uint8_t* criteria)
{
    const int32_t id = GetU16LE(criteria + (dbh::kQueryField - kCriteriaBase));
    const uint8_t op = criteria[dbh::kQueryOperator - kCriteriaBase];
    const std::string_view field = FieldView(record, id);
    const std::string_view value = Slot(criteria, dbh::kQueryValue, dbh::kQueryValueSize);
    const size_t n = field.size() < value.size() ? field.size() : value.size();
    char number[dbh::kQueryValueSize] = {};
    if (!value.empty())
        std::memcpy(number, value.data(), value.size());
    const int32_t length = int32_t(field.size());
    switch (op) {
    case 0: return StartsFolded(field, value);
    case 1:
        return value.size() <= field.size() &&
               EqualFolded(reinterpret_cast<const uint8_t*>(field.data() + field.size() - value.size()),
                           reinterpret_cast<const uint8_t*>(value.data()), value.size());
    case 2: return ContainsFolded(field, value);
    case 3: return !ContainsFolded(field, value);
    case 4: {
        const int c = n ? std::memcmp(field.data(), value.data(), n) : 0;
        return c > 0 || (c == 0 && field.size() > value.size());
    }
    case 5: {
        const int c = n ? std::memcmp(field.data(), value.data(), n) : 0;
        return c < 0 || (c == 0 && field.size() < value.size());
    }
    case 6: return length == CStrToLong(number, nullptr);
    case 7: return length != CStrToLong(number, nullptr);
    case 8: return length > CStrToLong(number, nullptr);
    case 9: return length < CStrToLong(number, nullptr);
    case 10: return field.find_first_not_of(' ') == std::string_view::npos;
    case 11: return field.find_first_not_of(' ') != std::string_view::npos;
    default: return true;
    }
}

bool CriteriaMatch(const CardRecord& record, const uint8_t* criteria)
{
    for (uint32_t digits = GetU16LE(criteria); digits != 0; digits /= 10) {
        bool pass = true;
        switch (digits % 10) {
        case 1: pass = FindOneMatch(record, criteria, true); break;
        case 2: pass = SearchAllMatch(record, criteria, true); break;
        case 3: pass = QueryMatch(record, criteria); break;
        default: break;
        }
        if (!pass)
            return false;
    }
    return true;
}

int32_t PrefixMatch(const CardRecord& record, const TypedEntries& typed, int32_t keyColumn)
{
    auto text = [&](int32_t column) {
        return std::string_view(typed.texts[column], size_t(StrLengthBounded(typed.texts[column], 63)));
    };
    if (keyColumn >= 0 && keyColumn < int32_t(dbh::kColumnCount) &&
        !StartsFolded(FieldView(record, FieldIdByIndex(keyColumn)), text(keyColumn)))
        return -1;
    for (int32_t column = 0; column < int32_t(dbh::kColumnCount); ++column) {
        if (!typed.typed[column] || text(column).empty())
            continue;
        if (!StartsFolded(FieldView(record, FieldIdByIndex(column)), text(column)))
            return 0;
    }
    return 1;
}

uint16_t CategoryMaskFromFlags(const uint8_t* flags)
{
    uint16_t mask = 0;
    for (uint32_t k = 1; k < dbh::kCategoryFlagCount; ++k) {
        if (flags[k])
            mask = uint16_t(mask | (1u << (k - 1)));
    }
    return mask;
}

int32_t CategoryFilterMode(const uint8_t* flags)
{
    const uint16_t mask = CategoryMaskFromFlags(flags);
    if (flags[0] || mask == 0)
        return 0;
    if (mask == 1)
        return 1;
    return (mask & 1) ? 3 : 2;
}

bool CategoryFilterMatch(uint16_t categories, int32_t mode, uint16_t mask)
{
    const uint16_t others = uint16_t(mask & ~1u);
    switch (mode) {
    case 1: return categories & 1;
    case 2: return categories & others;
    case 3: return (categories & others) && (categories & 1);
    default: return true;
    }
}

uint16_t InvertCategoryBits(uint16_t value, uint16_t mask)
{
    return uint16_t(value ^ (mask & 0x3FFF));
}

int32_t ProgressStep(int32_t count)
{
    if (count < 500)
        return 0;
    if (count < 1000)
        return 100;
    if (count < 5000)
        return 200;
    if (count < 10000)
        return 500;
    if (count < 40000)
        return 1000;
    return 100;
}
