#include "database/field_table.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "foundation/cstr.h"

namespace {

struct FieldRow {
    int32_t id;
    uint32_t max;
    char name[kFieldNameSize];
    char preview[kPreviewTextSize];
};

constexpr char kCustomPlaceholder[] = "..........";

FieldRow g_rows[kFieldCount] = {
    {0, 10, "Date", ""},
    {1, 25, "Salutation", ""},
    {2, 18, "FirstName", ""},
    {3, 30, "LastName", ""},
    {4, 50, "Title", ""},
    {5, 50, "Company", ""},
    {6, 50, "Address1", ""},
    {7, 50, "Address2", ""},
    {8, 32, "City", ""},
    {9, 4, "State", ""},
    {10, 13, "ZipCode", ""},
    {11, 20, "Country", ""},
    {12, 20, "Fax", ""},
    {13, 20, "Phone1", ""},
    {14, 20, "Phone2", ""},
    {15, 63, "E-Mail", ""},
    {16, 63, "Picture", ""},
    {17, 255, "Custom1", ""},
    {18, 55, "Custom2", ""},
    {19, 55, "Custom3", ""},
    {20, 55, "Custom4", ""},
    {21, 55, "Custom5", ""},
    {22, 55, "Custom6", ""},
    {23, 2, "DeliveryPoint", ""},
    {24, 2, "Categories", ""},
};

bool g_showNames = false;

FieldRow* RowOf(int32_t id)
{
    return id >= 0 && id < kFieldCount ? &g_rows[id] : nullptr;
}

void SetCustomName(int32_t id, const char* name)
{
    StrCopyN(g_rows[id].name, name, kFieldNameSize);
}

}  // namespace

int32_t FieldIdByIndex(int32_t column)
{
    if (column >= 0 && column <= 22)
        return column + 2;
    if (column == 23 || column == 24)
        return kFieldDate;
    return kFieldNone;
}

int32_t FieldIndexOfId(int32_t id, int32_t base)
{
    return RowOf(id) ? id - 2 + base : -1;
}

int32_t FieldIdAtIndex(int32_t index, int32_t base)
{
    return index < base ? kFieldNone : FieldIdByIndex(index - base);
}

uint32_t FieldMaxLength(int32_t id)
{
    const FieldRow* row = RowOf(id);
    return row ? row->max : 0;
}

void FieldTypeName(int32_t id, char* out, bool customNumbers, bool brackets)
{
    out[0] = 0;
    if (id == kFieldNone)
        return;
    char name[kFieldNameSize];
    const FieldRow* row = RowOf(id);
    if (!row)
        std::strcpy(name, "???");
    else if (customNumbers && id >= kFieldCustom1 && id <= kFieldCustom6 && !std::strcmp(row->name, kCustomPlaceholder))
        std::snprintf(name, sizeof name, "Custom%d", int(id - 16));
    else
        StrCopyN(name, row->name, kFieldNameSize);
    std::snprintf(out, kFieldTypeNameSize, brackets ? "[%s]" : "%s", name);
}

void SetFieldName(int32_t id, char* name)
{
    if (std::strlen(name) >= size_t(kFieldNameSize))
        name[kFieldNameSize - 1] = 0;
    if (FieldRow* row = RowOf(id))
        StrCopyN(row->name, name, kFieldNameSize);
}

void SetCustomFieldNames(const uint8_t* names)
{
    for (int32_t i = 0; i < 6; ++i) {
        char name[kFieldNameSize];
        if (names)
            StrCopyN(name, reinterpret_cast<const char*>(names + i * kFieldNameSize), kFieldNameSize);
        else
            std::strcpy(name, kCustomPlaceholder);
        SetCustomName(kFieldCustom1 + i, name);
    }
}

bool IsCustomNamePlaceholder(const char* name) { return std::strcmp(name, kCustomPlaceholder) == 0; }

void ResetCustomFieldNames() { SetCustomFieldNames(nullptr); }

const char* FieldPreviewText(int32_t id)
{
    const FieldRow* row = RowOf(id);
    return row ? row->preview : nullptr;
}

void SetFieldPreviewText(int32_t id, const char* text)
{
    if (FieldRow* row = RowOf(id))
        StrCopyN(row->preview, text, kPreviewTextSize);
}

bool SetShowFieldNames(bool on) { return std::exchange(g_showNames, on); }

bool IsShowFieldNames() { return g_showNames; }
