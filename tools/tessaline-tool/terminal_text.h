// Text on its way out of the tool to a terminal or a pipe. What the program
// stores, and says in its messages, is Windows-1252; a terminal reads the
// locale's character set.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The stored text in UTF-8 when the locale names UTF-8 as its character
// set (LC_ALL, else LC_CTYPE, else LANG, as the C library chooses), else
// as it is stored.
std::string TerminalText(std::string_view stored);
// The same of a stored field of size bytes, to its terminator.
std::string TerminalField(const void* field, size_t size);
// The same, kept on one line: backslashes doubled and control bytes, and
// the bytes the code page leaves undefined, written as \xNN.
std::string TerminalLine(std::string_view stored);
