// The picture an item body holds.
#include "catalog/item_file.h"

#include "catalog/item_file_format.h"
#include "graphics/metafile.h"

namespace {

// The longer side of a metafile body's picture.
constexpr int32_t kItemMetafileSide = 200;

}  // namespace

int32_t ItemPicture(Handle body, uint32_t kind, DibHandle dib)
{
    if (!body || !dib)
        return 1;
    if (kind == kWizPictureDib)
        return DibHandleFromPacked(body, dib) == 0 ? 0 : 1;
    if (kind == kWizPictureMetafile)
        return MetafileHandleToDib(nullptr, body, dib, kItemMetafileSide) == 0 ? 0 : 1;
    return 1;
}
