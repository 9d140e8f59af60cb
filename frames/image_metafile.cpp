#include "frames/image_metafile.h"

#include <memory>

#include "frames/frame_obj_image.h"
#include "frames/image_file.h"
#include "frames/metafile_failures.h"
#include "graphics/metafile.h"
#include "platform/dc.h"

namespace {

// A measuring context stands in for the view's when the caller has none.
Dc* Reference(Dc* reference, std::unique_ptr<Dc>* own)
{
    if (reference)
        return reference;
    *own = Dc::ForMeasuring();
    return own->get();
}

DibHandle Finished(DibHandle dib, int32_t result)
{
    if (result != 0 || DibHandleIsEmpty(dib))
        DibHandleFree(&dib);
    return dib;
}

// Renders through render(dib, outcome) unless the bits failed before; a
// failure, then or now, gives the stand-in of width x height.
template <typename Render>
DibHandle Rendered(Handle bits, Dc* reference, int32_t width, int32_t height, const std::string& name,
                   const Render& render)
{
    MetafileFailures& failures = MetafileFailures::Shared();
    const uint64_t key = MetafileFailures::KeyOf(bits);
    MetafileOutcome outcome = failures.Failed(key, name);
    if (outcome == MetafileOutcome::kDrawn) {
        DibHandle dib = DibHandleNew();
        if (!dib)
            return nullptr;
        std::unique_ptr<Dc> own;
        dib = Finished(dib, render(dib, Reference(reference, &own), &outcome));
        if (outcome == MetafileOutcome::kDrawn)
            return dib;
        failures.Remember(key, name, outcome);
    }
    DibHandle standIn =
        width > 0 && height > 0 ? PictureStandIn(width - 1, height - 1, name.c_str(), reference) : nullptr;
    if (standIn)
        failures.RememberStandIn(FrameObjImage::PictureHash(standIn), key);
    return standIn;
}

IntSize FrameSizeOf(Handle bits, int32_t maxSide)
{
    IntSize size;
    EnhMetafile mf = nullptr;
    if (MetafileFromHandle(&mf, bits) == 0) {
        MetafileGetFrameSize(mf, &size.width, &size.height, maxSide);
        DeleteEnhMetaFile(mf);
    }
    return size;
}

}  // namespace

Handle ImageLoadMetafileBits(const PathRecord& path)
{
    Handle bits = HandleNew(0);
    if (bits && MetafileFileToHandle(&path, bits) != 0) {
        HandleFree(bits);
        return nullptr;
    }
    return bits;
}

DibHandle ImageRenderMetafileFile(const PathRecord& path, Dc* reference, int32_t maxSide)
{
    HandleOwner bits(ImageLoadMetafileBits(path));
    if (!bits.get())
        return nullptr;
    char name[kPathTextSize] = {};
    PathRecordGetFileName(&path, name, int32_t(sizeof name));
    return ImageRenderMetafileBits(bits.get(), reference, maxSide, name);
}

DibHandle ImageRenderMetafileBits(Handle bits, Dc* reference, int32_t maxSide, const std::string& name)
{
    const IntSize size = FrameSizeOf(bits, maxSide);
    return Rendered(bits, reference, size.width, size.height, name,
                    [&](DibHandle dib, Dc* ref, MetafileOutcome* outcome) {
                        return MetafileHandleToDib(ref, bits, dib, maxSide, outcome);
                    });
}

DibHandle ImageRenderMetafileBitsAt(Handle bits, Dc* reference, int32_t width, int32_t height,
                                    const std::string& name)
{
    if (width < 1 || height < 1)
        return nullptr;
    return Rendered(bits, reference, width, height, name, [&](DibHandle dib, Dc* ref, MetafileOutcome* outcome) {
        return MetafileHandleToDibRect(ref, bits, dib, IntRect{0, 0, width - 1, height - 1}, outcome);
    });
}

int32_t ImagePlayMetafileBits(Dc* dc, Handle bits, const IntRect& rect, const std::string& name)
{
    MetafileFailures& failures = MetafileFailures::Shared();
    const uint64_t key = MetafileFailures::KeyOf(bits);
    if (failures.Failed(key, name) != MetafileOutcome::kDrawn)
        return 2;
    MetafileOutcome outcome = MetafileOutcome::kDrawn;
    const int32_t result = MetafilePlayHandle(dc, bits, rect, &outcome);
    if (outcome == MetafileOutcome::kDrawn)
        return result;
    failures.Remember(key, name, outcome);
    return 2;
}

DibHandle ImageMetafileStandIn(Handle bits, Dc* reference, int32_t maxSide, const std::string& name)
{
    const IntSize size = FrameSizeOf(bits, maxSide);
    if (size.width < 1 || size.height < 1)
        return nullptr;
    return PictureStandIn(size.width - 1, size.height - 1, name.c_str(), reference);
}
