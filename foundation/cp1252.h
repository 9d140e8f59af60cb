// Windows-1252, the code page of all text the system stores.
//
// Stored text stays in single bytes everywhere; it is converted to Unicode
// only where it meets Qt (fonts, widgets, file names) and back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <QString>

// The Unicode character of a byte; the five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the
// same value, so every byte survives a round trip.
char16_t Cp1252ToUnicode(uint8_t byte);
// The byte of a Unicode character, or -1 when the code page lacks it.
int UnicodeToCp1252(char16_t ch);

QString Cp1252ToQString(std::string_view bytes);
QString Cp1252ToQString(const char* zeroTerminated);
// Characters outside the code page become '?'.
std::string QStringToCp1252(const QString& text);
// The characters of the text that the code page has, in order; the others
// are left out and counted in *leftOut (a character beyond the first 65536
// counts once, though the string holds it in two halves).
std::string QStringToCp1252Keeping(const QString& text, int32_t* leftOut);
// What a note says of characters left out of a text: typed, or of "the
// pasted text", with no place in the holder's character set ("the card's",
// "the database's").
std::string CharactersLeftOutText(int32_t count, bool typed, const char* holder);

// Case mapping of the code page (letters with accents included), as the
// system's lower-casing of single-byte text does it.
uint8_t Cp1252ToLower(uint8_t byte);
uint8_t Cp1252ToUpper(uint8_t byte);
// Whether two texts are the same but for case, by that mapping.
bool Cp1252EqualIgnoringCase(std::string_view a, std::string_view b);
