#include "text/word_finder.h"

bool IsSpellLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsSpellApostrophe(uint8_t c) { return c == 39 || c == 145 || c == 146 || c == 213 || c == 180; }

bool IsSpellWordChar(uint8_t c) { return IsSpellLetter(c) || c == '.' || c == '-' || IsSpellApostrophe(c); }

WordSearch FindWord(const uint8_t* chars, int32_t length, int32_t caret, FoundWord* word)
{
    if (caret < 0 || caret >= length)
        return WordSearch::kNone;
    int32_t start = caret;
    if (!IsSpellWordChar(chars[caret])) {
        while (start < length && !IsSpellLetter(chars[start]))
            ++start;
        if (start >= length)
            return WordSearch::kNone;
    } else {
        bool letterPassed = IsSpellLetter(chars[caret]);
        for (start = caret; start > 0; --start) {
            const uint8_t c = chars[start - 1];
            if (IsSpellLetter(c))
                letterPassed = true;
            else if (!IsSpellWordChar(c) && letterPassed)
                break;
        }
    }
    int32_t end = start;
    while (end < length && IsSpellWordChar(chars[end]))
        ++end;
    word->start = start;
    word->end = end;
    if (end >= length)
        return WordSearch::kNone;
    return end - start >= kSpellWordLimit ? WordSearch::kTooLong : WordSearch::kFound;
}

bool WordToLookUp(const uint8_t* chars, const FoundWord& found, FoundWord* word)
{
    FoundWord w = found;
    if (w.end > w.start && !IsSpellLetter(chars[w.end - 1]))
        --w.end;
    while (w.start < w.end && !IsSpellLetter(chars[w.start]))
        ++w.start;
    if (w.start >= w.end)
        return false;
    *word = w;
    return true;
}
