// Hyphenation of English words by Liang's pattern method, over the pattern
// table compiled into the program (text/hyphen_patterns_table.h), and the
// choice of a line break inside a word.
//
// Pure computation: no files, no state kept between calls, no allocation.
// All work buffers are fixed and sized for any word of up to 255 characters
// (the longest a PStr holds).
#pragma once

#include <cstdint>

// The break values of a word: entry j belongs to the gap before letter j
// (0-based), i.e. between letters j - 1 and j. After HyphenateWord only 0
// (no break) and odd values (break allowed) are left. Hyphenation clears and
// writes entries up to L + 3 for a word of L letters, so the 252-letter
// maximum needs all 256.
constexpr int kHyphenValueCount = 256;
using HyphenValues = uint8_t[kHyphenValueCount];

// Words shorter than 3 or longer than 252 letters get no break at all.
constexpr int kHyphenMinWordLength = 3;
constexpr int kHyphenMaxWordLength = 252;

// The digit buffer of one look-up: slot k holds the pattern's value before
// its character k.
constexpr int kHyphenDigitCount = 16;

// The last bucket number a look-up consults; the bucket after it (eight
// characters beginning with "zz") counts as empty.
constexpr int kHyphenLastBucket = 5101;
// At most this many patterns of one bucket are compared.
constexpr int kHyphenSearchBound = 4446;

// A hyphenated word: its characters with '-' after each letter followed by
// a permitted break, NUL-terminated. 1022 characters at most.
constexpr int kHyphenatedTextSize = 1023;
using HyphenatedText = char[kHyphenatedTextSize];

// Fills values for the NUL-terminated word. Upper-case letters match the
// patterns like lower-case ones. Two rules of our own follow the patterns,
// both on the word as given (case included): no break before the last letter
// when the last two letters are equal, and a word of 8 letters or more that
// begins with "anti" breaks after that prefix and nowhere inside it.
void HyphenateWord(const char* word, HyphenValues& values);

// The pattern whose letters and dots equal the n characters of substring, or
// nullptr. n outside 2..8 finds nothing.
const char* FindPattern(const char* substring, int n);

// digits receives the values of the pattern FindPattern finds for the
// substring, or all zero when there is none.
void GetPatternDigits(const char* substring, int n, uint8_t (&digits)[kHyphenDigitCount]);

// Compares two NUL-terminated strings by their letters and dots only; digits
// and any other character are skipped. The string that runs out first
// compares lower. Negative, zero or positive.
int ComparePatternLetters(const char* a, const char* b);

// Hyphenates a PStr word (the buffer becomes the NUL-terminated word) and
// writes it to out with '-' after each letter followed by a permitted break.
void HyphenateToString(uint8_t* word, HyphenatedText& out);

// The word around position p of a paragraph's characters text[0, length):
// backward from p over letters, digits, '@' and punctuation, forward from p
// over letters, digits and '@'. The word's first 252 characters go into the
// PStr word. Returns the word's start, or p when there is no word (the PStr
// is then empty).
int32_t GetWordAtBreak(const uint8_t* text, int32_t length, int32_t p, uint8_t* word);

// For hyphenated text of the word starting at paragraph position s, and a
// line that must break at position p: the letter index within the word after
// which the last permitted break before p falls, or 0 when there is none.
int32_t FindHyphenBreak(const char* hyphenated, int32_t s, int32_t p);

// Where a line that must break at position p of text[0, length) ends when
// hyphenation is on.
struct HyphenBreak {
    // False when no word lies at p: the line breaks as without hyphenation.
    bool applies = false;
    // The first character of the next line: after the last permitted break
    // before p that keeps at least two characters of the word on the line,
    // else the word's start (the whole word moves down).
    int32_t end = 0;
    // A hyphen is drawn at the line's end.
    bool shownHyphen = false;
};
// Without mayHyphenate (a merge field's text, which is a value or a
// placeholder rather than a word of the language) the run around p breaks
// as a word without a break point does.
HyphenBreak ChooseHyphenBreak(const uint8_t* text, int32_t length, int32_t p, bool mayHyphenate = true);
