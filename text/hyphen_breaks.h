// Where a line may break inside the word it overflows in, when the
// document's hyphenation preference is on: the word's start and the number
// of its letters that stay on the line before a shown hyphen. This is the
// only place layout reaches the hyphenation.
#pragma once

#include <cstdint>

struct HyphenBreak {
    int32_t wordStart = -1;  // -1: no word at the break (no hyphenation)
    int32_t keep = 0;        // letters kept before the hyphen; 0: no point
};

// The break for a line that must end at p of the text (the character that
// did not fit).
HyphenBreak FindLayoutHyphenBreak(const uint8_t* text, int32_t length, int32_t p);
