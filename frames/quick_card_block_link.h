// The Quick Card blocks the type-18 frame keeps, as far as storing them
// needs: a new empty block, and the check of a block read from a file. The
// block's own operations (drawing, measuring, converting the older item
// layout) belong to the graphics layer; this is the one place the frames
// reach them.
#pragma once

#include "foundation/handle.h"

constexpr uint32_t kQuickCardBlockHeaderSize = 24;

// 24 zero bytes with version 1 and default alignment 1; null when memory
// runs out.
Handle NewQuickCardBlock();
// 0 when block can be kept as read (a header, a count that is not
// negative, a known layout version), else 1.
int32_t CheckQuickCardBlock(Handle block);
