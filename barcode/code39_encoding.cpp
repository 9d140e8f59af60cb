#include "barcode/code39_encoding.h"

#include <cstring>

#include "foundation/pstr.h"

namespace {

const char kCharacters[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. *$/+%";
// The check values follow the columns, skipping "*".
const char kCheckCharacters[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

// Bar, space, bar, ... of each column; wide elements as 1.
const char* const kPatterns[44] = {
    "000110100", "100100001", "001100001", "101100000", "000110001", "100110000", "001110000", "000100101",
    "100100100", "001100100", "100001001", "001001001", "101001000", "000011001", "100011000", "001011000",
    "000001101", "100001100", "001001100", "000011100", "100000011", "001000011", "101000010", "000010011",
    "100010010", "001010010", "000000111", "100000110", "001000110", "000010110", "110000001", "011000001",
    "111000000", "010010001", "110010000", "011010000", "010000101", "110000100", "011000100", "010010100",
    "010101000", "010100010", "010001010", "000101010",
};

// The pairs that stand for the characters 0-127 that Code 39 lacks; an
// empty entry marks a character Code 39 holds.
const char* const kFullAscii[128] = {
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K", "$L", "$M", "$N", "$O",
    "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E",
    "",   "/A", "/B", "/C", "",   "",   "/F", "/G", "/H", "/I", "",   "",   "/L", "",   "",   "",
    "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "/Z", "%F", "%G", "%H", "%I", "%J",
    "%V", "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "",
    "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "%K", "%L", "%M", "%N", "%O",
    "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I", "+J", "+K", "+L", "+M", "+N", "+O",
    "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W", "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T",
};

// Appends one character to a PStr; false when it is full.
bool Append(uint8_t* s, uint8_t ch)
{
    if (s[0] >= kPStrMaxLength)
        return false;
    s[++s[0]] = ch;
    return true;
}

}  // namespace

int Code39Column(uint8_t ch)
{
    if (ch == 0)
        return -1;
    const char* p = std::strchr(kCharacters, ch);
    return p ? int(p - kCharacters) : -1;
}

int Code39CheckValue(uint8_t ch)
{
    if (ch == 0 || ch == '*')
        return -1;
    const char* p = std::strchr(kCheckCharacters, ch);
    return p ? int(p - kCheckCharacters) : -1;
}

uint8_t Code39CheckChar(int value) { return uint8_t(kCheckCharacters[value]); }

uint8_t Code39CheckCharOf(const uint8_t* symbols)
{
    uint16_t sum = 0;
    for (int i = 1; i <= symbols[0]; ++i) {
        const int v = Code39CheckValue(symbols[i]);
        if (v >= 0)
            sum = uint16_t(sum + v);
    }
    return Code39CheckChar(sum % 43);
}

bool BuildCode39Strings(const uint8_t* data, bool addCheck, uint8_t* symbols, uint8_t* caption)
{
    PStr body = {};
    for (int i = 1; i <= data[0]; ++i) {
        const uint8_t ch = data[i];
        if (ch == '*' || ch > 127)
            return false;
        if (Code39Column(ch) >= 0) {
            if (!Append(body, ch))
                return false;
        } else if (!Append(body, uint8_t(kFullAscii[ch][0])) || !Append(body, uint8_t(kFullAscii[ch][1]))) {
            return false;
        }
    }
    symbols[0] = 0;
    caption[0] = 0;
    if (!Append(symbols, '*') || !Append(caption, '*') || PStrAppend(symbols, body) || PStrAppend(caption, data))
        return false;
    if (addCheck) {
        const uint8_t check = Code39CheckCharOf(body);
        if (!Append(symbols, check) || !Append(caption, check))
            return false;
    }
    return Append(symbols, '*') && Append(caption, '*');
}

int Code39SymbolCount(const uint8_t* data, bool addCheck)
{
    PStr symbols;
    PStr caption;
    return BuildCode39Strings(data, addCheck, symbols, caption) ? symbols[0] : -1;
}

bool Code39BarIsWide(int column, int bar) { return kPatterns[column][2 * bar] == '1'; }
bool Code39SpaceIsWide(int column, int space) { return kPatterns[column][2 * space + 1] == '1'; }
