#include "database/delivery_point.h"

#include <cstring>

namespace {

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
bool IsLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The run of non-space characters at or after from (1-based): first and
// one past its end; first > length when there is none.
void NextWord(const uint8_t* text, int32_t from, int32_t* first, int32_t* end)
{
    const int32_t length = text[0];
    int32_t start = from < 1 ? 1 : from;
    while (start <= length && text[start] == ' ')
        ++start;
    int32_t stop = start;
    while (stop <= length && text[stop] != ' ')
        ++stop;
    *first = start;
    *end = stop;
}

void SetOut(uint8_t* out, char high, char low)
{
    out[0] = 2;
    out[1] = uint8_t(high);
    out[2] = uint8_t(low);
}

}  // namespace

uint16_t PStrFindWord(const uint8_t* text, const char* word, bool wholeWord)
{
    const int32_t length = text[0];
    const int32_t n = int32_t(std::strlen(word));
    if (n == 0 || n > length)
        return kWordNotFound;
    for (int32_t p = 1; p + n - 1 <= length; ++p) {
        if (std::memcmp(text + p, word, size_t(n)) != 0)
            continue;
        if (!wholeWord)
            return uint16_t(p);
        const bool spaceBefore = p == 1 || text[p - 1] == ' ';
        const bool spaceAfter = p + n - 1 == length || text[p + n] == ' ';
        if (spaceBefore && spaceAfter)
            return uint16_t(p);
    }
    return kWordNotFound;
}

int32_t PStrScanChar(const uint8_t* text, int32_t from, uint8_t ch, bool equal)
{
    const int32_t length = text[0];
    for (int32_t p = from < 1 ? 1 : from; p <= length; ++p) {
        if ((text[p] == ch) == equal)
            return p;
    }
    return equal && ch == ' ' ? length + 1 : -1;
}

int32_t PStrRangeIsNumeric(const uint8_t* text, int32_t from, int32_t to, int32_t flags)
{
    if (from < 1 || to > text[0] + 1 || from >= to)
        return 0;
    for (int32_t p = from; p < to; ++p) {
        const uint8_t c = text[p];
        const bool ok = IsDigit(c) || (flags && (c == '-' || c == '.')) ||
                        ((flags & kNumericSlash) && c == '/') || ((flags & kNumericLetters) && IsLetter(c));
        if (!ok)
            return 0;
    }
    return 1;
}

void DeliveryPointFromAddress(const uint8_t* address, const uint8_t* city, uint8_t* out)
{
    SetOut(out, '9', '9');
    if (PStrFindWord(city, "APO", true) != kWordNotFound || PStrFindWord(city, "FPO", true) != kWordNotFound)
        return;

    const int32_t length = address[0];
    int32_t numberFirst, numberEnd, secondFirst, secondEnd;
    NextWord(address, 1, &numberFirst, &numberEnd);
    NextWord(address, numberEnd, &secondFirst, &secondEnd);
    if (secondFirst > length)
        return;

    const uint8_t first = address[numberFirst];
    if (!IsDigit(first) && first != '-' && first != '.') {
        const uint16_t box = PStrFindWord(address, "BOX", false);
        if (box == kWordNotFound)
            return;
        // The number starts four characters after the B; an address that
        // ends with BOX has none.
        const int32_t from = int32_t(box) + 4;
        if (from > length)
            return;
        NextWord(address, from, &numberFirst, &numberEnd);
        if (numberFirst > length)
            return;
        NextWord(address, numberEnd, &secondFirst, &secondEnd);
    }

    if (PStrRangeIsNumeric(address, numberFirst, numberEnd, kNumericLetters) &&
        PStrRangeIsNumeric(address, secondFirst, secondEnd, 0)) {
        numberFirst = secondFirst;
        numberEnd = secondEnd;
    }
    for (int32_t p = numberFirst; p < numberEnd; ++p) {
        if (address[p] == '/')
            return;
    }

    char digits[2] = {0, 0};
    int found = 0;
    for (int32_t p = numberEnd - 1; p >= numberFirst && found < 2; --p) {
        const uint8_t c = address[p];
        if (c == '-' || c == '.')
            break;
        if (IsDigit(c))
            digits[found++] = char(c);
        else if (found > 0)
            break;
    }
    if (found == 2)
        SetOut(out, digits[1], digits[0]);
    else if (found == 1)
        SetOut(out, '0', digits[0]);
}
