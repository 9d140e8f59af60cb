// Finding the words of a paragraph for the spelling checker.
//
// A word is a run of word characters: the letters A-Z and a-z, '.', '-',
// the apostrophe 39 and the typographic ones (IsSpellApostrophe). Only A-Z
// and a-z count as letters. Text is Windows-1252 bytes.
#pragma once

#include <cstdint>

bool IsSpellWordChar(uint8_t c);
// 39, the single quotation marks 145 and 146 that smart quotes type, and
// 213 and 180, which older text holds for them.
bool IsSpellApostrophe(uint8_t c);
bool IsSpellLetter(uint8_t c);

// Words this long or longer are no words.
constexpr int32_t kSpellWordLimit = 254;

enum class WordSearch {
    kFound,
    kNone,     // no letter at or after the caret
    kTooLong,  // a run of kSpellWordLimit or more word characters ends at end
};

// [start, end) of a paragraph's characters.
struct FoundWord {
    int32_t start = 0;
    int32_t end = 0;
};

// The word at or after caret among the length characters of a paragraph.
// On a non-word character the word starts at the next letter. On a word
// character the start is found walking back: non-word characters met
// before a letter has been passed are stepped over, and the word starts
// after the first non-word character met once a letter has been passed
// (or at 0). Stepping over those characters can find a word that ends at
// or before the caret. The word ends at the first non-word character after
// its start; a word the text ends in without one is no word.
WordSearch FindWord(const uint8_t* chars, int32_t length, int32_t caret, FoundWord* word);

// The part of a found word the dictionary is asked about: the word without
// its last character when that is no letter (so a word followed by two
// full stops keeps one), then without the characters before its first
// letter, so that a word in quotes or after a dash is checked. False when
// no letter is left.
bool WordToLookUp(const uint8_t* chars, const FoundWord& found, FoundWord* word);
