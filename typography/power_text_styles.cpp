#include "typography/power_text_styles.h"

#include <algorithm>
#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/program_folder.h"
#include "foundation/whole_file_writer.h"
#include "foundation/win_error.h"

namespace {

// A new file beside the old one takes its place only when it is whole.
template <class Write>
int32_t WriteFile(const PathRecord& path, Write write)
{
    return ReplaceFileWhole(path, "PTS", write);
}

}  // namespace

int32_t PowerTextStyleCount(Handle list) { return int32_t(HandleGetSize(list) / kGlyphStyleSize); }

bool GetPowerTextStyle(Handle list, int32_t n, GlyphStyle* style)
{
    if (n < 1 || n > PowerTextStyleCount(list))
        return false;
    *style = GetGlyphStyle(HandleData(list) + size_t(n - 1) * kGlyphStyleSize);
    return true;
}

void SetPowerTextStyle(Handle list, int32_t n, const GlyphStyle& style)
{
    if (n >= 1 && n <= PowerTextStyleCount(list))
        PutGlyphStyle(HandleData(list) + size_t(n - 1) * kGlyphStyleSize, style);
}

int16_t FindPowerTextStyle(Handle list, const GlyphStyle& style)
{
    uint8_t wanted[kGlyphStyleSize];
    PutGlyphStyle(wanted, style);
    const int32_t count = std::min<int32_t>(PowerTextStyleCount(list), INT16_MAX);
    for (int32_t i = 0; i < count; ++i)
        if (std::memcmp(HandleData(list) + size_t(i) * kGlyphStyleSize, wanted, kGlyphStyleSize) == 0)
            return int16_t(i + 1);
    return -1;
}

int32_t ReadPowerTextStyles(FileHandle file, Handle list)
{
    if (!list)
        return kMemNullHandle;
    uint32_t position = 0, size = 0;
    int32_t err = FileTell(file, &position);
    if (err == kErrNone)
        err = FileGetSize(file, &size);
    if (err != kErrNone)
        return err;
    const uint32_t available = size > position ? size - position : 0;
    if (available < kStylesFileHeaderSize)
        return kErrNone;
    uint8_t field[kStylesFileHeaderSize];
    err = FileRead(file, field, sizeof field);
    if (err != kErrNone)
        return err;
    // Only whole styles that the file really holds.
    uint32_t n = std::min(GetU32LE(field), available - uint32_t(kStylesFileHeaderSize));
    n -= n % kGlyphStyleSize;
    if (n == 0)
        return kErrNone;
    if (n > uint32_t(INT32_MAX))
        return kMemOutOfMemory;
    const uint32_t former = HandleGetSize(list);
    std::vector<uint8_t> keep(HandleData(list), HandleData(list) + former);
    err = HandleResize(list, int32_t(n));
    if (err != 0)
        return err;
    err = FileRead(file, HandleData(list), n);
    if (err != kErrNone) {
        HandleResize(list, int32_t(former));
        std::copy(keep.begin(), keep.end(), HandleData(list));
    }
    return err;
}

int32_t WritePowerTextStyles(FileHandle file, Handle list)
{
    const uint32_t n = uint32_t(PowerTextStyleCount(list)) * kGlyphStyleSize;
    if (n == 0)
        return kErrNone;
    uint8_t field[kStylesFileHeaderSize];
    PutU32LE(field, n);
    int32_t err = FileWrite(file, field, sizeof field);
    if (err == kErrNone)
        err = FileWrite(file, HandleData(list), n);
    return err;
}

int32_t PowerTextStylesPath(PathRecord* path)
{
    const int32_t err = GetProgramFolder(path);
    if (err != kErrNone)
        return err;
    SplitFileExtension(kPowerTextStylesFile, path->name, path->extension);
    return kErrNone;
}

int32_t EnsurePowerTextStylesFile(const PathRecord& path)
{
    if (FileExists(&path, 0))
        return kErrNone;
    const std::vector<uint8_t> bytes = BuiltInPowerTextStyles();
    return WriteFile(path, [&](FileHandle file) { return FileWrite(file, bytes.data(), uint32_t(bytes.size())); });
}

int32_t LoadPowerTextStyles(const PathRecord& path, Handle list)
{
    FileHandle file = kNoFile;
    int32_t err = FileOpen(&path, kFileRead, &file);
    if (err != kErrNone)
        return err;
    err = ReadPowerTextStyles(file, list);
    FileClose(file);
    return err;
}

int32_t SavePowerTextStyles(const PathRecord& path, Handle list)
{
    return WriteFile(path, [&](FileHandle file) { return WritePowerTextStyles(file, list); });
}
