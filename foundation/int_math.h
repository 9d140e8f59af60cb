// Integer arithmetic on coordinates and sizes read from files.
//
// Coordinates and sizes come from stored documents and may hold any value.
// Their sums and differences wrap around as 32-bit values, as they did where
// the documents were made, instead of overflowing; floating-point results are
// truncated toward zero and stop at the ends of the 32-bit range.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

inline int32_t Add32(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }
inline int32_t Sub32(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }

// NaN (an angle read from a damaged file) gives 0.
inline int32_t TruncToInt32(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (v <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return int32_t(v);
}

// v x num / den with the division truncating toward zero, the product taken
// in 64 bits so that zooming a far-out coordinate cannot overflow. A zero
// denominator leaves v as it is.
inline int32_t ScaleTrunc(int32_t v, int32_t num, int32_t den)
{
    if (den == 0)
        return v;
    return int32_t(int64_t(v) * num / den);
}
