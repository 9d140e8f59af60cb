#include "postscript/ps_words.h"

#include <charconv>
#include <cmath>
#include <vector>

#include <zlib.h>

void PsAppendNumber(std::string* out, double v, int decimals)
{
    if (!std::isfinite(v))
        v = 0;
    // Far beyond any page; a PostScript real holds about seven digits.
    v = std::fmax(std::fmin(v, 1e9), -1e9);
    char b[64];
    const auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, decimals);
    char* end = r.ptr;
    if (decimals > 0) {
        while (end > b && end[-1] == '0')
            --end;
        if (end > b && end[-1] == '.')
            --end;
    }
    std::string_view text(b, size_t(end - b));
    if (text == "-0")
        text = "0";
    out->append(text);
}

void PsAppendColour(std::string* out, uint32_t c)
{
    for (uint32_t v : {c & 0xFFu, (c >> 8) & 0xFFu, (c >> 16) & 0xFFu}) {
        out->push_back(' ');
        PsAppendNumber(out, v / 255.0, 4);
    }
}

void PsAppendFlateAscii85(std::string* out, std::string_view bytes)
{
    uLongf size = compressBound(uLong(bytes.size()));
    std::vector<unsigned char> packed(size);
    if (compress2(packed.data(), &size, reinterpret_cast<const Bytef*>(bytes.data()), uLong(bytes.size()), 6) != Z_OK)
        size = 0;
    packed.resize(size);
    int column = 0;
    auto put = [&](char ch) {
        out->push_back(ch);
        if (++column == 76) {
            out->push_back('\n');
            column = 0;
        }
    };
    size_t i = 0;
    for (; i + 4 <= packed.size(); i += 4) {
        uint32_t word = uint32_t(packed[i]) << 24 | uint32_t(packed[i + 1]) << 16 | uint32_t(packed[i + 2]) << 8 |
                        packed[i + 3];
        if (word == 0) {
            put('z');
            continue;
        }
        char five[5];
        for (int k = 4; k >= 0; --k) {
            five[k] = char('!' + word % 85);
            word /= 85;
        }
        for (char ch : five)
            put(ch);
    }
    const size_t rest = packed.size() - i;
    if (rest > 0) {
        uint32_t word = 0;
        for (size_t k = 0; k < 4; ++k)
            word = word << 8 | (k < rest ? packed[i + k] : 0);
        char five[5];
        for (int k = 4; k >= 0; --k) {
            five[k] = char('!' + word % 85);
            word /= 85;
        }
        for (size_t k = 0; k < rest + 1; ++k)
            put(five[k]);
    }
    out->append("~>\n");
}

void PsAppendString(std::string* out, std::string_view text)
{
    out->push_back('(');
    for (char ch : text) {
        const auto u = uint8_t(ch);
        if (ch == '(' || ch == ')' || ch == '\\') {
            out->push_back('\\');
            out->push_back(ch);
        } else if (u < 32 || u > 126) {
            char b[5];
            b[0] = '\\';
            b[1] = char('0' + (u >> 6));
            b[2] = char('0' + ((u >> 3) & 7));
            b[3] = char('0' + (u & 7));
            out->append(b, 4);
        } else {
            out->push_back(ch);
        }
    }
    out->push_back(')');
}
