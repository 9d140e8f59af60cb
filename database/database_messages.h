// Database message n: string 200 + n of the string table, in a box
// captioned with string 200.
#pragma once

#include <cstdint>
#include <string>

constexpr int32_t kDatabaseMessageBase = 200;

// The stop box of the record engine, after the asterisk beep: extra (when
// given) followed by message code; code 0 shows extra alone.
void DatabaseErrorBox(const char* extra, int32_t code);
// Information box with message code.
void DatabaseNote(int32_t code);
// OK/Cancel box with message code, after extra when given; true for OK.
bool DatabaseConfirm(int32_t code, const char* extra = nullptr);
// "NAME: " to put before a message about the file of that name (nothing
// for a file without one).
std::string AboutFile(const std::string& fileName);
