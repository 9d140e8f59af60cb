// The tests the batch passes apply to a record: the stored criteria (find
// values, search over all fields, query), the category filter, and the
// prefixes of incremental find.
//
// criteria points at the criteria block of the header image (offset 222);
// its slots are read bounded, whatever bytes they hold.
#pragma once

#include <cstdint>

class CardRecord;
struct TypedEntries;

// Header offset of the criteria block; the parts lie at header offsets
// less this one.
constexpr uint32_t kCriteriaBase = 222;

// Every non-empty value of the 21 columns occurs in its field (A-Z in any
// case). The selection set (criterion 1) or the Find One values.
bool FindOneMatch(const CardRecord& record, const uint8_t* criteria, bool selectionSet);
// allFields: the search text occurs in some text field (an empty text
// matches). Else: the key text starts the key-search field.
bool SearchAllMatch(const CardRecord& record, const uint8_t* criteria, bool allFields);
// The query value against the query field by the query operator.
bool QueryMatch(const CardRecord& record, const uint8_t* criteria);
// Whether the record passes the active criteria, digit by digit.
bool CriteriaMatch(const CardRecord& record, const uint8_t* criteria);

// 1: every typed, non-empty column starts its field. -1: the key column
// (when given) no longer does, so no later record in key order can. 0:
// some other column differs.
int32_t PrefixMatch(const CardRecord& record, const TypedEntries& typed, int32_t keyColumn);

// Category filter flags (15 bytes: all records, then categories 0-13).
uint16_t CategoryMaskFromFlags(const uint8_t* flags);
// 0 every record, 1 "Selected", 2 any masked category, 3 any masked
// category and "Selected".
int32_t CategoryFilterMode(const uint8_t* flags);
bool CategoryFilterMatch(uint16_t categories, int32_t mode, uint16_t mask);
uint16_t InvertCategoryBits(uint16_t value, uint16_t mask);

// Records between progress steps for a pass over count records; 0 when
// the pass is too short for a window.
int32_t ProgressStep(int32_t count);
