#include "graphics/dib_draw.h"

#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "graphics/dib_format.h"
#include "graphics/dib_imaging.h"
#include "graphics/imaging_bitmap.h"
#include "graphics/packed_dib_paint.h"
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

namespace {

// The last picture painted through the imaging engine, with the packed
// bitmap the engine made of it. A print job paints the same picture on
// every card; it goes through the engine once.
struct PaintedDib {
    std::vector<uint8_t> source;
    GlobalBlockOwner painted;
};
thread_local PaintedDib gPainted;
constexpr uint32_t kMostKeptBytes = 16u << 20;

}  // namespace

int32_t DibHandlePaintSdk(Dc* dc, DibHandle h, const IntRect* rect, uint32_t rop)
{
    if (!dc || !rect || DibHandleIsEmpty(h))
        return 1;
    const DibRecord* r = DibHandleBlockSlot(h);
    const bool same = r && gPainted.painted && gPainted.source.size() == r->byteSize &&
                      std::memcmp(gPainted.source.data(), r->block, r->byteSize) == 0;
    GlobalBlockOwner made;
    if (!same) {
        gPainted.painted.reset();
        gPainted.source.clear();
        ImagingBitmap bitmap;
        if (DibHandleToSdkBitmap(&bitmap, h, false) != 0)
            return 1;
        made.reset(bitmap.ExportDib());
        if (!made)
            return 1;
        if (r && r->byteSize <= kMostKeptBytes) {
            gPainted.source.assign(r->block, r->block + r->byteSize);
            gPainted.painted.reset(made.release());
        }
    }
    const GlobalBlock packed = made ? made.get() : gPainted.painted.get();
    const uint8_t* block = GlobalBlockLock(packed);
    if (!block)
        return 1;
    const bool painted = rect->right >= rect->left && rect->bottom >= rect->top &&
                         PaintPackedDib(dc, block, *rect, *rect, rop);
    GlobalBlockUnlock(packed);
    return painted ? 0 : 1;
}

int32_t DibQueryScreenPalette(Dc*, uint32_t* count, uint8_t*)
{
    if (count)
        *count = 0xFFFFFF;
    return 0;
}
