#include "text/hyphen_breaks.h"

#include <cstring>

namespace {

bool IsWordLetter(uint8_t c)
{
    return (c >= '0' && c <= '9') || c == '@' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Going back from the break, quotation marks, brackets and punctuation stay
// with the word they touch.
bool ContinuesWordBackward(uint8_t c)
{
    if (IsWordLetter(c))
        return true;
    if (c != 0 && std::strchr("?!,.\"{}[]()<>#%;:'`", c))
        return true;
    switch (c) {
    case 171: case 180: case 199: case 200: case 210: case 211: case 212: case 213: case 227: return true;
    default: return false;
    }
}

}  // namespace

HyphenBreak FindLayoutHyphenBreak(const uint8_t* text, int32_t length, int32_t p)
{
    HyphenBreak result;
    if (!text || p < 0 || p > length)
        return result;
    int32_t start = p;
    while (start > 0 && ContinuesWordBackward(text[start - 1]))
        --start;
    int32_t end = p;
    while (end < length && IsWordLetter(text[end]))
        ++end;
    if (end <= start)
        return result;
    result.wordStart = start;
    // No hyphenation patterns are built in yet: every word moves whole.
    result.keep = 0;
    return result;
}
