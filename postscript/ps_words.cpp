#include "postscript/ps_words.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string_view>

#include <libdeflate.h>

namespace {

constexpr double kTens[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// The number as fixed-point text of `decimals` digits, trailing zeros
// dropped, from its value in units of the last digit: the common case
// without the general conversion, which a job calls millions of times.
// False, writing nothing, where rounding the scaled value could differ
// from rounding the number itself (a last digit within a thousandth of
// half way, or too many digits for the scaling to be exact to that).
bool AppendScaled(std::string* out, double v, int decimals)
{
    if (decimals < 0 || decimals >= int(std::size(kTens)))
        return false;
    const double scaled = v * kTens[decimals];
    const double magnitude = std::fabs(scaled);
    if (!(magnitude < 1e12) || std::fabs(magnitude - std::floor(magnitude) - 0.5) < 1e-3)
        return false;
    auto units = int64_t(std::nearbyint(scaled));
    if (units == 0) {
        out->push_back('0');
        return true;
    }
    if (units < 0) {
        out->push_back('-');
        units = -units;
    }
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, units);
    std::string_view all(digits, size_t(r.ptr - digits));
    // The whole part, then the fraction without its trailing zeros.
    const size_t fraction = size_t(decimals);
    if (all.size() > fraction)
        out->append(all.substr(0, all.size() - fraction));
    else
        out->push_back('0');
    std::string_view tail = all.size() > fraction ? all.substr(all.size() - fraction) : all;
    size_t leadingZeros = all.size() > fraction ? 0 : fraction - all.size();
    while (!tail.empty() && tail.back() == '0')
        tail.remove_suffix(1);
    if (!tail.empty()) {
        out->push_back('.');
        out->append(leadingZeros, '0');
        out->append(tail);
    }
    return true;
}

}  // namespace

void PsAppendNumber(std::string* out, double v, int decimals)
{
    if (!std::isfinite(v))
        v = 0;
    // Far beyond any page; a PostScript real holds about seven digits.
    v = std::fmax(std::fmin(v, 1e9), -1e9);
    if (AppendScaled(out, v, decimals))
        return;
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

void PsAppendAscii85(std::string* out, std::string_view bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = bytes.size();
    out->reserve(out->size() + size / 4 * 5 + size / 300 + 8);
    int column = 0;
    auto put = [&](char ch) {
        if (column == 0 && ch == '%')
            out->push_back(' ');
        out->push_back(ch);
        if (++column == 76) {
            out->push_back('\n');
            column = 0;
        }
    };
    size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        uint32_t word =
            uint32_t(data[i]) << 24 | uint32_t(data[i + 1]) << 16 | uint32_t(data[i + 2]) << 8 | data[i + 3];
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
    const size_t rest = size - i;
    if (rest > 0) {
        uint32_t word = 0;
        for (size_t k = 0; k < 4; ++k)
            word = word << 8 | (k < rest ? data[i + k] : 0);
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

std::string PsFlate(std::string_view bytes)
{
    // libdeflate at its middle level packs as zlib's default does, in a
    // fraction of the time; a compressor is made once a thread.
    struct Free {
        void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
    };
    thread_local std::unique_ptr<libdeflate_compressor, Free> packer(libdeflate_alloc_compressor(6));
    if (!packer)
        return {};
    std::string packed(libdeflate_zlib_compress_bound(packer.get(), bytes.size()), '\0');
    packed.resize(libdeflate_zlib_compress(packer.get(), bytes.data(), bytes.size(), packed.data(), packed.size()));
    return packed;
}

void PsAppendFlateAscii85(std::string* out, std::string_view bytes) { PsAppendAscii85(out, PsFlate(bytes)); }

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
