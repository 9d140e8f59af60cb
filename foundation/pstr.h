// Length-prefixed strings.
//
// A PStr is a length byte L followed by L characters (Windows-1252), with no
// terminator. Names, field values, dictionary words and barcode texts travel
// this way. L is at most 255, so a 256-byte buffer holds any PStr, and every
// operation that produces one cuts at 255 characters.
//
// The argument order is not the same for every operation; each order below
// is part of that operation's contract. All moves allow source and
// destination to overlap.
#pragma once

#include <cstdint>

constexpr int kPStrMaxLength = 255;
using PStr = uint8_t[kPStrMaxLength + 1];

// Copies the length byte and the L characters.
void PStrCopy(uint8_t* destination, const uint8_t* source);
// Copies at most max characters (none for a negative max).
void PStrCopyMax(uint8_t* destination, const uint8_t* source, int32_t max);

// From a zero-terminated string: destination first.
void PStrFromCStr(uint8_t* destination, const char* source);
// From a zero-terminated string: source first; returns the destination.
uint8_t* CStrToPStr(const char* source, uint8_t* destination);
// The buffer's zero-terminated string becomes a PStr in the same buffer.
uint8_t* PStrFromCStrInPlace(void* buffer);
// As above, taking at most max characters of the string.
uint8_t* CStrToPStrMax(void* buffer, int32_t max);

// To a zero-terminated string: source first; the destination receives L
// characters and a terminator.
void PStrToCStr(const uint8_t* source, char* destination);
// The buffer's PStr becomes a zero-terminated string in the same buffer.
char* PStrToCStrInPlace(void* buffer);
// As above, keeping at most max characters.
char* PStrToCStrMax(void* buffer, int32_t max);

// Append as many characters as fit in 255; 1 when some had to be cut.
int PStrAppend(uint8_t* destination, const uint8_t* source);
int PStrAppendCStr(uint8_t* destination, const char* source);

// Removes trailing spaces.
void PStrTrimRight(uint8_t* text);

// Decimal text, '-' before negatives.
void PStrFromInt(int32_t value, uint8_t* destination);
// Decimal value read as CStrToLong reads it; stored in *out (when given)
// and returned.
int32_t PStrToLong(const uint8_t* text, int32_t* out);

// 1 when both have the same length and characters, else 0.
int PStrEqual(const uint8_t* a, const uint8_t* b);
// Byte order over the common part (characters as unsigned bytes), then the
// shorter string first: negative, 0 or positive.
int PStrCompare(const uint8_t* a, const uint8_t* b);
