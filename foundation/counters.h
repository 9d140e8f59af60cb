// Counter texts (letters, roman numerals, binary flags), digit extraction
// and byte-order swaps.
#pragma once

#include <cstdint>

// Bijective base 26 into a PStr: 1 A .. 26 Z, 27 AA, 52 AZ, 53 BA; '-'
// before a negative value's letters; "0" for 0.
void FormatLetters(int16_t value, uint8_t* out);

// Roman numerals into a PStr; '-' before a negative value; "0" for 0.
// Thousands go up to MMMM; thousands digits 5-9 and ten-thousands write
// nothing, so 12345 gives MMCCCXLV and 5000 the empty text.
void FormatRoman(int16_t value, uint8_t* out);

// n characters '0'/'1' and a terminator into out (n+1 bytes). With order 1
// (any non-zero value) character i shows bit i, least significant first;
// with order 0 the characters come in the reverse order. Bits from 32 on
// show as '0'.
void FormatBinary(uint32_t value, int32_t n, int32_t order, char* out);
// The same with the output before the order flag, as the database passes
// the arguments.
inline void FormatBinary(uint32_t value, int32_t n, char* out, int32_t lowFirst)
{
    FormatBinary(value, n, lowFirst, out);
}

// The inverse of FormatBinary over the first min(length, n) characters: a
// '1' sets its bit, anything else leaves it clear. *out starts at 0.
void ParseBinary(const char* text, int32_t n, int32_t order, uint32_t* out);

// Copies only the digits 0-9 of text into out and terminates it; at most
// max digits, or all of them for a negative max.
void DigitsOnly(const char* text, char* out, int32_t max);
inline void ExtractDigits(const char* text, char* out, int32_t max)
{
    DigitsOnly(text, out, max);
}

// Byte-order swaps, in place (returning the new value) or on a value.
uint16_t SwapBytes16(uint16_t* value);
uint16_t SwapBytes16Value(uint16_t value);
uint32_t SwapBytes32(uint32_t* value);
uint32_t SwapBytes32Value(uint32_t value);
