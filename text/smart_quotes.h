// The typographic quotation marks typed in place of " and ', and marking a
// character as the page number.
#pragma once

#include <cstdint>

class TextContext;

constexpr uint8_t kLeftSingleQuote = 145;
constexpr uint8_t kRightSingleQuote = 146;

// The pair to type for a double (34) or single (39) quote: by the quote
// style of the preferences for a double quote, the single quotation marks
// (145, 146) for a single one. False while smart quotes are off (or for a style
// outside 0-7).
bool GetSmartQuotes(TextContext* ctx, uint8_t* open, uint8_t* close, bool isDouble);
// The mark for a quote typed at p of the paragraph at hand: the opening one
// at the paragraph's start or after a space or tab, else the closing one;
// the character itself when smart quotes are off.
uint8_t SmartQuoteFor(TextContext* ctx, uint8_t typed, int32_t p);

// Marks the character at p as a page number of kind 0-4 (shown 1 decimal,
// 2 upper-case roman, 3 lower-case roman, 4 upper-case letters, 5 lower-case
// letters); inside a field's text it beeps and marks nothing. False when
// nothing was marked.
bool CanInsertPageNumber(TextContext* ctx, int32_t kind, int32_t p);
