// The entries of the string table. Texts are Windows-1252 bytes: write
// characters outside ASCII as escapes ("\xFC"), never as UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>

struct StringTableEntry {
    int32_t id;
    const char* text;
};

extern const StringTableEntry kStringTable[];
extern const size_t kStringTableSize;
