// Reads arbitrary bytes as a picture in its buffer form, as a packed
// bitmap copied in from elsewhere and as a bitmap file. Whatever is
// accepted must be safe to walk pixel by pixel, to mask and trace, and to
// write back; a block accepted as it is must write back byte for byte.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "graphics/dib_block.h"
#include "graphics/dib_bmp.h"
#include "graphics/dib_derived.h"
#include "graphics/dib_pixels.h"
#include "graphics/dib_serial.h"
#include "graphics/imaging_image.h"

namespace {

// Walking bigger pictures adds time without reaching new code.
constexpr int64_t kMaxWalkedPixels = 1 << 16;

void Exercise(DibHandle h)
{
    if (DibHandleIsEmpty(h))
        return;
    const int32_t width = DibHandleWidth(h), height = DibHandleHeight(h);
    if (width <= 0 || height <= 0)
        std::abort();
    if (int64_t(width) * height > kMaxWalkedPixels)
        return;
    std::vector<ColorRef> row(static_cast<size_t>(width));
    for (int32_t y = 0; y < height; ++y) {
        DibHandleReadRow(h, y, row.data());
        for (int32_t x = 0; x < width; ++x) {
            if (DibHandleGetPixel(h, x, y) != row[size_t(x)])
                std::abort();
        }
    }
    DibHandleOwner mask;
    if (DibHandleMakeMask(h, mask.get(), row[0]) == 0 && DibHandleGetPixel(mask.get(), 0, height - 1) != 0xFFFFFF)
        std::abort();
    std::vector<IntPoint> outline;
    DibHandleTraceOutline(h, &outline, 23, nullptr, 0xFFFFFF);
    if (outline.size() > 23)
        std::abort();
    DibHandleSetPixel(h, width - 1, 0, 0x123456);
    if (DibHandleGetPixel(h, width - 1, 0) != 0x123456 && DibHandleBitCount(h) == 24)
        std::abort();

    const DibRecord* r = DibHandleBlockSlot(h);
    int32_t depth = 0;
    if (ImageFromPackedDib(r->block, r->byteSize, &depth).isNull())
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DibHandleOwner h;
    if (!h)
        return 0;
    if (DibHandleDeserialize(h.get(), data, size, 0) == 0) {
        // A stored block in the working form comes back unchanged.
        DibGeometry g;
        const uint32_t stored = size >= 4 ? GetU32LE(data) : 0;
        if (stored >= 40 && DibCheckHeader(data + 4, stored, &g) && DibIsWorkingForm(g)) {
            std::vector<uint8_t> back(DibHandleSerialSize(h.get()));
            if (back.size() != 4 + size_t(stored) || DibHandleSerialize(h.get(), back.data(), back.size(), 0) ||
                std::memcmp(back.data(), data, back.size()) != 0)
                std::abort();
        }
        Exercise(h.get());
    } else if (!DibHandleIsEmpty(h.get())) {
        std::abort();
    }

    Handle packed = nullptr;
    HandleFromBytes(data, &packed, uint32_t(size));
    HandleOwner packedOwner(packed);
    if (packed && DibHandleFromPacked(packed, h.get()) == 0)
        Exercise(h.get());

    if (DibHandleFromBmpBytes(h.get(), data, size, false) == 0)
        Exercise(h.get());
    return 0;
}
