#include "barcode/postal_patterns.h"

#include "barcode/barcode_record.h"

namespace {

// Tall bars as 1, left bar first.
const char* const kPostnetDigits[10] = {
    "11000", "00011", "00101", "00110", "01001", "01010", "01100", "10001", "10010", "10100",
};

const int16_t kFimA[] = {0, 19, 75, 131, 150};
const int16_t kFimB[] = {0, 38, 56, 94, 112, 150};
const int16_t kFimC[] = {0, 19, 56, 94, 131, 150};

constexpr int32_t kMostHorBars = 10000;

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

}  // namespace

bool PostnetBarIsTall(int digit, int bar) { return kPostnetDigits[digit][bar] == '1'; }

bool PostnetDataIsValid(const uint8_t* data)
{
    const int n = data[0];
    if (n != 5 && n != 9 && n != 11)
        return false;
    for (int i = 1; i <= n; ++i) {
        if (!IsDigit(data[i]))
            return false;
    }
    return true;
}

int PostnetCheckDigit(const uint8_t* data)
{
    int sum = 0;
    for (int i = 1; i <= data[0]; ++i)
        sum += data[i] - '0';
    return (10 - sum % 10) % 10;
}

const int16_t* FimBarPositions(int16_t type, int* count)
{
    switch (type) {
    case kBarcodeFimA:
        *count = int(std::size(kFimA));
        return kFimA;
    case kBarcodeFimB:
        *count = int(std::size(kFimB));
        return kFimB;
    case kBarcodeFimC:
        *count = int(std::size(kFimC));
        return kFimC;
    default:
        *count = 0;
        return nullptr;
    }
}

int32_t HorBarsCount(double h, double t)
{
    const double n = (h + t) / (2.0 * t) + 0.5;
    if (!(n >= 1.0))
        return 1;
    if (n >= kMostHorBars)
        return kMostHorBars;
    return int32_t(n);
}
