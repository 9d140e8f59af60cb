// The program's string table: numbered texts (Windows-1252 bytes) that
// alerts and dialogs load by id, as base + index.
#pragma once

#include <cstdint>

// The text of a string id, or null when the table has none.
const char* LookupString(int32_t id);

// Copies string base + index into buffer (at most 255 characters and a
// terminator, so the buffer holds 256 bytes). Returns 0, or 1 with an
// empty buffer when the string is missing.
int32_t LoadStringByIndex(int32_t base, int32_t index, char* buffer);
