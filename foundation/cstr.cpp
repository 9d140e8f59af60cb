#include "foundation/cstr.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "foundation/handle.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Writes the digits of v and a terminator; returns the end of the digits.
char* WriteUnsigned(uint64_t v, char* destination)
{
    char* end = std::to_chars(destination, destination + 20, v).ptr;
    *end = '\0';
    return end;
}

}  // namespace

int32_t StrLengthBounded(const char* s, int32_t max)
{
    int32_t n = 0;
    while (n < max && s[n] != '\0')
        ++n;
    return n;
}

void StrCopyN(char* destination, const char* source, int32_t n)
{
    if (n < 1)
        return;
    const int32_t length = StrLengthBounded(source, n - 1);
    MemMove(source, destination, uint32_t(length));
    MemZero(destination + length, n - length);
}

void StrCatN(char* destination, const char* source, int32_t n)
{
    if (n < 1)
        return;
    const int32_t used = StrLengthBounded(destination, n);
    if (used >= n)
        return;
    const int32_t length = StrLengthBounded(source, n - 1 - used);
    MemMove(source, destination + used, uint32_t(length));
    destination[used + length] = '\0';
}

void StrTrimRight(char* s)
{
    size_t n = std::strlen(s);
    while (n > 0 && s[n - 1] == ' ')
        --n;
    s[n] = '\0';
}

void IntToStr(int32_t value, char* destination)
{
    int64_t v = value;
    if (v < 0) {
        *destination++ = '-';
        v = -v;
    }
    WriteUnsigned(uint64_t(v), destination);
}

int32_t CStrToLong(const char* s, int32_t* out)
{
    uint64_t magnitude = 0;
    bool negative = false;
    if (s) {
        while (IsBlank(*s))
            ++s;
        if (*s == '-' || *s == '+')
            negative = *s++ == '-';
        // Unsigned arithmetic wraps instead of overflowing; only the low 32
        // bits reach the result.
        while (*s >= '0' && *s <= '9')
            magnitude = magnitude * 10 + uint64_t(*s++ - '0');
    }
    const uint32_t bits = uint32_t(negative ? 0 - magnitude : magnitude);
    const int32_t value = int32_t(bits);
    if (out)
        *out = value;
    return value;
}

void FormatDoubleFixed(double value, char* destination, int16_t decimals)
{
    char* p = destination;
    if (value < 0.0) {
        value = -value;
        *p++ = '-';
    }
    // 2^64 as a double; at and beyond it (and for NaN) no fraction is left.
    constexpr double kTwo64 = 18446744073709551616.0;
    uint64_t whole = 0;
    double fraction = 0.0;
    if (value >= kTwo64) {
        whole = UINT64_MAX;
    } else if (value > 0.0) {
        const double truncated = std::trunc(value);
        whole = uint64_t(truncated);
        fraction = value - truncated;
    }
    p = WriteUnsigned(whole, p);

    if (decimals < 0)
        decimals = 0;
    if (decimals > 7)
        decimals = 7;
    double m = 1.0;
    for (int i = 0; i < decimals; ++i)
        m *= 10.0;
    if (std::trunc(m * fraction) > 0.0) {
        // Adding 1.0 puts a leading '1' in front of the fraction's digits so
        // that its leading zeros survive; the '1' becomes the point.
        const uint64_t digits = uint64_t(std::trunc((fraction + 1.0) * m));
        WriteUnsigned(digits, p);
        *p = '.';
    }
}
