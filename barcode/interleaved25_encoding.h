// Interleaved 2 of 5: the digit string that is drawn, and the digit patterns.
#pragma once

#include <cstdint>

// The check digit of a digit string: weights 3 and 1 alternately from the
// right end, 3 for the last digit.
int Interleaved25CheckDigit(const uint8_t* digits);

// The digits as drawn: the data, its check digit when addCheck is set, and
// a leading "0" when that leaves an odd count. False when the data holds
// anything but digits or the result would not fit in a PStr.
bool Interleaved25Digits(const uint8_t* data, bool addCheck, uint8_t* out);

// Element i (0-4) of the digit's pattern is wide.
bool Interleaved25IsWide(int digit, int element);
