#include "foundation/utf8_text.h"

#include <cstring>

#include <QString>

#include "foundation/cp1252.h"

namespace {

enum class Decoded { Char, Incomplete, Invalid };

// One character at p (n bytes available): its code point and length.
// Overlong forms, surrogates and code points beyond U+10FFFF are invalid.
Decoded DecodeOne(const uint8_t* p, size_t n, char32_t* code, size_t* length)
{
    const uint8_t lead = p[0];
    if (lead < 0x80) {
        *code = lead;
        *length = 1;
        return Decoded::Char;
    }
    size_t need = 0;
    uint8_t low = 0x80, high = 0xBF;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        value = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        value = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return Decoded::Invalid;
    }
    for (size_t i = 1; i <= need; ++i) {
        if (i >= n)
            return Decoded::Incomplete;
        const uint8_t b = p[i];
        if (b < low || b > high)
            return Decoded::Invalid;
        low = 0x80;
        high = 0xBF;
        value = (value << 6) | (b & 0x3F);
    }
    *code = value;
    *length = need + 1;
    return Decoded::Char;
}

}  // namespace

bool StartsWithUtf8Bom(std::string_view bytes)
{
    return bytes.size() >= kUtf8BomLength && bytes.compare(0, kUtf8BomLength, kUtf8Bom) == 0;
}

std::string Utf8ToCp1252(std::string_view utf8, int32_t* replaced)
{
    std::string out;
    out.reserve(utf8.size());
    const auto* p = reinterpret_cast<const uint8_t*>(utf8.data());
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t code = 0;
        size_t length = 0;
        const Decoded d = DecodeOne(p + i, utf8.size() - i, &code, &length);
        if (d == Decoded::Incomplete)
            break;
        int byte = -1;
        if (d == Decoded::Char && code <= 0xFFFF)
            byte = UnicodeToCp1252(char16_t(code));
        if (byte < 0) {
            out.push_back('?');
            if (replaced)
                ++*replaced;
        } else {
            out.push_back(char(byte));
        }
        i += d == Decoded::Char ? length : 1;
    }
    return out;
}

namespace {

// Text that Windows calls "Unicode" is UTF-16, told by its byte order mark
// (FF FE little-endian, FE FF big-endian); its bytes read one by one would
// put a NUL between every two letters. A last odd byte is no character.
bool Utf16ToUtf8(std::string_view bytes, std::string* utf8)
{
    if (bytes.size() < 2)
        return false;
    const auto b0 = static_cast<uint8_t>(bytes[0]), b1 = static_cast<uint8_t>(bytes[1]);
    const bool little = b0 == 0xFF && b1 == 0xFE;
    if (!little && !(b0 == 0xFE && b1 == 0xFF))
        return false;
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const auto lo = static_cast<uint8_t>(bytes[little ? i : i + 1]);
        const auto hi = static_cast<uint8_t>(bytes[little ? i + 1 : i]);
        units.push_back(static_cast<char16_t>(lo | (hi << 8)));
    }
    *utf8 = QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size())).toUtf8().toStdString();
    return true;
}

}  // namespace

std::string TextFileToCp1252(std::string_view bytes, int32_t* replaced)
{
    std::string text;
    if (std::string utf8; Utf16ToUtf8(bytes, &utf8)) {
        text = Utf8ToCp1252(utf8, replaced);
    } else if (StartsWithUtf8Bom(bytes)) {
        text = Utf8ToCp1252(bytes.substr(kUtf8BomLength), replaced);
    } else {
        Utf8Check check;
        check.Feed(bytes.data(), bytes.size());
        text = check.IsUtf8() ? Utf8ToCp1252(bytes, replaced) : std::string(bytes);
    }
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            // Behind a CR it was that CR's line end already.
            if (i == 0 || text[i - 1] != '\r')
                out.push_back('\r');
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

void Utf8Check::Feed(const char* bytes, size_t n)
{
    if (!valid_ || n == 0)
        return;
    // A character split between two pieces is decoded from the carried
    // bytes and the start of this piece.
    size_t i = 0;
    if (carried_ > 0) {
        char joined[8] = {};
        std::memcpy(joined, carry_, carried_);
        const size_t more = n < 4 ? n : 4;
        std::memcpy(joined + carried_, bytes, more);
        char32_t code = 0;
        size_t length = 0;
        const Decoded d =
            DecodeOne(reinterpret_cast<const uint8_t*>(joined), carried_ + more, &code, &length);
        if (d == Decoded::Invalid) {
            valid_ = false;
            return;
        }
        if (d == Decoded::Incomplete) {
            std::memcpy(carry_ + carried_, bytes, n);
            carried_ += n;
            return;
        }
        multibyte_ = true;
        i = length - carried_;
        carried_ = 0;
    }
    const auto* p = reinterpret_cast<const uint8_t*>(bytes);
    while (i < n) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t code = 0;
        size_t length = 0;
        const Decoded d = DecodeOne(p + i, n - i, &code, &length);
        if (d == Decoded::Invalid) {
            valid_ = false;
            return;
        }
        if (d == Decoded::Incomplete) {
            carried_ = n - i;
            std::memcpy(carry_, bytes + i, carried_);
            return;
        }
        multibyte_ = true;
        i += length;
    }
}
