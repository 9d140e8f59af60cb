// The bounding box of an EPS file, from its "%%BoundingBox:" comment.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "foundation/path_record.h"

// Reads the first "%%BoundingBox:" comment of the file's PostScript
// section; a comment whose value is "(atend)" defers to the last one, in
// the trailer. The four numbers (integer parts) become left, top, right,
// bottom: the lower-left and upper-right corners. rect is (0, 0, 0, 0)
// unless the result is 0. 1 when no file is there, 2 when no complete
// comment is found, else the file layer's code.
int32_t EpsReadBoundingBox(const PathRecord* file, IntRect* rect);
