#include "graphics/dib_imaging.h"

#include <memory>
#include <new>

#include "graphics/imaging_bitmap.h"

namespace {

// Working bitmaps are allocated like the engine's own records, so running
// out of memory is a result, not an exception.
std::unique_ptr<ImagingBitmap> NewBitmap() { return std::unique_ptr<ImagingBitmap>(new (std::nothrow) ImagingBitmap); }

// Loads a DibHandle's block straight from where it lies.
bool LoadFromHandle(ImagingBitmap* bitmap, DibHandle h)
{
    const DibRecord* r = DibHandleBlockSlot(h);
    return r && bitmap->LoadFromDib(r->block, r->byteSize, r->bits);
}

}  // namespace

int32_t DibHandleToSdkBitmap(ImagingBitmap* bitmap, DibHandle h, bool releaseSource)
{
    if (!bitmap || DibHandleIsEmpty(h))
        return 1;
    int32_t result = 1;
    GlobalBlock global = nullptr;
    if (bitmap->Initialize(0, 0, DibHandleBitCount(h)) && DibHandleToGlobal(h, &global) == 0) {
        // The bitmap owns the block from here, whatever it answers.
        result = bitmap->LoadFromGlobal(global) ? 0 : 1;
    }
    if (releaseSource)
        DibHandleClear(&h);
    return result;
}

int32_t DibHandleFromSdkBitmap(DibHandle dest, ImagingBitmap* bitmap, bool releaseBitmap)
{
    DibHandleClear(&dest);
    if (!bitmap || !DibHandleBlockSlot(dest))
        return 1;
    GlobalBlockOwner global(bitmap->ExportDib());
    if (!global)
        return 1;
    if (int32_t result = DibHandleFromGlobal(dest, global.get()))
        return result;
    global.reset();
    if (const int32_t count = DibHandleColourCount(dest); count > 0) {
        if (!bitmap->ReadColourTable(0, count, DibHandlePalette(dest))) {
            DibHandleClear(&dest);
            return 1;
        }
    }
    if (releaseBitmap)
        bitmap->Release();
    return 0;
}

int32_t DibHandleImportSdk(DibHandle dest, DibHandle source, int16_t angle, ColorRef background, bool releaseSource,
                           bool smooth)
{
    if (DibHandleIsEmpty(source) || !DibHandleBlockSlot(dest))
        return 1;
    std::unique_ptr<ImagingBitmap> bitmap = NewBitmap();
    if (!bitmap) {
        DibHandleClear(&dest);
        return 1;
    }
    // The source is read before dest is cleared, so that dest may be the
    // source itself.
    bitmap->Initialize(0, 0, 0);
    const bool loaded = LoadFromHandle(bitmap.get(), source);
    if (releaseSource)
        DibHandleClear(&source);
    DibHandleClear(&dest);
    if (!loaded || !bitmap->Rotate(int32_t(angle) * 100, true, background, smooth)) {
        bitmap->Release();
        return 1;
    }
    GlobalBlockOwner global(bitmap->TakeResultDib());
    bitmap->Release();
    if (!global)
        return 1;
    return DibHandleFromGlobal(dest, global.get());
}

int32_t DibHandleSdkTransform(DibHandle h, int16_t angle, ColorRef background, bool smooth)
{
    DibHandleOwner turned;
    if (!turned || DibHandleImportSdk(turned.get(), h, angle, background, false, smooth))
        return 1;
    DibHandle source = turned.release();
    DibHandleMove(h, &source, true);
    return 0;
}

int32_t DibHandleConvertSdk(DibHandle dest, const IntRect& sizeRect, DibHandle source, const IntRect*,
                            bool releaseSource)
{
    if (!DibHandleBlockSlot(dest) || DibHandleIsEmpty(source))
        return 1;
    const int32_t width = sizeRect.right - sizeRect.left + 1;
    const int32_t height = sizeRect.bottom - sizeRect.top + 1;
    const int32_t bits = DibHandleBitCount(source);

    std::unique_ptr<ImagingBitmap> from = NewBitmap();
    std::unique_ptr<ImagingBitmap> to = NewBitmap();
    bool ok = from && to;
    if (ok) {
        from->Initialize(0, 0, 0);
        ok = LoadFromHandle(from.get(), source);
    }
    if (releaseSource)
        DibHandleClear(&source);
    DibHandleClear(&dest);
    ok = ok && width > 0 && height > 0 && to->Initialize(width, height, bits) && to->PrepareDestination() &&
         to->ResampleFrom(*from);
    if (from)
        from->Release();
    if (!ok) {
        if (to)
            to->Release();
        return 1;
    }
    const int32_t result = DibHandleFromSdkBitmap(dest, to.get(), true);
    to->Release();
    return result;
}
