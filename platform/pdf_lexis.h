// The character classes of PDF's syntax, shared by the passes that read a
// page's content: white space (NUL included) and the delimiters that end a
// name, a number or an operator.
#pragma once

constexpr bool PdfIsSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

constexpr bool PdfIsDelimiter(char c)
{
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}' ||
           c == '/' || c == '%';
}
