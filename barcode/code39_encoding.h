// Code 39: the symbol string with its full-ASCII pairs and check
// character, and the character patterns.
#pragma once

#include <cstdint>

// Column of a Code 39 character in the pattern table (0-9, A-Z, "-", ".",
// space, "*", "$", "/", "+", "%" are 0-43); -1 for any other character.
int Code39Column(uint8_t ch);
// The check value of a character (0-42); -1 for "*" and characters Code 39
// lacks.
int Code39CheckValue(uint8_t ch);
// The character of a check value 0-42.
uint8_t Code39CheckChar(int value);
// The mod-43 check character of a symbol string.
uint8_t Code39CheckCharOf(const uint8_t* symbols);

// Builds the symbols to draw and the caption, both between "*" start and
// stop characters, with the check character when addCheck is set.
// Characters Code 39 lacks become their two-character full-ASCII pair in
// the symbols and stay as typed in the caption. False when the data holds
// a "*" (it would end the symbol where it stands) or a byte above 127, or
// when either string would not fit in a PStr.
bool BuildCode39Strings(const uint8_t* data, bool addCheck, uint8_t* symbols, uint8_t* caption);

// The number of symbol characters BuildCode39Strings makes, start and stop
// included; -1 when it would fail.
int Code39SymbolCount(const uint8_t* data, bool addCheck);

// Bar i (0-4) or space i (0-3) of a column is wide (two modules).
bool Code39BarIsWide(int column, int bar);
bool Code39SpaceIsWide(int column, int space);
