// A backdrop item file of the wizard read straight into a picture, for the
// card document's Load Backdrop command.
#pragma once

#include "foundation/path_record.h"
#include "graphics/dib_handle.h"

// A new picture the caller frees, or null when the file cannot be read or
// holds no picture.
DibHandle ReadBackdropDib(const PathRecord& path);
