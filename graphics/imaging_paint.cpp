// Painting an imaging bitmap on a device context. Kept apart so that only
// code that paints needs the device context.

#include <cstdlib>

#include "foundation/byte_order.h"
#include "graphics/dib_format.h"
#include "graphics/imaging_bitmap.h"
#include "graphics/imaging_image.h"
#include "graphics/packed_dib_paint.h"
#include "platform/dc.h"

bool PaintPackedDib(Dc* dc, const uint8_t* block, const IntRect& dest, const IntRect& clip, uint32_t rop)
{
    if (!dc || !block)
        return false;
    const int32_t width = GetI32LE(block + kBiWidth);
    const int32_t height = std::abs(GetI32LE(block + kBiHeight));
    const uint32_t colours = GetU32LE(block + kBiClrUsed);
    const uint8_t* bits = block + kDibHeaderSize + kDibQuadSize * colours;
    const int32_t saved = dc->saveDc();
    dc->intersectClipRect(clip.left, clip.top, clip.right + 1, clip.bottom + 1);
    const int32_t rows = dc->stretchDIBits(dest.left, dest.top, dest.right - dest.left + 1, dest.bottom - dest.top + 1,
                                           0, 0, width, height, bits, block, rop);
    dc->restoreDc(saved);
    return rows != 0;
}

bool ImagingBitmap::Paint(Dc* dc, const IntRect& dest, const IntRect& clip, uint32_t rop) const
{
    if (!dc || image_.isNull() || dest.right < dest.left || dest.bottom < dest.top)
        return false;
    // The picture goes through the same blit as every packed bitmap, so a
    // painted picture and a drawn one cover the same pixels.
    GlobalBlockOwner packed(PackedDibFromImage(image_, bits_));
    const uint8_t* block = GlobalBlockLock(packed.get());
    if (!block)
        return false;
    const bool painted = PaintPackedDib(dc, block, dest, clip, rop);
    GlobalBlockUnlock(packed.get());
    return painted;
}
