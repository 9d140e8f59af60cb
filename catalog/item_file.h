// Item files (layout in catalog/item_file_format.h): writing and reading
// them, making one from a picture file, and the picture of a body.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "graphics/dib_handle.h"

// Writes the 128-byte header (code, version, packing and sizes set here)
// and the body, packed when it packs. The file appears whole or not at
// all; header receives what was written. 0 or the error.
int32_t WriteItemFile(const PathRecord* path, uint8_t* header, Handle body);
// The header (zeroed first) and the body, expanded. 2 for another code,
// 3 for another version, 2 for sizes the file does not hold, else the
// file layer's or the compressor's code.
int32_t ReadItemFile(const PathRecord* path, uint8_t* header, Handle body);
// The same over the file's bytes.
int32_t ParseItemFile(const uint8_t* bytes, size_t size, uint8_t* header, Handle body);

// A picture file's content as an item body: a raster picture as a packed
// bitmap (kind 1), a metafile as enhanced-metafile bits (kind 5). EPS
// files, unknown files and pictures that do not load give 1 and leave the
// kind alone.
int32_t ConvertPictureFile(const PathRecord* source, Handle body, uint32_t* kind);
// Converts the source and writes the item file dest, its header naming the
// source. 1 when the picture does not convert: no file is written then.
int32_t MakeItemFile(const PathRecord* source, const PathRecord* dest, uint8_t* header);
// The same under a name not yet taken in one of the wizard's folders,
// made from the pattern ("bckp.bp"); file receives its path.
int32_t MakeNewItemFile(const PathRecord* source, int32_t folder, const char* pattern, PathRecord* file,
                        uint8_t* header);

// The body's picture into dib: kind 1 from the packed bitmap, kind 5
// rendered at 200 pixels on its longer side. 1 for other kinds or a body
// that is not a picture of its kind.
int32_t ItemPicture(Handle body, uint32_t kind, DibHandle dib);
