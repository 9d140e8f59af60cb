// Bounded operations on zero-terminated strings and number-to-text
// conversions.
//
// Zero-terminated strings are used where text meets the platform; inside the
// system most text travels as PStr (foundation/pstr.h). Characters are
// single Windows-1252 bytes.
#pragma once

#include <cstdint>

// Characters before the terminator, at most max (0 for a negative max).
int32_t StrLengthBounded(const char* s, int32_t max);

// Copies at most n-1 characters, zero-fills the rest of the n bytes and
// always terminates at byte n-1. With n below 1 nothing is written. Source
// and destination may overlap.
void StrCopyN(char* destination, const char* source, int32_t n);

// Appends as much of source as fits so that the whole string with its
// terminator stays within n bytes (the destination buffer's total size). A
// destination with no terminator inside those n bytes is left alone.
void StrCatN(char* destination, const char* source, int32_t n);

// Removes trailing spaces; an all-space string becomes empty.
void StrTrimRight(char* s);

// Longest decimal text of an i32, terminator included.
constexpr int kIntTextSize = 12;

// Decimal text, '-' before negatives. The destination holds kIntTextSize.
void IntToStr(int32_t value, char* destination);

// Decimal value of s: leading blanks and one sign are accepted and reading
// stops at the first non-digit. Digit runs beyond the i32 range wrap modulo
// 2^32 rather than overflow. Stored in *out (when given) and returned; a null
// s reads as 0.
int32_t CStrToLong(const char* s, int32_t* out);

// Longest text FormatDoubleFixed writes, terminator included: a sign, 20
// integer digits, the point and 7 decimals.
constexpr int kFixedTextSize = 30;

// The value in decimal with at most `decimals` (clamped to 0..7) decimals,
// truncated, never rounded: 2.5 with 2 decimals gives "2.50", 3.001 with 2
// gives "3" (a fraction whose first decimals are all zero is left out). The
// text never depends on the locale, so it can go into PostScript. The
// integer part saturates at 2^64-1 and a NaN writes "0", which keeps the
// text within kFixedTextSize.
void FormatDoubleFixed(double value, char* destination, int16_t decimals);
