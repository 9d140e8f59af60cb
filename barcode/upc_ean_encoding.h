// UPC-A, UPC-E, EAN-13, EAN-8, ISBN and ISSN: the digits of a symbol with
// their check digit and add-on, the number sets and the parity tables.
#pragma once

#include <cstdint>

// Number sets of a digit: A (odd parity), B (even parity, A reversed) and
// C (A with bars and spaces exchanged).
enum class EanSet { kA, kB, kC };

// The digits a retail symbol draws. The check digit is computed, never
// typed: it follows the main digits.
struct UpcEanDigits {
    uint8_t main[14] = {};  // digit values, the check digit last
    int mainCount = 0;      // main digits plus the check digit
    uint8_t addOn[5] = {};
    int addOnCount = 0;  // 0, 2 or 5
};

// Splits the data of a symbol of the given type (9-14) into main digits
// and add-on and computes the check digit; ISBN and ISSN data go behind
// their "977", "978" or "979" prefix as an EAN-13. False unless the data is
// all digits of an accepted length, and a typed check digit is right.
bool SplitUpcEanData(int16_t type, const uint8_t* data, uint8_t bookPrefix, UpcEanDigits* out);

// UPC-A, EAN-13 and EAN-8 numbers are kept and printed on packs with their
// check digit; typed so (one digit more than the main digits, with or
// without an add-on) the data stands for the same symbol as without it.
// Copies data into out without a typed check digit. False, with the digit
// typed and the one it should be, when the typed one is wrong; data that
// holds no typed check digit, or is not all digits, is copied as it is.
struct TypedCheckDigit {
    int typed = -1;
    int expected = -1;
};
bool DropTypedCheckDigit(int16_t type, const uint8_t* data, uint8_t* out, TypedCheckDigit* wrong = nullptr);

// Check digits of the main digits (values 0-9): UPC-A of 11, EAN-13 of 12,
// EAN-8 of 7, and UPC-E of 6 (that of the UPC-A number the six digits
// stand for, number system 0).
int UpcACheckDigit(const uint8_t* digits);
int Ean13CheckDigit(const uint8_t* digits);
int Ean8CheckDigit(const uint8_t* digits);
int UpcECheckDigit(const uint8_t* digits);

// The set of digit k (0-5) of the six an EAN-13's first digit or a
// UPC-E's check digit chooses.
EanSet Ean13DigitSet(int firstDigit, int k);
EanSet UpcEDigitSet(int checkDigit, int k);
// The set of add-on digit k of a 2- or 5-digit add-on.
EanSet AddOnDigitSet(const uint8_t* digits, int count, int k);

// The four element widths of a digit in modules, in drawing order: space,
// bar, space, bar for sets A and B; bar, space, bar, space for set C.
void EanDigitWidths(int digit, EanSet set, int widths[4]);
