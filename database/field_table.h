// The 25 fields of a card record: ids, names, maximum lengths, the columns
// through which the user interface addresses them, and the per-field
// preview texts that cards show when no database is at hand.
//
// One table serves the whole program. Only the names of the six custom
// fields and the preview texts change at run time.
#pragma once

#include <cstdint>

enum : int32_t {
    kFieldDate = 0,
    kFieldSalutation = 1,
    kFieldFirstName = 2,
    kFieldLastName = 3,
    kFieldTitle = 4,
    kFieldCompany = 5,
    kFieldAddress1 = 6,
    kFieldAddress2 = 7,
    kFieldCity = 8,
    kFieldState = 9,
    kFieldZipCode = 10,
    kFieldCountry = 11,
    kFieldFax = 12,
    kFieldPhone1 = 13,
    kFieldPhone2 = 14,
    kFieldEMail = 15,
    kFieldPicture = 16,
    kFieldCustom1 = 17,
    kFieldCustom6 = 22,
    kFieldDeliveryPoint = 23,
    kFieldCategories = 24,
    kFieldPostalDigits = 100,  // merge texts only: the postal barcode digits
    kFieldNone = -1,
};

constexpr int32_t kFieldCount = 25;
constexpr int32_t kBodyFieldCount = 24;  // ids 0-23 have a body
constexpr int32_t kEntryColumnCount = 21;
constexpr int32_t kFieldNameSize = 32;
constexpr int32_t kPreviewTextSize = 256;
// Longest FieldTypeName text with its brackets and terminator.
constexpr int32_t kFieldTypeNameSize = kFieldNameSize + 2;

// Field id of a column: columns 0-22 are ids 2-24, 23 and 24 are id 0;
// anything else gives -1.
int32_t FieldIdByIndex(int32_t column);
// The column of a field id plus base; -1 when no row has the id.
int32_t FieldIndexOfId(int32_t id, int32_t base);
// FieldIdByIndex(index - base); -1 when index < base.
int32_t FieldIdAtIndex(int32_t index, int32_t base);
// Maximum body length of a field; 0 for an unknown id.
uint32_t FieldMaxLength(int32_t id);
// True for the ids that have a body in a record (0-23).
inline bool IsBodyField(int32_t id) { return id >= 0 && id < kBodyFieldCount; }

// The name of a field into out (kFieldTypeNameSize bytes). Custom fields
// still carrying the placeholder name are "Custom1".."Custom6" when
// customNumbers is set; unknown ids are "???"; brackets put the name
// between "[" and "]". Id -1 leaves out empty.
void FieldTypeName(int32_t id, char* out, bool customNumbers, bool brackets);
// Cuts name to 31 characters in place and makes it the field's name.
void SetFieldName(int32_t id, char* name);
// Rows 17-22 take six 32-byte names (as the database header keeps them);
// null restores the placeholders.
void SetCustomFieldNames(const uint8_t* names);
// The name a custom field has until the user names it; shown as
// "Custom1" .. "Custom6".
bool IsCustomNamePlaceholder(const char* name);
void ResetCustomFieldNames();

// The preview text of a field's row, or null for an unknown id.
const char* FieldPreviewText(int32_t id);
// Replaces it (cut to 255 characters); an unknown id does nothing.
void SetFieldPreviewText(int32_t id, const char* text);

// Merge fields show their bracketed names instead of values while set.
// Returns the previous value.
bool SetShowFieldNames(bool on);
bool IsShowFieldNames();
