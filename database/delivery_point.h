// The two-digit delivery point of a postal address, and the text scans it
// is built from. Texts are length-prefixed (PStr); positions are 1-based.
#pragma once

#include <cstdint>

constexpr uint16_t kWordNotFound = 0xFFFF;

// First position where word (NUL-terminated) occurs in text; with
// wholeWord only where it stands between spaces or the text's ends.
// kWordNotFound when absent.
uint16_t PStrFindWord(const uint8_t* text, const char* word, bool wholeWord);
// First position at or after from whose character equals ch (equal set) or
// differs from it; -1 when none, except that a search for an equal space
// that runs off the end gives the position one past the end.
int32_t PStrScanChar(const uint8_t* text, int32_t from, uint8_t ch, bool equal);
// Flags for PStrRangeIsNumeric: any non-zero value allows '-' and '.'.
enum : int32_t {
    kNumericDashDot = 1,
    kNumericSlash = 2,
    kNumericLetters = 4,
};
// 1 when [from, to) is not empty and holds only digits and what the flags
// allow, else 0.
int32_t PStrRangeIsNumeric(const uint8_t* text, int32_t from, int32_t to, int32_t flags);

// The delivery point of an address line and a city into out (a PStr of two
// digits): the last two digits of the house or box number, "99" when
// there is none or the city is a military post office (APO, FPO).
void DeliveryPointFromAddress(const uint8_t* address, const uint8_t* city, uint8_t* out);
