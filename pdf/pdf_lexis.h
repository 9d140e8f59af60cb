// The character classes of PDF's syntax, shared by the passes that read a
// page's content: white space (NUL included) and the delimiters that end a
// name, a number or an operator.
#pragma once

#include <array>
#include <cstddef>

constexpr bool PdfIsSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

constexpr bool PdfIsDelimiter(char c)
{
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}' ||
           c == '/' || c == '%';
}

// The class of each byte, looked up rather than compared: the passes read
// every byte of every printed page.
enum class PdfByte : unsigned char { kRegular, kSpace, kDelimiter };

inline constexpr std::array<PdfByte, 256> kPdfBytes = [] {
    std::array<PdfByte, 256> bytes{};
    for (int c = 0; c < 256; ++c)
        bytes[size_t(c)] = PdfIsSpace(char(c))       ? PdfByte::kSpace
                           : PdfIsDelimiter(char(c)) ? PdfByte::kDelimiter
                                                     : PdfByte::kRegular;
    return bytes;
}();

inline PdfByte PdfByteClass(char c) { return kPdfBytes[static_cast<unsigned char>(c)]; }
