// DibHandles through the imaging engine (graphics/imaging_bitmap.h):
// rotation, resampling and the two crossings between a DibHandle and an
// imaging bitmap. Results are 0 for success and 1 for failure; a target
// that could not be built is left cleared.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "graphics/dib_handle.h"
#include "platform/gdi_types.h"

class ImagingBitmap;

// Loads h into bitmap (initialised with h's depth) by way of a global
// block, which the bitmap takes over. With releaseSource h is cleared after
// a success, and also after a failure.
int32_t DibHandleToSdkBitmap(ImagingBitmap* bitmap, DibHandle h, bool releaseSource);
// Builds dest from the bitmap's picture. With releaseBitmap the bitmap is
// released after a success; after a failure it stays with the caller.
int32_t DibHandleFromSdkBitmap(DibHandle dest, ImagingBitmap* bitmap, bool releaseBitmap);

// dest becomes source turned clockwise on the screen by angle degrees,
// grown to hold the whole picture, the corners in the background colour.
// With releaseSource the source is cleared once it has been read. dest may
// be source. With smooth the pixels are blended (see ImagingBitmap::Rotate).
int32_t DibHandleImportSdk(DibHandle dest, DibHandle source, int16_t angle, ColorRef background, bool releaseSource,
                           bool smooth = false);
// Turns h in place; on failure h keeps its picture.
int32_t DibHandleSdkTransform(DibHandle h, int16_t angle, ColorRef background, bool smooth = false);

// dest becomes source resampled (nearest pixel) to the size of sizeRect
// (right and bottom included). The crop rectangle is accepted for the
// callers' sake and has no effect.
int32_t DibHandleConvertSdk(DibHandle dest, const IntRect& sizeRect, DibHandle source, const IntRect* crop,
                            bool releaseSource);
