#include "database/preview_file.h"

#include <cstring>

#include "database/field_table.h"
#include "database/preview_file_format.h"
#include "foundation/cstr.h"
#include "foundation/file_io.h"
#include "foundation/whole_file_writer.h"
#include "foundation/win_error.h"

namespace {

int32_t OpenOrCreate(const PathRecord& path, FileHandle* file)
{
    int32_t err = FileOpen(&path, kFileReadWrite, file);
    if (err != kErrFileNotFound)
        return err;
    err = FileCreate(&path, kFileReadWrite, file);
    if (err != kErrNone)
        return err;
    uint8_t empty[kPreviewFileSize] = {};
    err = FileWrite(*file, empty, kPreviewFileSize);
    if (err == kErrNone)
        err = FileSeek(*file, kSeekStart, 0);
    if (err != kErrNone) {
        FileClose(*file);
        *file = kNoFile;
    }
    return err;
}

// Writes the blocks to a new file beside path that then takes its place:
// a crash leaves the old texts or the new ones, never a mix.
int32_t SaveWhole(const PathRecord& path, const uint8_t* blocks)
{
    return ReplaceFileWhole(path, "PRV", [blocks](FileHandle file) { return FileWrite(file, blocks, kPreviewFileSize); });
}

}  // namespace

int32_t LoadSavePreviewFormats(const PathRecord* folder, bool save)
{
    PathRecord path = *folder;
    StrCopyN(path.name, kPreviewFileName, sizeof path.name);
    path.extension[0] = 0;

    uint8_t blocks[kPreviewFileSize] = {};
    if (save) {
        for (uint32_t column = 0; column < kPreviewBlockCount; ++column) {
            const char* text = FieldPreviewText(FieldIdByIndex(int32_t(column)));
            StrCopyN(reinterpret_cast<char*>(blocks + column * kPreviewBlockSize), text, kPreviewBlockSize);
        }
        return SaveWhole(path, blocks);
    }

    FileHandle file = kNoFile;
    int32_t err = OpenOrCreate(path, &file);
    if (err != kErrNone)
        return err;
    err = FileRead(file, blocks, kPreviewFileSize);
    if (err == kErrNone) {
        for (uint32_t column = 0; column < kPreviewBlockCount; ++column) {
            char text[kPreviewBlockSize];
            StrCopyN(text, reinterpret_cast<const char*>(blocks + column * kPreviewBlockSize), kPreviewBlockSize);
            SetFieldPreviewText(FieldIdByIndex(int32_t(column)), text);
        }
    }
    const int32_t closeErr = FileClose(file);
    return err != kErrNone ? err : closeErr;
}
