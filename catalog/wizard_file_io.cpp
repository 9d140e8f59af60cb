#include "catalog/wizard_file_io.h"

#include <algorithm>
#include <cstring>

#include "catalog/wizard_results.h"
#include "foundation/whole_file_writer.h"
#include "foundation/win_error.h"

int32_t WizWriteFile(const PathRecord& path, std::initializer_list<WizBytes> parts)
{
    return ReplaceFileWhole(path, "WIZ", [parts](FileHandle out) {
        for (const WizBytes& part : parts) {
            if (part.size > UINT32_MAX)
                return int32_t(kErrFileTooLarge);
            if (part.size)
                if (const int32_t err = FileWrite(out, part.data, uint32_t(part.size)); err != kErrNone)
                    return err;
        }
        return int32_t(kErrNone);
    });
}

int32_t WizWriteFile(const PathRecord& path, const std::vector<uint8_t>& bytes)
{
    return WizWriteFile(path, {WizBytes{bytes.data(), bytes.size()}});
}

int32_t WizReadOpenFile(FileHandle file, std::vector<uint8_t>* bytes, uint32_t maxSize)
{
    bytes->clear();
    uint32_t size = 0;
    int32_t err = FileGetSize(file, &size);
    if (err != kErrNone)
        return err;
    if (size > maxSize)
        return kWizWrongCode;
    if ((err = FileSeek(file, kSeekStart, 0)) != kErrNone)
        return err;
    try {
        bytes->resize(size);
    } catch (const std::bad_alloc&) {
        return kErrNotEnoughMemory;
    }
    if (size && (err = FileRead(file, bytes->data(), size)) != kErrNone)
        bytes->clear();
    return err;
}

int32_t WizReadFile(const PathRecord& path, std::vector<uint8_t>* bytes, uint32_t maxSize)
{
    bytes->clear();
    FileHandle file = kNoFile;
    int32_t err = FileOpen(&path, kFileRead, &file);
    if (err != kErrNone)
        return err;
    err = WizReadOpenFile(file, bytes, maxSize);
    FileClose(file);
    return err;
}

bool WizIsPlainFileName(const char* field, size_t fieldSize)
{
    const size_t n = strnlen(field, fieldSize);
    if (n == 0 || n == fieldSize)
        return false;
    if (std::strcmp(field, ".") == 0 || std::strcmp(field, "..") == 0)
        return false;
    return std::find_if(field, field + n, [](char c) { return c == '\\' || c == '/' || c == ':'; }) == field + n;
}

void WizPutName(uint8_t* field, size_t fieldSize, const char* text)
{
    std::memset(field, 0, fieldSize);
    if (text && fieldSize)
        std::memcpy(field, text, strnlen(text, fieldSize - 1));
}

void WizGetName(const uint8_t* field, size_t fieldSize, char* buffer, int32_t size)
{
    if (size < 1)
        return;
    const size_t n = std::min(strnlen(reinterpret_cast<const char*>(field), fieldSize - 1), size_t(size - 1));
    std::memcpy(buffer, field, n);
    buffer[n] = 0;
}
