// The three serial forms of a DibHandle. All hold the same bytes: the
// packed block's size as a little-endian u32, then the block; a size of 0
// stands for an empty picture.
//
//   file form    at the current position of an open file (documents)
//   store form   at a position of the document's swap file
//   buffer form  at an offset of a caller's buffer (the clipboard store)
//
// The readers trust nothing they read: a header that does not describe a
// bitmap fitting its size word is refused with 1 (see dib_block.h), rows
// stored top-down and 16- or 32-bit pixels are converted, and on any
// failure the target is left cleared. Errors of the file or store layer
// are passed through.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/file_io.h"
#include "graphics/dib_handle.h"
#include "graphics/dib_store_io.h"

// Bytes of h's serial form: 4 + the block's size (4 when empty).
uint32_t DibHandleSerialSize(DibHandle h);

int32_t DibHandleWriteFile(FileHandle file, DibHandle h);
// A null *h gets a new DibHandle (1 when memory runs out); an existing one
// is cleared first.
int32_t DibHandleReadFile(FileHandle file, DibHandle* h);

// A null h writes nothing and succeeds. length becomes the serial size and
// position the place the store gave for it; 1 when it gave none.
int32_t DibHandleWriteStore(StoreFileIo* store, DibHandle h, uint32_t* position, uint32_t* length);
// kStoreNoPosition gives 1.
int32_t DibHandleReadStore(StoreFileIo* store, DibHandle h, uint32_t position);

// Writes the serial form at buffer + offset; 1 when it does not fit in
// capacity bytes or h is null.
int32_t DibHandleSerialize(DibHandle h, uint8_t* buffer, size_t capacity, size_t offset);
// Reads the serial form at buffer + offset of a buffer of size bytes.
int32_t DibHandleDeserialize(DibHandle h, const uint8_t* buffer, size_t size, size_t offset);
