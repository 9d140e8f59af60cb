// The ten-field address block of the type-13 Quick Card frame, laid out
// once by the rules that both its drawing and its measuring follow.
//
// Each field starts a new line when its new-line switch says so and
// something stood before it. An excluded field draws nothing; unless empty
// fields are skipped it still counts as started and, unless excluded
// fields are closed up, keeps its width on its line. With empty fields
// skipped, an included field whose text is empty changes nothing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class Dc;

constexpr int32_t kAddressFieldCount = 10;

struct AddressPiece {
    int32_t field = 0;  // 1-10
    int32_t x = 0;      // from the block's left text edge
    int32_t line = 0;   // 0 for the first line
    std::string text;   // with its trailing space
};

struct AddressLayout {
    std::vector<AddressPiece> pieces;  // what is drawn, in order
    int32_t lines = 1;
    int32_t widest = 0;  // the longest pen advance of a line
};

// texts[i] is field i + 1's text (a non-empty one gets one space appended
// here); widths are measured in the context's selected font. settings is
// the 92-byte block of barcode_frame_format.h.
AddressLayout LayOutAddressBlock(const uint8_t* settings, const std::array<std::string, kAddressFieldCount>& texts,
                                 Dc* dc);

// Postnet data of a Quick Card frame: the ZIP digits of field 100, with the
// delivery point of field 23 behind nine of them, when a record is used;
// else the sample "12345678999".
std::string QuickCardPostnetData(bool useRecord, bool output);
// The ZIP text that decides whether the bars stand above the text: field
// 100 when a record is used, else the sample "123456789".
std::string QuickCardZipText(bool useRecord, bool output);
// Whether Postnet draws bars for data of that many characters.
inline bool IsPostnetLength(size_t n) { return n == 5 || n == 9 || n == 11; }
