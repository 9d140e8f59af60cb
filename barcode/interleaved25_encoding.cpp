#include "barcode/interleaved25_encoding.h"

#include "foundation/pstr.h"

namespace {

// Wide elements as 1.
const char* const kPatterns[10] = {
    "00110", "10001", "01001", "11000", "00101", "10100", "01100", "00011", "10010", "01010",
};

}  // namespace

int Interleaved25CheckDigit(const uint8_t* digits)
{
    int sum = 0;
    int weight = 3;
    for (int i = digits[0]; i >= 1; --i) {
        sum += weight * (digits[i] - '0');
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10;
}

bool Interleaved25Digits(const uint8_t* data, bool addCheck, uint8_t* out)
{
    const int n = data[0];
    for (int i = 1; i <= n; ++i) {
        if (data[i] < '0' || data[i] > '9')
            return false;
    }
    int total = n + (addCheck ? 1 : 0);
    const bool pad = total % 2 != 0;
    total += pad ? 1 : 0;
    if (total > kPStrMaxLength)
        return false;
    uint8_t* p = out + 1;
    if (pad)
        *p++ = '0';
    for (int i = 1; i <= n; ++i)
        *p++ = data[i];
    if (addCheck)
        *p++ = uint8_t('0' + Interleaved25CheckDigit(data));
    out[0] = uint8_t(total);
    return true;
}

bool Interleaved25IsWide(int digit, int element) { return kPatterns[digit][element] == '1'; }
