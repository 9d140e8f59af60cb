// Playing metafiles into device contexts and rendering them into pictures
// through the off-screen context.
#include <memory>

#include "graphics/metafile.h"
#include "graphics/metafile_player.h"
#include "graphics/offscreen_dc.h"
#include "platform/dc.h"

int32_t PlayMetafile(Dc* dc, EnhMetafile object, const IntRect& rect, MetafileOutcome* outcome)
{
    if (outcome)
        *outcome = MetafileOutcome::kDrawn;
    if (!dc || !object)
        return 1;
    return PlayEnhMetaFile(*dc, *object, rect, outcome) ? 0 : 1;
}

int32_t MetafilePlayHandle(Dc* dc, Handle bits, const IntRect& rect, MetafileOutcome* outcome)
{
    if (outcome)
        *outcome = MetafileOutcome::kDrawn;
    EnhMetafile mf = nullptr;
    if (MetafileFromHandle(&mf, bits))
        return 1;
    const int32_t result = PlayMetafile(dc, mf, rect, outcome);
    DeleteEnhMetaFile(mf);
    return result;
}

int32_t MetafileToDib(EnhMetafile object, Dc* reference, int32_t width, int32_t height, DibHandle dib,
                      MetafileOutcome* outcome)
{
    if (outcome)
        *outcome = MetafileOutcome::kDrawn;
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
    // Half a picture is no picture: one that stopped short is not kept.
    if (PlayMetafile(off.GetSafeHdc(), object, drawn, outcome) != 0) {
        off.End(dib);
        DibHandleClear(&dib);
        return 1;
    }
    return off.End(dib);
}

namespace {

// Draws a loaded picture into dib at the size sizeOf gives it and lets the
// picture go; one that did not load (loadError) leaves dib empty.
template <typename SizeOf>
int32_t LoadedToDib(int32_t loadError, EnhMetafile mf, Dc* reference, DibHandle dib, SizeOf sizeOf,
                    MetafileOutcome* outcome)
{
    if (outcome)
        *outcome = MetafileOutcome::kDrawn;
    if (loadError) {
        DibHandleClear(&dib);
        return 1;
    }
    const IntSize size = sizeOf(mf);
    const int32_t result = MetafileToDib(mf, reference, size.width, size.height, dib, outcome);
    DeleteEnhMetaFile(mf);
    return result;
}

auto FrameSize(int32_t maxSide)
{
    return [maxSide](EnhMetafile mf) {
        IntSize size;
        MetafileGetFrameSize(mf, &size.width, &size.height, maxSide);
        return size;
    };
}

}  // namespace

int32_t MetafileHandleToDib(Dc* reference, Handle bits, DibHandle dib, int32_t maxSide, MetafileOutcome* outcome)
{
    EnhMetafile mf = nullptr;
    const int32_t err = MetafileFromHandle(&mf, bits);
    return LoadedToDib(err, mf, reference, dib, FrameSize(maxSide), outcome);
}

int32_t MetafileHandleToDibRect(Dc* reference, Handle bits, DibHandle dib, const IntRect& rect,
                                MetafileOutcome* outcome)
{
    EnhMetafile mf = nullptr;
    const int32_t err = MetafileFromHandle(&mf, bits);
    return LoadedToDib(
        err, mf, reference, dib,
        [&rect](EnhMetafile) {
            return IntSize{rect.right - rect.left + 1, rect.bottom - rect.top + 1};
        },
        outcome);
}

int32_t MetafileFileToDib(const PathRecord* record, Dc* reference, DibHandle dib, int32_t maxSide,
                          MetafileOutcome* outcome)
{
    EnhMetafile mf = nullptr;
    const int32_t err = MetafileLoadPath(record, &mf);
    return LoadedToDib(err, mf, reference, dib, FrameSize(maxSide), outcome);
}
