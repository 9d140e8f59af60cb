// What the open and save file dialogs are opened with, from a PathRecord
// (platform/file_dialog_run.h runs them).
//
// The record gives the folder the dialog starts in, the file name a save
// starts with and, through its extension, the file type offered first; on
// OK it receives the chosen path.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

#include "foundation/path_record.h"

// One file type the dialog offers: a description ("Data files") and a
// pattern ("*.lqx"; several are separated by ';'), each zero-terminated.
struct FileTypeEntry {
    char description[64];
    char pattern[64];
};
static_assert(sizeof(FileTypeEntry) == 128);

// The filter text of a type table: for each entry its description, " (",
// its pattern, ")", a separator, the pattern and a separator; then one more
// separator. The separator is '|', or a zero byte when zeroSeparated is set.
// output must hold FileFilterMaxSize(count) bytes; returns the bytes written.
int32_t BuildFileFilter(const FileTypeEntry* types, int32_t count, char* output, int32_t zeroSeparated);
constexpr size_t FileFilterMaxSize(int32_t count)
{
    return count > 0 ? size_t(count) * (63 + 2 + 63 + 1 + 1 + 63 + 1) + 1 : 1;
}

// A filter text in the form Qt's file dialog takes: "Data files (*.lqx);;
// All Files (*)". Patterns separated by ';' become separated by blanks, and
// "*.*" becomes "*" so that files without an extension are listed too.
QString FileFilterToQt(const char* filter, int32_t zeroSeparated);

// What the dialog is opened with.
struct FileDialogSetup {
    QString folder;         // empty: the dialog's own choice
    QString fileName;       // the name a save starts with
    QString filter;         // Qt form
    QString defaultSuffix;  // without the dot
};
FileDialogSetup MakeFileDialogSetup(int32_t open, const PathRecord& record, const FileTypeEntry* types,
                                    int32_t count);
