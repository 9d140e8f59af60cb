// Dates of database fields.
//
// A date is stored as eight digits YYYYMMDD (the empty text means no date)
// and shown in one of two styles, picked by a style code:
//   0, 'A' or 'a'  month first, MM/DD/YYYY
//   1, 'E' or 'e'  day first,   DD/MM/YYYY
// Every other code is rejected by every operation here. A display date may
// also have a two-digit year (eight characters), and '/', ':' and '-' are
// all accepted as separators. Typed dates may be partial; they are completed
// from today's date. A buffer that receives a display date holds at least
// 11 bytes.
#pragma once

#include <cstdint>

struct CalendarDate {
    int32_t day;
    int32_t month;
    int32_t year;
};

// Today's local date, or the date set with SetTodayOverride.
CalendarDate TodayDate();
// Pins "today" (for tests); null goes back to the local clock.
void SetTodayOverride(const CalendarDate* date);

// YYYYMMDD becomes the display date of the style, in place. An empty text
// stays empty. A bad style, or a text that is not eight characters long,
// gives null and leaves the text alone.
char* FormatStoredDate(char* text, int style);

// Completes a typed date (CompleteDateText) and turns it into YYYYMMDD, in
// place. An empty text stays empty; a bad style gives null.
char* NormalizeDateText(char* text, int style);

// Lays the typed digit groups and separators over today's date in the style
// from the right end, in place: a short year overlays the right end of
// today's year (4 in 2026 gives 2024), a one-digit day or month gains a
// leading '0', and fields not typed keep today's values. An empty text stays
// empty; a bad style gives null.
char* CompleteDateText(char* text, int style);

// 1 when text is a valid display date of the style, else 0.
int IsDateTextValid(const char* text, int style);
inline int IsValidDateText(const char* text, int style)
{
    return IsDateTextValid(text, style);
}

// Splits a display date. A two-digit year is taken in today's century.
// False, with zeros, for a length other than 8 or 10, a non-digit where a
// digit belongs, or a bad style.
bool ParseDateText(const char* text, int32_t* day, int32_t* month, int32_t* year, int style);

// The display date of the parts: two-digit fields, and the year in four
// digits from 100 on, else in two. False for an invalid date, a year outside
// 0..9999 or a bad style; out is then left alone.
bool FormatDateParts(char* out, int32_t day, int32_t month, int32_t year, int style);

// Today's date as a display date; false for a bad style.
bool TodayDateText(char* out, int style);

// 1 when month is 1-12 and day lies within the month (29 February only in a
// leap year), else 0.
int IsValidDate(int32_t day, int32_t month, int32_t year);
// Gregorian: divisible by 4 and not by 100, or divisible by 400.
int IsLeapYear(int32_t year);
