// Loading and saving the field table's preview texts in "QXPreview".
#pragma once

#include <cstdint>

#include "foundation/path_record.h"

// The file lives in the folder of `folder` (its drive and directory); a
// missing file is first created as 21 empty blocks. A save writes a new
// file that takes the old one's place when whole. Returns 0 or the file
// layer's error code; on an error the preview texts keep their values and
// the file its old contents.
int32_t LoadSavePreviewFormats(const PathRecord* folder, bool save);
