#include "graphics/dib_draw.h"

#include "foundation/byte_order.h"
#include "graphics/dib_format.h"
#include "graphics/dib_imaging.h"
#include "graphics/imaging_bitmap.h"
#include "platform/dc.h"

void DibHandleDraw(Dc* dc, DibHandle h, const IntRect& rect, uint32_t rop)
{
    if (!dc || DibHandleIsEmpty(h))
        return;
    const DibRecord* r = DibHandleBlockSlot(h);
    dc->stretchDIBits(rect.left, rect.top, rect.right - rect.left + 1, rect.bottom - rect.top + 1, 0, 0,
                      GetI32LE(r->block + kBiWidth), GetI32LE(r->block + kBiHeight), r->bits, r->block, rop);
}

void DibHandleDrawTransparent(Dc* dc, DibHandle image, DibHandle mask, const IntRect& rect, bool transparent)
{
    if (transparent) {
        DibHandleDraw(dc, mask, rect, MERGEPAINT);
        DibHandleDraw(dc, image, rect, SRCAND);
    } else {
        DibHandleDraw(dc, image, rect, SRCCOPY);
    }
}

int32_t DibHandlePaintSdk(Dc* dc, DibHandle h, const IntRect* rect, uint32_t rop)
{
    if (!dc || !rect || DibHandleIsEmpty(h))
        return 1;
    ImagingBitmap bitmap;
    int32_t result = DibHandleToSdkBitmap(&bitmap, h, false);
    if (result == 0 && !bitmap.Paint(dc, *rect, *rect, rop))
        result = 1;
    bitmap.Release();
    return result;
}

int32_t DibQueryScreenPalette(Dc*, uint32_t* count, uint8_t*)
{
    if (count)
        *count = 0xFFFFFF;
    return 0;
}
