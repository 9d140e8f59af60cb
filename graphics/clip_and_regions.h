// Clip rectangles and the region helpers of text selection and the caret.
// Regions are values (platform/dc.h): a variable simply holds one, and
// replacing or dropping it frees what it held.
#pragma once

#include "foundation/int_geometry.h"
#include "platform/dc.h"

// Clips the device context to the rectangle (device units); null removes
// the clip.
void SetClipRect(Dc* dc, const IntRect* r);

Region NewEmptyRegion();
void RegionSetRect(Region* variable, const IntRect& r);
void RegionCopy(const Region& source, Region* destination);
void RegionUnion(const Region& a, const Region& b, Region* destination);
void RegionXor(const Region& a, const Region& b, Region* destination);
// Paints the region with the selected brush and raster operation.
void RegionPaint(Dc* dc, const Region& r);
