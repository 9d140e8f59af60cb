#include "foundation/cp1252.h"

#include <cstring>

namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char16_t Cp1252ToUnicode(uint8_t byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHigh[byte - 0x80];
    return char16_t(byte);
}

int UnicodeToCp1252(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return int(ch);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

QString Cp1252ToQString(std::string_view bytes)
{
    QString out;
    out.reserve(qsizetype(bytes.size()));
    for (char c : bytes)
        out.append(QChar(Cp1252ToUnicode(uint8_t(c))));
    return out;
}

QString Cp1252ToQString(const char* zeroTerminated)
{
    if (!zeroTerminated)
        return QString();
    return Cp1252ToQString(std::string_view(zeroTerminated, std::strlen(zeroTerminated)));
}

std::string QStringToCp1252(const QString& text)
{
    std::string out;
    out.reserve(size_t(text.size()));
    for (QChar ch : text) {
        int b = UnicodeToCp1252(ch.unicode());
        out.push_back(b < 0 ? '?' : char(b));
    }
    return out;
}

std::string QStringToCp1252Keeping(const QString& text, int32_t* leftOut)
{
    std::string out;
    out.reserve(size_t(text.size()));
    *leftOut = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = UnicodeToCp1252(text[i].unicode());
        if (b >= 0)
            out.push_back(char(b));
        else if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()))
            ++*leftOut;
    }
    return out;
}

std::string CharactersLeftOutText(int32_t count, bool typed, const char* holder)
{
    const std::string where = std::string(" no place in ") + holder + " character set; ";
    if (count == 1)
        return std::string(typed ? "1 typed character has" : "1 character of the pasted text has") + where +
               "it was left out.";
    return std::to_string(count) + (typed ? " typed characters have" : " characters of the pasted text have") +
           where + "they were left out.";
}

uint8_t Cp1252ToLower(uint8_t b)
{
    if (b >= 'A' && b <= 'Z')
        return uint8_t(b + 32);
    if ((b >= 0xC0 && b <= 0xDE && b != 0xD7))
        return uint8_t(b + 32);
    switch (b) {
    case 0x8A: return 0x9A;  // S caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z caron
    case 0x9F: return 0xFF;  // Y diaeresis
    default: return b;
    }
}

uint8_t Cp1252ToUpper(uint8_t b)
{
    if (b >= 'a' && b <= 'z')
        return uint8_t(b - 32);
    if ((b >= 0xE0 && b <= 0xFE && b != 0xF7))
        return uint8_t(b - 32);
    switch (b) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return b;
    }
}

bool Cp1252EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Cp1252ToLower(uint8_t(a[i])) != Cp1252ToLower(uint8_t(b[i])))
            return false;
    }
    return true;
}
