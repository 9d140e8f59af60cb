// The image frame's use of metafiles: their bits read from a file, and
// bitmaps rendered from a file or from bits.
//
// A metafile that cannot be drawn (it runs out of time, or a path of it
// grows too large; see MetafileOutcome) gives its stand-in instead, now
// and at every later drawing in the session, and the user is told once
// (MetafileFailures). `name` is what the user knows the picture by (its
// file's name; empty for a picture of no file).
#pragma once

#include <cstdint>
#include <string>

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
DibHandle ImageRenderMetafileBits(Handle bits, Dc* reference, int32_t maxSide, const std::string& name);
// The metafile of the bits rendered at width x height pixels, or null.
DibHandle ImageRenderMetafileBitsAt(Handle bits, Dc* reference, int32_t width, int32_t height,
                                    const std::string& name);
// Plays the bits into the rectangle of dc: 0 when drawn, 1 when the bits
// are no metafile, 2 when it could not be drawn (the caller draws its
// stand-in over what it drew).
int32_t ImagePlayMetafileBits(Dc* dc, Handle bits, const IntRect& rect, const std::string& name);
// The stand-in of the bits' metafile at most maxSide pixels on a side.
DibHandle ImageMetafileStandIn(Handle bits, Dc* reference, int32_t maxSide, const std::string& name);
