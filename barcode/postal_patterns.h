// The fixed patterns of the postal marks: POSTNET digits and FIM bars.
#pragma once

#include <cstdint>

#include "foundation/pstr.h"

constexpr int kPostnetBarsPerDigit = 5;

// 1 when bar i (0-4) of the digit is a tall bar.
bool PostnetBarIsTall(int digit, int bar);
// 5, 9 or 11 characters, all digits.
bool PostnetDataIsValid(const uint8_t* data);
// The digit that brings the sum of all digits to a multiple of ten.
int PostnetCheckDigit(const uint8_t* data);

// Left edges of the bars of FIM A, B or C in 1/300 inch; null for other types.
const int16_t* FimBarPositions(int16_t type, int* count);

// The number of bars of a HorBars field of height h with bars of thickness
// t: bars and gaps about equally thick, at least one bar and never more
// than a field could show.
int32_t HorBarsCount(double h, double t);
