#include "foundation/counters.h"

#include <cstring>

#include "foundation/cstr.h"
#include "foundation/pstr.h"

namespace {

// Roman forms of the digits 1-9 for units, tens and hundreds, and 1-4 for
// thousands.
constexpr const char* kRomanDigits[4][10] = {
    {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"},
    {"", "X", "XX", "XXX", "XL", "L", "LX", "LXX", "LXXX", "XC"},
    {"", "C", "CC", "CCC", "CD", "D", "DC", "DCC", "DCCC", "CM"},
    {"", "M", "MM", "MMM", "MMMM", "", "", "", "", ""},
};

// Starts out as "-" for negative values (as "" otherwise) and returns the
// magnitude; a wider type holds the magnitude of -32768.
int32_t StartSigned(int16_t value, uint8_t* out)
{
    out[0] = 0;
    if (value < 0) {
        PStrAppendCStr(out, "-");
        return -int32_t(value);
    }
    return value;
}

}  // namespace

void FormatLetters(int16_t value, uint8_t* out)
{
    if (value == 0) {
        PStrFromCStr(out, "0");
        return;
    }
    int32_t v = StartSigned(value, out);
    int count = 1;
    for (int32_t rest = v; (rest - 1) / 26 != 0; rest = (rest - 1) / 26)
        ++count;
    // Four letters cover 32768; produced from the right.
    char letters[8] = {};
    for (int i = count - 1; i >= 0; --i) {
        int32_t d = v % 26;
        if (d == 0)
            d = 26;
        letters[i] = char('A' - 1 + d);
        v = (v - 1) / 26;
    }
    PStrAppendCStr(out, letters);
}

void FormatRoman(int16_t value, uint8_t* out)
{
    if (value == 0) {
        PStrFromCStr(out, "0");
        return;
    }
    const int32_t v = StartSigned(value, out);
    char digits[kIntTextSize];
    IntToStr(v, digits);
    const int places = int(std::strlen(digits));
    for (int i = 0; i < places; ++i) {
        const int place = places - 1 - i;
        if (place < 4)
            PStrAppendCStr(out, kRomanDigits[place][digits[i] - '0']);
    }
}

void FormatBinary(uint32_t value, int32_t n, int32_t order, char* out)
{
    for (int32_t i = 0; i < n; ++i) {
        const int32_t bit = order ? i : n - 1 - i;
        out[i] = bit < 32 && (value >> bit) & 1u ? '1' : '0';
    }
    out[n > 0 ? n : 0] = '\0';
}

void ParseBinary(const char* text, int32_t n, int32_t order, uint32_t* out)
{
    *out = 0;
    for (int32_t i = 0; i < n && text[i] != '\0'; ++i) {
        const int32_t bit = order ? i : n - 1 - i;
        if (text[i] == '1' && bit < 32)
            *out |= 1u << bit;
    }
}

void DigitsOnly(const char* text, char* out, int32_t max)
{
    int32_t n = 0;
    for (; *text != '\0' && (max < 0 || n < max); ++text) {
        if (*text >= '0' && *text <= '9')
            out[n++] = *text;
    }
    out[n] = '\0';
}

uint16_t SwapBytes16Value(uint16_t value)
{
    return uint16_t((value >> 8) | (value << 8));
}

uint16_t SwapBytes16(uint16_t* value)
{
    return *value = SwapBytes16Value(*value);
}

uint32_t SwapBytes32Value(uint32_t value)
{
    return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) | (value << 24);
}

uint32_t SwapBytes32(uint32_t* value)
{
    return *value = SwapBytes32Value(*value);
}
