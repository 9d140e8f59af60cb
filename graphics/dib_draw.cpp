#include "graphics/dib_draw.h"

#include <QHash>

#include <cstdlib>
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

// The last picture painted through the imaging engine, known by its size
// and a hash of its bytes, with the packed bitmap the engine made of it. A
// print job paints the same picture on every card; it goes through the
// engine once, however large it is.
struct PaintedDib {
    uint32_t size = 0;
    size_t key = 0;
    GlobalBlockOwner painted;
};
thread_local PaintedDib gPainted;

// A seed, so that the hash takes its fastest way.
constexpr size_t kHashSeed = 0x9E3779B97F4A7C15ull;

}  // namespace

int32_t DibHandlePaintSdk(Dc* dc, DibHandle h, const IntRect* rect, uint32_t rop)
{
    if (!dc || !rect || DibHandleIsEmpty(h))
        return 1;
    const DibRecord* r = DibHandleBlockSlot(h);
    // A plain 24-bit picture comes back from the engine as it went in: it
    // is drawn as it is, without two copies of a picture of any size.
    if (r && GetU32LE(r->block) == kDibHeaderSize && GetU16LE(r->block + kBiBitCount) == 24 &&
        GetU32LE(r->block + kBiCompression) == kBiRgb) {
        if (rect->right < rect->left || rect->bottom < rect->top)
            return 1;
        const int32_t saved = dc->saveDc();
        dc->intersectClipRect(rect->left, rect->top, rect->right + 1, rect->bottom + 1);
        const int32_t rows = dc->stretchDIBits(rect->left, rect->top, rect->right - rect->left + 1,
                                               rect->bottom - rect->top + 1, 0, 0, GetI32LE(r->block + kBiWidth),
                                               std::abs(GetI32LE(r->block + kBiHeight)), r->bits, r->block, rop);
        dc->restoreDc(saved);
        return rows != 0 ? 0 : 1;
    }
    const size_t key = r ? qHashBits(r->block, r->byteSize, kHashSeed) : 0;
    const bool same = r && gPainted.painted && gPainted.size == r->byteSize && gPainted.key == key;
    if (!same) {
        gPainted.painted.reset();
        ImagingBitmap bitmap;
        if (DibHandleToSdkBitmap(&bitmap, h, false) != 0)
            return 1;
        GlobalBlockOwner made(bitmap.ExportDib());
        if (!made)
            return 1;
        gPainted.size = r ? r->byteSize : 0;
        gPainted.key = key;
        gPainted.painted.reset(made.release());
    }
    const GlobalBlock packed = gPainted.painted.get();
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
