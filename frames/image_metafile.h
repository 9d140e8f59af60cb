// The image frame's use of metafiles: their bits read from a file, and
// bitmaps rendered from a file or from bits.
#pragma once

#include <cstdint>

#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "foundation/path_record.h"
#include "graphics/dib_handle.h"

class Dc;

// The enhanced-metafile bits of an ".EMF" or ".WMF" file, or null.
Handle ImageLoadMetafileBits(const PathRecord& path);
// The metafile of the file rendered at most maxSide pixels on a side, or
// null.
DibHandle ImageRenderMetafileFile(const PathRecord& path, Dc* reference, int32_t maxSide);
// The metafile of the bits rendered at most maxSide pixels on a side, or
// null.
DibHandle ImageRenderMetafileBits(Handle bits, Dc* reference, int32_t maxSide);
// The metafile of the bits rendered at width x height pixels, or null.
DibHandle ImageRenderMetafileBitsAt(Handle bits, Dc* reference, int32_t width, int32_t height);
// Plays the bits into the rectangle of dc; 0 on success.
int32_t ImagePlayMetafileBits(Dc* dc, Handle bits, const IntRect& rect);
