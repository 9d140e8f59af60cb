#include "foundation/file_dialogs.h"

#include <QStringList>
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "foundation/cp1252.h"

namespace {

// A field of a type entry; one that lacks its terminator ends at 63.
std::string_view Field(const char (&field)[64]) { return std::string_view(field, strnlen(field, 63)); }

template <size_t N>
std::string_view RecordPart(const char (&part)[N])
{
    return std::string_view(part, strnlen(part, N));
}

void SetField(char (&field)[64], std::string_view text)
{
    const size_t n = std::min(text.size(), sizeof field - 1);
    std::memcpy(field, text.data(), n);
    field[n] = 0;
}

constexpr FileTypeEntry kDataFiles = {"Data files", "*.*"};
constexpr FileTypeEntry kAllFiles = {"All Files", "*.*"};

// The next field of a filter text, up to the separator or the end.
std::string_view NextField(const char*& p, char separator)
{
    const char* start = p;
    while (*p && *p != separator)
        ++p;
    std::string_view field(start, size_t(p - start));
    if (*p == separator)
        ++p;
    return field;
}

QString QtFilterEntry(std::string_view display, std::string_view pattern)
{
    // The description already carries the pattern in parentheses; Qt reads
    // the patterns from there, written its own way.
    const std::string suffix = " (" + std::string(pattern) + ")";
    if (display.size() >= suffix.size() && display.substr(display.size() - suffix.size()) == suffix)
        display.remove_suffix(suffix.size());
    QStringList globs;
    for (const QString& glob : Cp1252ToQString(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = glob.trimmed();
        if (!trimmed.isEmpty())
            globs << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
    }
    if (globs.isEmpty())
        globs << QStringLiteral("*");
    return Cp1252ToQString(display) + QStringLiteral(" (") + globs.join(QLatin1Char(' ')) + QLatin1Char(')');
}

}  // namespace

int32_t BuildFileFilter(const FileTypeEntry* types, int32_t count, char* output, int32_t zeroSeparated)
{
    const char separator = zeroSeparated ? '\0' : '|';
    char* p = output;
    auto put = [&p](std::string_view text) {
        std::memcpy(p, text.data(), text.size());
        p += text.size();
    };
    for (int32_t i = 0; types && i < count; ++i) {
        const std::string_view description = Field(types[i].description);
        const std::string_view pattern = Field(types[i].pattern);
        put(description);
        put(" (");
        put(pattern);
        put(")");
        *p++ = separator;
        put(pattern);
        *p++ = separator;
    }
    *p++ = separator;
    return int32_t(p - output);
}

QString FileFilterToQt(const char* filter, int32_t zeroSeparated)
{
    const char separator = zeroSeparated ? '\0' : '|';
    QStringList entries;
    const char* p = filter;
    // The pairs end at an empty description: the closing separator.
    while (p) {
        const std::string_view display = NextField(p, separator);
        if (display.empty())
            break;
        const std::string_view pattern = NextField(p, separator);
        entries << QtFilterEntry(display, pattern);
    }
    return entries.join(QStringLiteral(";;"));
}

FileDialogSetup MakeFileDialogSetup(int32_t open, const PathRecord& record, const FileTypeEntry* types, int32_t count)
{
    FileDialogSetup setup;

    PathRecord folder = record;
    folder.name[0] = 0;
    folder.extension[0] = 0;
    if (folder.directory[0])
        setup.folder = QString::fromStdString(PathRecordToPosix(folder));
    if (!open)
        setup.fileName = Cp1252ToQString(RecordPart(record.name)) + Cp1252ToQString(RecordPart(record.extension));

    FileTypeEntry defaults[2] = {kDataFiles, kAllFiles};
    const FileTypeEntry* table = defaults;
    int32_t entries = 1;
    const std::string_view extension = RecordPart(record.extension);
    if (!extension.empty()) {
        std::string pattern(1, '*');
        pattern.append(extension);
        SetField(defaults[0].pattern, pattern);
        entries = 2;
        setup.defaultSuffix = Cp1252ToQString(extension.substr(extension[0] == '.' ? 1 : 0));
    } else {
        table = &defaults[1];
    }
    if (types && count > 0) {
        table = types;
        entries = count;
    }
    std::string filter(FileFilterMaxSize(entries), '\0');
    BuildFileFilter(table, entries, filter.data(), 1);
    setup.filter = FileFilterToQt(filter.data(), 1);
    return setup;
}
