// Windows metafiles into enhanced metafiles.
//
// The records of a Windows metafile (16-bit coordinates, an object table
// filled at the lowest free slot, parameters in reverse order) are turned
// into the equivalent enhanced-metafile records, so that one player draws
// both kinds and documents keep one kind of metafile bits.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "graphics/emf_reader.h"

// Converts a Windows metafile, whose 18-byte header starts at bits[0], into
// an enhanced metafile whose frame is `extents` (0.01 mm). The picture's
// window (the logical rectangle that fills the frame) is `window` when
// given (a placeable header's bounds) until the file sets its own; without
// either, a logical unit is a 96th of an inch. Null when the header is
// invalid. Records that break the framing end the conversion; a picture
// whose records would grow absurdly is cut.
EnhMetafile SetWinMetaFileBits(uint32_t size, const uint8_t* bits, IntSize extents, const IntRect* window);
