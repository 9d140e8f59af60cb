#include "frames/picture_soft_masks.h"

#include <cstring>
#include <utility>
#include <vector>

#include "foundation/file_io.h"
#include "frames/image_file.h"
#include "graphics/dib_image.h"
#include "graphics/imaging_bitmap.h"

namespace {

// The graded mask of a 24-bit picture and its alpha (rows top first);
// null when they do not fit together.
DibHandle GradedMask(DibHandle picture, const std::vector<uint8_t>& alpha, ColorRef key)
{
    const int32_t width = DibHandleWidth(picture);
    const int32_t height = DibHandleHeight(picture);
    const DibRecord* r = DibHandleBlockSlot(picture);
    if (!r || !r->bits || DibHandleBitCount(picture) != 24 || width <= 0 || height <= 0 ||
        alpha.size() != size_t(width) * size_t(height))
        return nullptr;
    CDibImage mask;
    if (!mask.CreateBlock(width, height, 8))
        return nullptr;
    mask.SetGreyRamp();
    const size_t stride = size_t(DibHandleStride(picture));
    const uint8_t keyRed = key & 0xFF, keyGreen = (key >> 8) & 0xFF, keyBlue = (key >> 16) & 0xFF;
    for (int32_t y = 0; y < height; ++y) {
        // Packed bitmaps keep their rows bottom first.
        const uint8_t* p = r->bits + size_t(height - 1 - y) * stride;
        const uint8_t* a = alpha.data() + size_t(y) * size_t(width);
        uint8_t* out = mask.RowFromTop(y);
        for (int32_t x = 0; x < width; ++x, p += 3) {
            const bool keyed = p[0] == keyBlue && p[1] == keyGreen && p[2] == keyRed;
            out[x] = keyed ? 255 : uint8_t(255 - a[x]);
        }
    }
    DibHandle h = DibHandleNew();
    const uint32_t size = mask.GetPackedSize();
    if (h && DibHandleAdoptBlock(h, mask.Detach(), size) != 0)
        DibHandleFree(&h);
    return h;
}

bool SamePixels(DibHandle a, DibHandle b)
{
    const DibRecord* ra = DibHandleBlockSlot(a);
    const DibRecord* rb = DibHandleBlockSlot(b);
    return ra && rb && ra->block && rb->block && ra->byteSize == rb->byteSize &&
           std::memcmp(ra->block, rb->block, ra->byteSize) == 0;
}

}  // namespace

PictureSoftMasks& PictureSoftMasks::Shared()
{
    static PictureSoftMasks masks;
    return masks;
}

std::shared_ptr<const PictureSoftMasks::Mask> PictureSoftMasks::Find(uint64_t pictureKey, bool* known)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = kept_.begin(); it != kept_.end(); ++it) {
        if (it->pictureKey == pictureKey) {
            kept_.splice(kept_.begin(), kept_, it);
            *known = true;
            return kept_.front().mask;
        }
    }
    *known = false;
    return nullptr;
}

std::shared_ptr<const PictureSoftMasks::Mask> PictureSoftMasks::Make(uint64_t pictureKey, DibHandle picture,
                                                                     const PathRecord& file, uint32_t tag,
                                                                     ColorRef key)
{
    // A file whose header says it is opaque is not read again only to find
    // it so.
    ImagingFileInfo info;
    const bool mayHaveAlpha = !ImagingBitmap::ReadFileInfo(FileHostPath(&file), &info) || info.mayHaveAlpha;
    std::vector<uint8_t> alpha;
    DibHandleOwner read(mayHaveAlpha ? ImageLoadPicture(file, tag, nullptr, &alpha) : nullptr);
    if (!read || !SamePixels(read.get(), picture))
        alpha.clear();
    return Take(pictureKey, picture, alpha, key);
}

std::shared_ptr<const PictureSoftMasks::Mask> PictureSoftMasks::Take(uint64_t pictureKey, DibHandle picture,
                                                                     const std::vector<uint8_t>& alpha,
                                                                     ColorRef key)
{
    std::shared_ptr<const Mask> made;
    if (!alpha.empty()) {
        if (DibHandle mask = GradedMask(picture, alpha, key))
            made = std::make_shared<const Mask>(mask, pictureKey * 0x9E3779B97F4A7C15ull | 1u);
    }
    Keep(pictureKey, made);
    return made;
}

void PictureSoftMasks::Keep(uint64_t pictureKey, std::shared_ptr<const Mask> mask)
{
    const uint64_t bytes = mask ? DibHandleBytes(mask->mask) : 0;
    std::lock_guard<std::mutex> lock(mutex_);
    if (bytes > kKeptBytes)
        mask.reset();
    kept_.push_front(Entry{pictureKey, std::move(mask), bytes > kKeptBytes ? 0 : bytes});
    bytes_ += kept_.front().bytes;
    while (kept_.size() > 1 && (kept_.size() > kKept || bytes_ > kKeptBytes)) {
        bytes_ -= kept_.back().bytes;
        kept_.pop_back();
    }
}
