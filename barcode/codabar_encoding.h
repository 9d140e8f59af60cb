// Codabar: the character set, the check digit and the patterns.
#pragma once

#include <cstdint>

// Value 0-19 of a Codabar character (0-9, "-", "$", ":", "/", ".", "+",
// A-D, with a-d as A-D); -1 for any other character.
int CodabarValue(uint8_t ch);

// The check digit: the byte values of all characters summed, brought up to
// a multiple of ten.
int CodabarCheckDigit(const uint8_t* data);

// The characters as drawn, with the check digit when addCheck is set. The
// check digit stands before a closing stop character (A-D) so that readers
// find it inside the symbol, else at the end. False when a character is
// not Codabar or the result would not fit in a PStr.
bool BuildCodabarString(const uint8_t* data, bool addCheck, uint8_t* out);

// Bar i (0-3) or space i (0-2) of a value is wide (three modules).
bool CodabarBarIsWide(int value, int bar);
bool CodabarSpaceIsWide(int value, int space);
