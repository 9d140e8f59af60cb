#include "graphics/dib_from_image.h"

#include "graphics/dib_image.h"

int32_t DibHandleFromImage(CDibImage& image, DibHandle h)
{
    if (!DibHandleBlockSlot(h))
        return 1;
    if (image.IsEmpty() || image.GetWidth() <= 0 || image.GetHeight() <= 0) {
        DibHandleClear(&h);
        return 1;
    }
    const uint32_t size = image.GetPackedSize();
    return DibHandleAdoptBlock(h, image.Detach(), size);
}
