// Metafiles: the vector pictures of image frames.
//
// ".EMF" and ".WMF" files (the latter with or without the 22-byte
// placeable header) are read into enhanced-metafile objects; their bits
// travel in Handles so that frames and documents can store them; they are
// measured, played into a rectangle of a device context, rendered into a
// DibHandle, and written to an open file as enhanced bits or as a placeable
// Windows metafile.
//
// Results are 0 for success and 1 (or the file layer's code) for failure;
// nothing shows a message. Objects made inside an operation are deleted
// before it returns.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "foundation/path_record.h"
#include "graphics/dib_handle.h"
#include "graphics/emf_reader.h"
#include "graphics/metafile_outcome.h"
#include "graphics/wmf_header.h"

class Dc;

// Extents of a Windows metafile that says nothing of its size (0.01 mm).
constexpr int32_t kWmfDefaultExtent = 254000;
// Background of rendered metafiles: off-white, so that a mask can tell
// the picture's own white from where nothing was drawn.
constexpr uint32_t kMetafileBackground = 0xFEFFFF;

// --- Loading ---------------------------------------------------------------

// ".WMF" and ".EMF" files by their extension, compared upper-cased; null
// for any other extension or a file that does not read.
EnhMetafile MetafileLoadByExtension(const char* path);
// 1 when no object results, else 0.
int32_t MetafileLoadString(EnhMetafile* object, const char* path);
int32_t MetafileLoadPath(const PathRecord* record, EnhMetafile* object);
// A Windows metafile file as an enhanced metafile: its frame is the
// placeable header's bounds (or 254000 x 254000 without one). When header
// is given and the file read, it receives the metafile header.
EnhMetafile WmfFileToEnhMetafile(const char* path, WmfHeader* header);
// The same from the file's bytes.
EnhMetafile WmfBytesToEnhMetafile(const uint8_t* data, uint32_t size, WmfHeader* header);

// --- Bits in Handles ---------------------------------------------------------

int32_t MetafileFromHandle(EnhMetafile* object, Handle bits);
// Resizes bits to the object's size and fills it; the resize's error, or 1
// with bits emptied when the copy fails.
int32_t MetafileToHandle(EnhMetafile object, Handle bits);
int32_t MetafileFileToHandle(const PathRecord* record, Handle bits);

// --- Measuring and drawing ----------------------------------------------------

// The frame in 1/720 inch (from 0.01 mm by 72/254, truncated). With maxSide
// 1 or more, a size whose larger side exceeds it is scaled down to it,
// keeping the aspect.
void MetafileGetFrameSize(EnhMetafile object, int32_t* width, int32_t* height, int32_t maxSide);
// Plays the metafile into the rectangle (the frame fills it). 1 for a null
// object or context, and when the playing stopped short (outcome, when
// given, says why: it ran out of time or a path grew too large; what was
// drawn until then stays).
int32_t PlayMetafile(Dc* dc, EnhMetafile object, const IntRect& rect, MetafileOutcome* outcome = nullptr);
// 1 when the bits do not form a metafile, or as PlayMetafile.
int32_t MetafilePlayHandle(Dc* dc, Handle bits, const IntRect& rect, MetafileOutcome* outcome = nullptr);
// Renders into a picture of width x height (smaller when it would take
// too much memory) on the metafile background; the DibHandle is cleared
// first and stays cleared on failure (1), a playing that stopped short
// included.
int32_t MetafileToDib(EnhMetafile object, Dc* reference, int32_t width, int32_t height, DibHandle dib,
                      MetafileOutcome* outcome = nullptr);
int32_t MetafileHandleToDib(Dc* reference, Handle bits, DibHandle dib, int32_t maxSide,
                            MetafileOutcome* outcome = nullptr);
// At width right - left + 1 and height bottom - top + 1.
int32_t MetafileHandleToDibRect(Dc* reference, Handle bits, DibHandle dib, const IntRect& rect,
                                MetafileOutcome* outcome = nullptr);
int32_t MetafileFileToDib(const PathRecord* record, Dc* reference, DibHandle dib, int32_t maxSide,
                          MetafileOutcome* outcome = nullptr);

// --- Writing -------------------------------------------------------------

// Writes at the file's position: the enhanced bits as they are, or (with
// enhanced 0) a placeable Windows metafile of 1000 units to the inch. 1
// when the metafile cannot be converted, else the file layer's result.
int32_t MetafileWriteFile(FileHandle file, EnhMetafile object, Dc* reference, int32_t enhanced);
