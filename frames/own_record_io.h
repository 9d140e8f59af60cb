#pragma once

#include <cstdint>

#include "foundation/file_io.h"

// A frame kind keeps its own fixed record in the file right after its base's
// body. Both take the base's result first so that a failed base stops there.

// The record is taken only when it was read whole: a short file leaves the
// frame's own settings as they were.
int32_t ReadOwnRecord(int32_t baseResult, FileHandle file, uint8_t* record, uint32_t size);
int32_t WriteOwnRecord(int32_t baseResult, FileHandle file, const uint8_t* record, uint32_t size);
