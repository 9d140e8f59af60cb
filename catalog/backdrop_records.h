// The 'BkIn' record of one backdrop group, edited as bytes (layout in
// catalog/wizard_list_format.h). A record read from a list file is checked
// before anything in it is used: its item count must fit its size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using BackdropRecord = std::vector<uint8_t>;

// 0 with the item count, or kResBadFile when the record is shorter than its
// head or than the items it counts.
int32_t BackdropRecordCount(const BackdropRecord& record, uint32_t* count);
// A record without items (280 bytes).
BackdropRecord BackdropRecordNew();
// Item n (from 1) in 264 bytes; 1 when n is out of range.
int32_t BackdropRecordGet(const BackdropRecord& record, int32_t n, uint8_t* item);
// n in 1..count replaces that item, any other n appends; the item's group
// and number fields are set and n receives its number.
int32_t BackdropRecordPut(BackdropRecord* record, uint32_t group, int32_t* n, const uint8_t* item);
// Removes item n (from 1), closes the gap and renumbers the rest; the
// record keeps at least 280 bytes. 1 when n is out of range.
int32_t BackdropRecordRemove(BackdropRecord* record, int32_t n);
// Moves item from to position to (both clipped to 1..count) and renumbers
// all items.
int32_t BackdropRecordMove(BackdropRecord* record, int32_t from, int32_t to);
// A record of a version-3 backdrop list in the current form; kResBadFile
// when it does not hold the items it counts.
int32_t BackdropRecordConvert(const uint8_t* old, size_t size, BackdropRecord* record);
