#include "barcode/codabar_encoding.h"

#include <cstring>

#include "foundation/pstr.h"

namespace {

const char kCharacters[] = "0123456789-$:/.+ABCD";

// Bar, space, bar, space, bar, space, bar; wide elements as 1.
const char* const kPatterns[20] = {
    "0000011", "0000110", "0001001", "1100000", "0010010", "1000010", "0100001", "0100100", "0110000", "1001000",
    "0001100", "0011000", "1000101", "1010001", "1010100", "0010101", "0011010", "0101001", "0001011", "0001110",
};

bool IsStartStop(uint8_t ch) { return CodabarValue(ch) >= 16; }

}  // namespace

int CodabarValue(uint8_t ch)
{
    if (ch >= 'a' && ch <= 'd')
        ch = uint8_t(ch - 'a' + 'A');
    if (ch == 0)
        return -1;
    const char* p = std::strchr(kCharacters, ch);
    return p ? int(p - kCharacters) : -1;
}

int CodabarCheckDigit(const uint8_t* data)
{
    int sum = 0;
    for (int i = 1; i <= data[0]; ++i)
        sum += data[i];
    return (10 - sum % 10) % 10;
}

bool BuildCodabarString(const uint8_t* data, bool addCheck, uint8_t* out)
{
    const int n = data[0];
    for (int i = 1; i <= n; ++i) {
        if (CodabarValue(data[i]) < 0)
            return false;
    }
    if (n + (addCheck ? 1 : 0) > kPStrMaxLength)
        return false;
    PStrCopy(out, data);
    if (!addCheck)
        return true;
    const uint8_t check = uint8_t('0' + CodabarCheckDigit(data));
    if (n > 0 && IsStartStop(data[n])) {
        out[n] = check;
        out[n + 1] = data[n];
    } else {
        out[n + 1] = check;
    }
    out[0] = uint8_t(n + 1);
    return true;
}

bool CodabarBarIsWide(int value, int bar) { return kPatterns[value][2 * bar] == '1'; }
bool CodabarSpaceIsWide(int value, int space) { return kPatterns[value][2 * space + 1] == '1'; }
