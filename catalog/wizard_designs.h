// Category designs and the wizard's header pictures: item files in the
// "Designs" folder.
#pragma once

#include <cstdint>

#include "foundation/path_record.h"
#include "graphics/dib_handle.h"

// Converts a picture into a new design file "docpNNN.dp" and gives its
// file name (cut to size - 1 characters). 1 when the picture does not
// convert.
int32_t MakeDesignFile(const PathRecord* source, char* name, int32_t size);
// The picture of a design file, or null (also for a name that is not a
// plain file name).
DibHandle LoadDesignPicture(const char* name);
// Removes a design file; a name that is not a plain file name is left.
void DeleteDesignFile(const char* name);

// Converts a picture into the header picture "hdrp" + number + ".sp",
// replacing the one before.
int32_t SaveHeaderPicture(const PathRecord* source, int32_t number);
// The header picture; without one the default picture: bitmap 596 for
// numbers below 1000, 595 from 1000. Null when neither is there.
DibHandle GetHeaderPicture(int32_t number);
