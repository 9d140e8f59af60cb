#include "barcode/upc_ean_encoding.h"

#include "barcode/barcode_record.h"

namespace {

// Set A: space, bar, space, bar.
const char* const kSetA[10] = {"3211", "2221", "2122", "1411", "1132", "1231", "1114", "1312", "1213", "3112"};

// Digits 2-7 of an EAN-13 by its first digit.
const char* const kEan13Parity[10] = {
    "AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB", "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA",
};
// The six digits of a UPC-E (number system 0) by its check digit.
const char* const kUpcEParity[10] = {
    "BBBAAA", "BBABAA", "BBAABA", "BBAAAB", "BABBAA", "BAABBA", "BAAABB", "BABABA", "BABAAB", "BAABAB",
};
// 2-digit add-ons by their value mod 4; 5-digit add-ons by their checksum.
const char* const kAddOn2Parity[4] = {"AA", "AB", "BA", "BB"};
const char* const kAddOn5Parity[10] = {
    "BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA", "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB",
};

// UPC-E: the constant and the weights of digits 1-5 by the sixth digit.
const int kUpcEConstant[10] = {0, 1, 2, 0, 0, 5, 8, 1, 4, 7};
const int kUpcEWeights[10][5] = {
    {1, 3, 3, 1, 3}, {1, 3, 3, 1, 3}, {1, 3, 3, 1, 3}, {1, 3, 1, 1, 3}, {1, 3, 1, 3, 3},
    {1, 3, 1, 3, 1}, {1, 3, 1, 3, 1}, {1, 3, 1, 3, 1}, {1, 3, 1, 3, 1}, {1, 3, 1, 3, 1},
};

struct Layout {
    int main;     // digits typed for the main symbol
    int prefix;   // digits put in front (ISBN, ISSN)
    int (*check)(const uint8_t*);
};

int WeightedCheck(const uint8_t* digits, int n, int firstWeight)
{
    int sum = 0;
    int weight = firstWeight;
    for (int i = 0; i < n; ++i) {
        sum += weight * digits[i];
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10;
}

EanSet SetOf(char c) { return c == 'A' ? EanSet::kA : EanSet::kB; }

}  // namespace

int UpcACheckDigit(const uint8_t* digits) { return WeightedCheck(digits, 11, 3); }
int Ean13CheckDigit(const uint8_t* digits) { return WeightedCheck(digits, 12, 1); }
int Ean8CheckDigit(const uint8_t* digits) { return WeightedCheck(digits, 7, 3); }

int UpcECheckDigit(const uint8_t* digits)
{
    const int d6 = digits[5];
    int sum = kUpcEConstant[d6];
    for (int i = 0; i < 5; ++i)
        sum += kUpcEWeights[d6][i] * digits[i];
    return (10 - sum % 10) % 10;
}

bool DropTypedCheckDigit(int16_t type, const uint8_t* data, uint8_t* out, TypedCheckDigit* wrong)
{
    for (int i = 0; i <= data[0]; ++i)
        out[i] = data[i];
    int main = 0;
    int (*check)(const uint8_t*) = nullptr;
    switch (type) {
    case kBarcodeUpcA: main = 11, check = UpcACheckDigit; break;
    case kBarcodeEan13: main = 12, check = Ean13CheckDigit; break;
    case kBarcodeEan8: main = 7, check = Ean8CheckDigit; break;
    default: return true;
    }
    const int n = data[0];
    if (n != main + 1 && n != main + 3 && n != main + 6)
        return true;
    uint8_t digits[12];
    for (int i = 1; i <= n; ++i) {
        if (data[i] < '0' || data[i] > '9')
            return true;
        if (i <= main)
            digits[i - 1] = uint8_t(data[i] - '0');
    }
    const int expected = check(digits);
    const int typed = data[main + 1] - '0';
    if (typed != expected) {
        if (wrong)
            *wrong = TypedCheckDigit{typed, expected};
        return false;
    }
    for (int i = main + 1; i < n; ++i)
        out[i] = data[i + 1];
    out[0] = uint8_t(n - 1);
    return true;
}

bool SplitUpcEanData(int16_t type, const uint8_t* given, uint8_t bookPrefix, UpcEanDigits* out)
{
    uint8_t data[256];
    if (!DropTypedCheckDigit(type, given, data))
        return false;
    Layout layout;
    switch (type) {
    case kBarcodeUpcA:
        layout = {11, 0, UpcACheckDigit};
        break;
    case kBarcodeUpcE:
        layout = {6, 0, UpcECheckDigit};
        break;
    case kBarcodeEan13:
        layout = {12, 0, Ean13CheckDigit};
        break;
    case kBarcodeEan8:
        layout = {7, 0, Ean8CheckDigit};
        break;
    case kBarcodeIsbn:
    case kBarcodeIssn:
        layout = {9, 3, Ean13CheckDigit};
        break;
    default:
        return false;
    }
    const int n = data[0];
    if (n != layout.main && n != layout.main + 2 && n != layout.main + 5)
        return false;
    for (int i = 1; i <= n; ++i) {
        if (data[i] < '0' || data[i] > '9')
            return false;
    }

    *out = UpcEanDigits{};
    int k = 0;
    if (layout.prefix) {
        const char* prefix = "977";
        if (type == kBarcodeIsbn && bookPrefix == 1)
            prefix = "978";
        else if (type == kBarcodeIsbn && bookPrefix == 2)
            prefix = "979";
        for (int i = 0; i < 3; ++i)
            out->main[k++] = uint8_t(prefix[i] - '0');
    }
    for (int i = 1; i <= layout.main; ++i)
        out->main[k++] = uint8_t(data[i] - '0');
    out->main[k] = uint8_t(layout.check(out->main));
    out->mainCount = k + 1;
    out->addOnCount = n - layout.main;
    for (int i = 0; i < out->addOnCount; ++i)
        out->addOn[i] = uint8_t(data[layout.main + 1 + i] - '0');
    return true;
}

EanSet Ean13DigitSet(int firstDigit, int k) { return SetOf(kEan13Parity[firstDigit][k]); }
EanSet UpcEDigitSet(int checkDigit, int k) { return SetOf(kUpcEParity[checkDigit][k]); }

EanSet AddOnDigitSet(const uint8_t* d, int count, int k)
{
    if (count == 2)
        return SetOf(kAddOn2Parity[(10 * d[0] + d[1]) % 4][k]);
    const int sum = 3 * (d[0] + d[2] + d[4]) + 9 * (d[1] + d[3]);
    return SetOf(kAddOn5Parity[sum % 10][k]);
}

void EanDigitWidths(int digit, EanSet set, int widths[4])
{
    const char* w = kSetA[digit];
    for (int i = 0; i < 4; ++i)
        widths[i] = (set == EanSet::kB ? w[3 - i] : w[i]) - '0';
}
