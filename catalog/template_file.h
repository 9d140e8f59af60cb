// Template files (layout in catalog/template_file_format.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/handle.h"
#include "foundation/path_record.h"

// Reads the 144-byte header (zeroed first) and, when data is given, block 2
// (which 0) or block 1 (any other which) into it. 2 for another code, 3
// for another version, 2 for blocks the file does not hold, else the file
// layer's or the compressor's code.
int32_t LoadTemplateFile(const PathRecord* path, uint8_t* header, Handle data, int32_t which);
int32_t ParseTemplateFile(const uint8_t* bytes, size_t size, uint8_t* header, Handle data, int32_t which);

// Writes a template file: code, version and sizes are set in header (which
// receives what was written). With the caller's packing flag set both
// blocks are packed, or both stored raw when either does not pack. The file
// appears whole or not at all.
int32_t SaveTemplateFile(const PathRecord* path, uint8_t* header, Handle block1, Handle block2);
