// Words of PostScript written by the program: numbers in the C locale,
// whatever the user's is, and binary data as ASCII85 text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A number with at most `decimals` decimals, trailing zeros dropped.
void PsAppendNumber(std::string* out, double v, int decimals = 3);
// " r g b" of a 0x00BBGGRR colour, each 0 to 1.
void PsAppendColour(std::string* out, uint32_t colorRef);
// The bytes written as ASCII85 lines, ending with the "~>" mark: the data
// of a "/ASCII85Decode filter". A line that would begin with "%" begins
// with a space (which the filter passes over), so that no line of the
// data reads as a comment to a program that sorts the job's pages.
void PsAppendAscii85(std::string* out, std::string_view bytes);
// The bytes compressed in zlib's format, the data of a "/FlateDecode filter".
std::string PsFlate(std::string_view bytes);
// The bytes compressed in zlib's format and written as by PsAppendAscii85:
// the data of a "/ASCII85Decode filter /FlateDecode filter".
void PsAppendFlateAscii85(std::string* out, std::string_view bytes);
// The text as a PostScript string literal, with its parentheses.
void PsAppendString(std::string* out, std::string_view text);
