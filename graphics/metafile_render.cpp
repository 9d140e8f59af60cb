// Playing metafiles into device contexts and rendering them into pictures
// through the off-screen context.
#include <memory>

#include "graphics/metafile.h"
#include "graphics/metafile_player.h"
#include "graphics/offscreen_dc.h"
#include "platform/dc.h"

int32_t PlayMetafile(Dc* dc, EnhMetafile object, const IntRect& rect)
{
    if (!dc || !object)
        return 1;
    PlayEnhMetaFile(*dc, *object, rect);
    return 0;
}

int32_t MetafilePlayHandle(Dc* dc, Handle bits, const IntRect& rect)
{
    EnhMetafile mf = nullptr;
    if (MetafileFromHandle(&mf, bits))
        return 1;
    const int32_t result = PlayMetafile(dc, mf, rect);
    DeleteEnhMetaFile(mf);
    return result;
}

int32_t MetafileToDib(EnhMetafile object, Dc* reference, int32_t width, int32_t height, DibHandle dib)
{
    if (!dib)
        return 1;
    DibHandleClear(&dib);
    if (!object || width <= 0 || height <= 0)
        return 1;
    // Without a reference the picture is made for the screen.
    std::unique_ptr<Dc> screen;
    if (!reference) {
        screen = Dc::ForMeasuring(96);
        reference = screen.get();
    }
    // Both edges of the context's rectangle are included, so the picture
    // of width x height pixels ends one short of them; it may come out
    // smaller when memory is short, and the rectangle says so.
    OffscreenDC off(reference);
    IntRect drawn;
    if (off.Begin(0, 0, width - 1, height - 1, kMetafileBackground, &drawn, true))
        return 1;
    PlayMetafile(off.GetSafeHdc(), object, drawn);
    return off.End(dib);
}

int32_t MetafileHandleToDib(Dc* reference, Handle bits, DibHandle dib, int32_t maxSide)
{
    EnhMetafile mf = nullptr;
    if (MetafileFromHandle(&mf, bits)) {
        DibHandleClear(&dib);
        return 1;
    }
    int32_t w, h;
    MetafileGetFrameSize(mf, &w, &h, maxSide);
    const int32_t result = MetafileToDib(mf, reference, w, h, dib);
    DeleteEnhMetaFile(mf);
    return result;
}

int32_t MetafileHandleToDibRect(Dc* reference, Handle bits, DibHandle dib, const IntRect& rect)
{
    EnhMetafile mf = nullptr;
    if (MetafileFromHandle(&mf, bits)) {
        DibHandleClear(&dib);
        return 1;
    }
    const int32_t result = MetafileToDib(mf, reference, rect.right - rect.left + 1, rect.bottom - rect.top + 1, dib);
    DeleteEnhMetaFile(mf);
    return result;
}

int32_t MetafileFileToDib(const PathRecord* record, Dc* reference, DibHandle dib, int32_t maxSide)
{
    EnhMetafile mf = nullptr;
    if (MetafileLoadPath(record, &mf)) {
        DibHandleClear(&dib);
        return 1;
    }
    int32_t w, h;
    MetafileGetFrameSize(mf, &w, &h, maxSide);
    const int32_t result = MetafileToDib(mf, reference, w, h, dib);
    DeleteEnhMetaFile(mf);
    return result;
}
