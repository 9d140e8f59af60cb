#include "text/hyphenation.h"

#include <algorithm>
#include <cstring>

#include "foundation/cp1252.h"
#include "foundation/pstr.h"
#include "text/hyphen_patterns_table.h"

namespace {

// A letter of the code page: one with a case partner, or sharp s, which has
// none in Windows-1252. Accented letters take part in comparisons; they
// simply never equal a pattern letter.
bool IsLetter(uint8_t b)
{
    return Cp1252ToLower(b) != b || Cp1252ToUpper(b) != b || b == 0xDF;
}

bool IsLetterOrDot(uint8_t b) { return b == '.' || IsLetter(b); }

// The bucket code of a pattern character; -1 for a character no pattern
// holds, so a substring holding one cannot match.
int BucketCode(uint8_t b)
{
    if (b == '.')
        return 0;
    if (b >= 'a' && b <= 'z')
        return b - 96;
    return -1;
}

// The characters GetWordAtBreak walks back over: besides letters, digits and
// '@', the punctuation that clings to a word and the Macintosh quotation
// marks and accents older text may still hold.
bool ContinuesWordBackward(uint8_t b)
{
    if ((b >= '0' && b <= '9') || b == '@' || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'))
        return true;
    if (b != 0 && std::strchr("?!,.\"{}[]()<>#%;:'`", b))
        return true;
    switch (b) {
    case 171: case 180: case 199: case 200: case 210: case 211: case 212: case 213: case 227:
        return true;
    default:
        return false;
    }
}

bool ContinuesWordForward(uint8_t b)
{
    return (b >= '0' && b <= '9') || b == '@' || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

// A character that says the text around it is no plain word: an e-mail
// address, a path or web address, a number, a placeholder or merge field in
// brackets. Such text breaks whole or not at all, never with a hyphen.
bool MarksNonWord(uint8_t b)
{
    return (b >= '0' && b <= '9') || (b != 0 && std::strchr("@/\\[]{}()<>", b));
}

bool InRun(uint8_t b) { return b > ' ' && b != 0xA0; }

// The first character of the run of characters around p up to the nearest
// space or control character before it.
int32_t RunStart(const uint8_t* text, int32_t length, int32_t p)
{
    int32_t start = std::clamp(p, int32_t(0), length);
    while (start > 0 && InRun(text[start - 1]))
        --start;
    return start;
}

// The start of the run of characters around p, up to the nearest space or
// control character on either side, when the run holds one of those
// characters; -1 for a plain word.
int32_t NonWordStart(const uint8_t* text, int32_t length, int32_t p)
{
    const int32_t start = RunStart(text, length, p);
    for (int32_t i = start; i < length && InRun(text[i]); ++i) {
        if (MarksNonWord(text[i]))
            return start;
    }
    return -1;
}

}  // namespace

int ComparePatternLetters(const char* a, const char* b)
{
    const auto* x = reinterpret_cast<const uint8_t*>(a);
    const auto* y = reinterpret_cast<const uint8_t*>(b);
    for (;;) {
        while (*x && !IsLetterOrDot(*x))
            ++x;
        while (*y && !IsLetterOrDot(*y))
            ++y;
        if (!*x || !*y)
            return (*x ? 1 : 0) - (*y ? 1 : 0);
        if (*x != *y)
            return *x < *y ? -1 : 1;
        ++x;
        ++y;
    }
}

const char* FindPattern(const char* substring, int n)
{
    if (n < kHyphenMinPatternLength || n > kHyphenMaxPatternLength)
        return nullptr;
    char key[kHyphenMaxPatternLength + 1];
    std::memcpy(key, substring, size_t(n));
    key[n] = 0;

    int c0 = BucketCode(uint8_t(key[0]));
    int c1 = BucketCode(uint8_t(key[1]));
    if (c0 < 0 || c1 < 0)
        return nullptr;
    int slot = ((n - kHyphenMinPatternLength) * kHyphenCodeCount + c0) * kHyphenCodeCount + c1;
    if (slot > kHyphenLastBucket)
        return nullptr;
    const HyphenBucket& bucket = kHyphenBuckets[slot];
    const char* const* patterns = kHyphenPatterns + bucket.first;
    auto equal = [&](int i) { return ComparePatternLetters(key, patterns[i]) == 0; };

    // Small buckets are settled in at most two comparisons, relying on the
    // table's order; larger ones are scanned.
    switch (bucket.count) {
    case 0:
        return nullptr;
    case 1:
        return equal(0) ? patterns[0] : nullptr;
    case 2:
        return equal(0) ? patterns[0] : equal(1) ? patterns[1] : nullptr;
    case 3: {
        int order = ComparePatternLetters(key, patterns[1]);
        if (order == 0)
            return patterns[1];
        int other = order > 0 ? 2 : 0;
        return equal(other) ? patterns[other] : nullptr;
    }
    default:
        for (int i = 0, count = std::min<int>(bucket.count, kHyphenSearchBound); i < count; ++i) {
            if (equal(i))
                return patterns[i];
        }
        return nullptr;
    }
}

void GetPatternDigits(const char* substring, int n, uint8_t (&digits)[kHyphenDigitCount])
{
    std::memset(digits, 0, sizeof digits);
    const char* pattern = FindPattern(substring, n);
    if (!pattern)
        return;
    int k = 0;
    for (const char* c = pattern; *c && k < kHyphenDigitCount; ++c) {
        if (IsLetterOrDot(uint8_t(*c)))
            ++k;
        else
            digits[k] = uint8_t(*c - '0');
    }
}

void HyphenateWord(const char* word, HyphenValues& values)
{
    const int length = int(strnlen(word, kHyphenMaxWordLength + 1));
    if (length < kHyphenMinWordLength || length > kHyphenMaxWordLength) {
        std::memset(values, 0, sizeof values);
        return;
    }
    std::memset(values, 0, size_t(length + 4));

    // The word between two edge dots, lower-cased up to the first dot: a dot
    // inside the word ends the part the patterns see as one word.
    char dotted[kHyphenMaxWordLength + 3];
    const int dottedLength = length + 2;
    dotted[0] = '.';
    std::memcpy(dotted + 1, word, size_t(length));
    dotted[length + 1] = '.';
    dotted[dottedLength] = 0;
    for (int i = 1; dotted[i] != '.'; ++i)
        dotted[i] = char(Cp1252ToLower(uint8_t(dotted[i])));

    // Every substring of 2 to 8 characters; each gap keeps the largest value
    // any matching pattern gives it. Value k of a pattern at dotted position
    // i lies before word letter i + k - 1.
    uint8_t digits[kHyphenDigitCount];
    for (int i = 0; i <= length; ++i) {
        for (int n = kHyphenMinPatternLength; n <= kHyphenMaxPatternLength && i + n <= dottedLength; ++n) {
            GetPatternDigits(dotted + i, n, digits);
            for (int k = i == 0 ? 1 : 0; k <= n; ++k) {
                uint8_t& entry = values[i + k - 1];
                entry = std::max(entry, digits[k]);
            }
        }
    }
    for (int j = 0; j <= length; ++j) {
        if (values[j] % 2 == 0)
            values[j] = 0;
    }

    if (word[length - 1] == word[length - 2])
        values[length - 1] = 0;
    if (length >= 8 && std::strncmp(word, "anti", 4) == 0) {
        std::memset(values, 0, 4);
        values[4] = 5;
    }
}

void HyphenateToString(uint8_t* word, HyphenatedText& out)
{
    const char* text = PStrToCStrInPlace(word);
    HyphenValues values;
    HyphenateWord(text, values);
    const int length = int(std::strlen(text));
    int written = 0;
    for (int i = 0; i < length; ++i) {
        out[written++] = text[i];
        if (values[i + 1] != 0 && written < kHyphenatedTextSize - 1)
            out[written++] = '-';
    }
    out[written] = 0;
}

int32_t GetWordAtBreak(const uint8_t* text, int32_t length, int32_t p, uint8_t* word)
{
    p = std::clamp(p, int32_t(0), std::max(length, int32_t(0)));
    int32_t start = p;
    while (start > 0 && ContinuesWordBackward(text[start - 1]))
        --start;
    int32_t end = p;
    while (end < length && ContinuesWordForward(text[end]))
        ++end;

    const int32_t count = std::min(end - start, int32_t(kHyphenMaxWordLength));
    word[0] = uint8_t(count);
    std::memcpy(word + 1, text + start, size_t(count));
    return count > 0 ? start : p;
}

int32_t FindHyphenBreak(const char* hyphenated, int32_t s, int32_t p)
{
    int32_t last = 0;
    int32_t hyphens = 0;
    for (int32_t i = 0; hyphenated[i] != 0 && i + s - hyphens < p; ++i) {
        if (hyphenated[i] == '-') {
            last = i;
            ++hyphens;
        }
    }
    return last - hyphens;
}

HyphenBreak ChooseHyphenBreak(const uint8_t* text, int32_t length, int32_t p, bool mayHyphenate)
{
    HyphenBreak result;
    PStr word;
    const int32_t start = GetWordAtBreak(text, length, p, word);
    if (word[0] == 0)
        return result;
    if (const int32_t run = mayHyphenate ? NonWordStart(text, length, p) : RunStart(text, length, p); run >= 0) {
        // The whole run moves down, as a word with no break point does.
        result.applies = true;
        result.end = run;
        return result;
    }
    HyphenatedText hyphenated;
    HyphenateToString(word, hyphenated);
    const int32_t k = FindHyphenBreak(hyphenated, start, p);
    result.applies = true;
    // k = 0 would leave a single character of the word on the line.
    if (k > 0) {
        result.end = start + k + 1;
        result.shownHyphen = true;
    } else {
        result.end = start;
    }
    return result;
}
