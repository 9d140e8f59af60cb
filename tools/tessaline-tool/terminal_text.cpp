#include "terminal_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QString>

#include "foundation/cp1252.h"

namespace {

bool LocaleIsUtf8()
{
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || !*value)
            continue;
        const QString locale = QString::fromLatin1(value).toLower();
        return locale.contains("utf-8") || locale.contains("utf8");
    }
    return false;
}

}  // namespace

std::string TerminalText(std::string_view stored)
{
    static const bool utf8 = LocaleIsUtf8();
    if (!utf8)
        return std::string(stored);
    return Cp1252ToQString(stored).toUtf8().toStdString();
}

std::string TerminalField(const void* field, size_t size)
{
    const char* text = static_cast<const char*>(field);
    return TerminalText(std::string_view(text, strnlen(text, size)));
}

std::string TerminalLine(std::string_view stored)
{
    std::string line;
    for (const char byte : stored) {
        const uint8_t c = uint8_t(byte);
        const char16_t u = Cp1252ToUnicode(c);
        if (c == '\\') {
            line += "\\\\";
        } else if (u < 0x20 || (u >= 0x7F && u < 0xA0)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            line += escaped;
        } else {
            line += byte;
        }
    }
    return TerminalText(line);
}
