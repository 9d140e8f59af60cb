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
// The bytes compressed with zlib and written as ASCII85 lines, ending with
// the "~>" mark: the data of a "/ASCII85Decode filter /FlateDecode filter".
void PsAppendFlateAscii85(std::string* out, std::string_view bytes);
// The text as a PostScript string literal, with its parentheses.
void PsAppendString(std::string* out, std::string_view text);
