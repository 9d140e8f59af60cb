#include "foundation/path_record.h"

#include <cstring>
#include <string_view>

#include <QDir>

#include "foundation/cp1252.h"
#include "foundation/win_error.h"

namespace {

constexpr size_t kPartSize = 256;

// Fields filled by hand or loaded from a file may lack their terminator.
std::string_view Part(const char* field, size_t size) { return {field, strnlen(field, size)}; }
std::string_view Directory(const PathRecord& r) { return Part(r.directory, sizeof r.directory); }
std::string_view Name(const PathRecord& r) { return Part(r.name, sizeof r.name); }
std::string_view Extension(const PathRecord& r) { return Part(r.extension, sizeof r.extension); }
std::string_view Drive(const PathRecord& r) { return Part(r.drive, sizeof r.drive); }

// Whole fields are written so that unused bytes are zero, which keeps the
// stored form of a record the same whatever it held before.
void SetPart(char* field, size_t size, std::string_view text)
{
    std::memset(field, 0, size);
    if (!text.empty())
        std::memcpy(field, text.data(), text.size() < size ? text.size() : size - 1);
}

void CopyBounded(char* out, std::string_view text)
{
    size_t n = text.size() < kPartSize ? text.size() : kPartSize - 1;
    if (n > 0)
        std::memcpy(out, text.data(), n);
    out[n] = 0;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The split shared by both directions; text uses either separator.
int32_t Split(std::string_view text, bool detectDrive, PathRecord* record)
{
    std::memset(record, 0, sizeof *record);
    std::string_view drive;
    if (detectDrive && text.size() >= 2 && text[1] == ':' &&
        ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'))) {
        drive = text.substr(0, 2);
        text.remove_prefix(2);
    }
    size_t cut = text.size();
    while (cut > 0 && !IsSeparator(text[cut - 1]))
        --cut;
    std::string_view directory = text.substr(0, cut);
    std::string_view file = text.substr(cut);
    size_t dot = file.rfind('.');
    std::string_view name = dot == std::string_view::npos ? file : file.substr(0, dot);
    std::string_view extension = dot == std::string_view::npos ? std::string_view() : file.substr(dot);
    if (directory.size() >= kPartSize || name.size() >= kPartSize || extension.size() >= kPartSize)
        return kErrFilenameExceedsRange;

    SetPart(record->drive, sizeof record->drive, drive);
    SetPart(record->directory, sizeof record->directory, directory);
    for (size_t i = 0; i < directory.size(); ++i) {
        if (record->directory[i] == '/')
            record->directory[i] = '\\';
    }
    SetPart(record->name, sizeof record->name, name);
    SetPart(record->extension, sizeof record->extension, extension);
    return kErrNone;
}

void AppendUtf8(std::string& out, char16_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

void AppendHost(std::string& out, std::string_view text)
{
    for (char ch : text) {
        if (ch == '\\')
            out += '/';
        else
            AppendUtf8(out, Cp1252ToUnicode(uint8_t(ch)));
    }
}

// Host bytes to Windows-1252; false for bytes that are not UTF-8 or for a
// character the code page lacks.
bool HostToCp1252(std::string_view in, std::string* out)
{
    out->clear();
    size_t i = 0;
    while (i < in.size()) {
        uint8_t b = uint8_t(in[i]);
        uint32_t cp;
        size_t len;
        if (b < 0x80) {
            cp = b;
            len = 1;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            len = 3;
        } else {
            return false;  // four-byte sequences lie beyond the code page anyway
        }
        if (i + len > in.size())
            return false;
        for (size_t k = 1; k < len; ++k) {
            uint8_t c = uint8_t(in[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800))
            return false;  // overlong forms
        int byte = UnicodeToCp1252(char16_t(cp));
        if (byte < 0)
            return false;
        *out += char(byte);
        i += len;
    }
    return true;
}

}  // namespace

void PathRecordStore(const PathRecord& record, uint8_t* out)
{
    PathRecord clean;
    SetPart(clean.drive, sizeof clean.drive, Drive(record));
    SetPart(clean.directory, sizeof clean.directory, Directory(record));
    SetPart(clean.name, sizeof clean.name, Name(record));
    SetPart(clean.extension, sizeof clean.extension, Extension(record));
    std::memcpy(out, clean.drive, 3);
    std::memcpy(out + 3, clean.directory, 256);
    std::memcpy(out + 259, clean.name, 256);
    std::memcpy(out + 515, clean.extension, 256);
}

void PathRecordLoad(const uint8_t* in, PathRecord* record)
{
    auto load = [](char* field, size_t size, const uint8_t* from) {
        SetPart(field, size, Part(reinterpret_cast<const char*>(from), size));
    };
    load(record->drive, sizeof record->drive, in);
    load(record->directory, sizeof record->directory, in + 3);
    load(record->name, sizeof record->name, in + 259);
    load(record->extension, sizeof record->extension, in + 515);
}

int32_t PathRecordFromString(const char* path, PathRecord* record)
{
    return Split(path ? std::string_view(path) : std::string_view(), true, record);
}

int32_t PathRecordToString(const PathRecord* record, char* path)
{
    std::string text(Drive(*record));
    std::string_view directory = Directory(*record);
    text += directory;
    if (!directory.empty() && directory.back() != '\\')
        text += '\\';
    text += Name(*record);
    text += Extension(*record);
    std::memcpy(path, text.c_str(), text.size() + 1);
    return 0;
}

int32_t PathRecordEqual(const PathRecord* a, const PathRecord* b)
{
    return Drive(*a) == Drive(*b) && Directory(*a) == Directory(*b) && Name(*a) == Name(*b) &&
                   Extension(*a) == Extension(*b)
               ? 1
               : 0;
}

int32_t PathRecordGetFileName(const PathRecord* record, char* buffer, int32_t n)
{
    std::string file(Name(*record));
    file += Extension(*record);
    if (n < 1) {
        std::memcpy(buffer, file.c_str(), file.size() + 1);
        return 0;
    }
    size_t room = size_t(n) - 1;
    size_t count = file.size() < room ? file.size() : room;
    std::memcpy(buffer, file.data(), count);
    buffer[count] = 0;
    return file.size() > room ? 1 : 0;
}

int32_t SplitFileExtension(const char* name, char* nameOut, char* extensionOut)
{
    std::string_view text(name);
    size_t dot = text.rfind('.');
    if (dot == std::string_view::npos) {
        CopyBounded(nameOut, text);
        extensionOut[0] = 0;
    } else {
        CopyBounded(nameOut, text.substr(0, dot));
        CopyBounded(extensionOut, text.substr(dot));
    }
    return 0;
}

int32_t StripFileExtension(const char* name, char* out)
{
    std::string_view text(name);
    size_t dot = text.rfind('.');
    CopyBounded(out, text.substr(0, dot));
    return dot == std::string_view::npos ? 1 : 0;
}

void ExtractFileExtension(const char* name, char* out)
{
    std::string_view text(name);
    size_t dot = text.rfind('.');
    CopyBounded(out, dot == std::string_view::npos ? std::string_view() : text.substr(dot));
}

int32_t PathRecordEnterFolder(PathRecord* record)
{
    std::string directory(Directory(*record));
    if (!directory.empty() && directory.back() != '\\')
        directory += '\\';
    directory += Name(*record);
    directory += Extension(*record);
    directory += '\\';
    if (directory.size() >= sizeof record->directory)
        return kErrFilenameExceedsRange;
    SetPart(record->directory, sizeof record->directory, directory);
    SetPart(record->name, sizeof record->name, {});
    SetPart(record->extension, sizeof record->extension, {});
    return kErrNone;
}

void PathRecordLeaveFolder(PathRecord* record)
{
    std::string directory(Directory(*record));
    size_t end = directory.size();
    if (end > 0 && directory[end - 1] == '\\')
        --end;
    size_t start = end;
    while (start > 0 && directory[start - 1] != '\\')
        --start;
    if (start == end)
        return;  // the root, or no directory at all
    std::string_view folder = std::string_view(directory).substr(start, end - start);
    size_t dot = folder.rfind('.');
    SetPart(record->name, sizeof record->name, folder.substr(0, dot));
    SetPart(record->extension, sizeof record->extension,
            dot == std::string_view::npos ? std::string_view() : folder.substr(dot));
    SetPart(record->directory, sizeof record->directory, std::string_view(directory).substr(0, start));
}

std::string PathRecordToPosix(const PathRecord& record)
{
    std::string path;
    std::string_view directory = Directory(record);
    AppendHost(path, directory);
    if (!directory.empty() && directory.back() != '\\')
        path += '/';
    AppendHost(path, Name(record));
    AppendHost(path, Extension(record));
    return path;
}

int32_t PathRecordFromPosix(const std::string& path, PathRecord* record)
{
    std::string text;
    if (!HostToCp1252(path, &text) || text.find('\\') != std::string::npos) {
        std::memset(record, 0, sizeof *record);
        return kErrInvalidName;
    }
    return Split(text, false, record);
}

std::string ExpandHomeFolder(const std::string& path)
{
    if (path.empty() || path[0] != '~' || (path.size() > 1 && path[1] != '/'))
        return path;
    return QStringToCp1252(QDir::homePath()) + path.substr(1);
}
