#include "frames/image_metafile.h"

#include <memory>

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
    std::unique_ptr<Dc> own;
    DibHandle dib = DibHandleNew();
    if (!dib)
        return nullptr;
    return Finished(dib, MetafileFileToDib(&path, Reference(reference, &own), dib, maxSide));
}

DibHandle ImageRenderMetafileBits(Handle bits, Dc* reference, int32_t maxSide)
{
    std::unique_ptr<Dc> own;
    DibHandle dib = DibHandleNew();
    if (!dib)
        return nullptr;
    return Finished(dib, MetafileHandleToDib(Reference(reference, &own), bits, dib, maxSide));
}

DibHandle ImageRenderMetafileBitsAt(Handle bits, Dc* reference, int32_t width, int32_t height)
{
    if (width < 1 || height < 1)
        return nullptr;
    std::unique_ptr<Dc> own;
    DibHandle dib = DibHandleNew();
    if (!dib)
        return nullptr;
    return Finished(dib, MetafileHandleToDibRect(Reference(reference, &own), bits, dib,
                                                 IntRect{0, 0, width - 1, height - 1}));
}

int32_t ImagePlayMetafileBits(Dc* dc, Handle bits, const IntRect& rect) { return MetafilePlayHandle(dc, bits, rect); }
