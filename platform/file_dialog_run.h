// Runs the open and save file dialogs over a PathRecord: the record gives
// the folder the dialog starts in, the file name a save starts with and the
// file type offered first; on OK it receives the chosen path.
#pragma once

#include <cstdint>

#include "foundation/file_dialogs.h"
#include "foundation/path_record.h"

// 1 when the user confirmed (the record then holds the chosen path), 0 when
// cancelled or when there is no GUI application. A caller's type table
// (count > 0) replaces the default types.
int32_t FileDialogRun(int32_t open, PathRecord* record, const char* title, const FileTypeEntry* types, int32_t count);
int32_t ShowOpenFileDialog(PathRecord* record, const char* title, const FileTypeEntry* types, int32_t count);
int32_t ShowSaveFileDialog(PathRecord* record, const char* title, const FileTypeEntry* types, int32_t count);
