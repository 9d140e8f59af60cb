// Hands a decoded picture over to a DibHandle.
#pragma once

#include <cstdint>

#include "graphics/dib_handle.h"

class CDibImage;

// Moves the picture's packed block into h without copying it: h owns the
// block from then on and the picture is left empty. A picture without a
// block, or without width or height, gives 1 and leaves h cleared. A null
// h (or one that is no DibHandle) gives 1 and leaves the picture as it
// was, so that nothing is lost.
int32_t DibHandleFromImage(CDibImage& image, DibHandle h);
