#include "graphics/dib_image.h"

#include <algorithm>

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/cstr.h"
#include "foundation/handle.h"
#include "graphics/dib_format.h"
#include "graphics/picture_loader.h"

namespace {

// Reads a whole file; false when it does not open, cannot be read or is
// larger than any picture file the loaders take.
bool ReadWholeFile(const char* path, std::vector<uint8_t>* out)
{
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    const long end = ok ? std::ftell(f) : -1;
    ok = ok && end >= 0 && uint64_t(end) <= kDibMaxBlockSize && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        out->resize(size_t(end));
        ok = end == 0 || std::fread(out->data(), 1, size_t(end), f) == size_t(end);
    }
    std::fclose(f);
    return ok;
}

}  // namespace

CDibImage::CDibImage() = default;

CDibImage::CDibImage(const char* path, int32_t type)
{
    DibLoadByType(path, type);
}

CDibImage::~CDibImage()
{
    FreeBlock();
}

void CDibImage::FreeBlock()
{
    if (block_ && !blockNotOwned_)
        MemFree(block_);
    block_ = nullptr;
    bits_ = nullptr;
}

void CDibImage::Reset()
{
    FreeBlock();
    width_ = height_ = 0;
    bitCount_ = 0;
    sizeImage_ = clrUsed_ = stride_ = 0;
    blockNotOwned_ = 0;
    std::memset(fileName_, 0, sizeof fileName_);
    type_ = 0;
    colourKind_ = 0;
    std::memset(errorText_, 0, sizeof errorText_);
    transparentIndex_ = -1;
    quality_ = 75;
    imageIndex_ = imageCount_ = delay_ = 0;
    alpha_ = {};
}

void CDibImage::SetErrorText(const char* text)
{
    StrCopyN(errorText_, text ? text : "", int32_t(sizeof errorText_));
}

bool CDibImage::DibLoadByType(const char* path, int32_t type)
{
    char name[sizeof fileName_] = {};
    const size_t length = path ? std::strlen(path) : 0;
    if (length >= 1 && length <= 255)
        std::memcpy(name, path, length);
    std::vector<uint8_t> bytes;
    bool ok = false;
    if (MakePictureLoader(type) && path && ReadWholeFile(path, &bytes)) {
        ok = DibLoadBytesByType(bytes.data(), bytes.size(), type);
    } else {
        const uint32_t index = imageIndex_;
        Reset();
        type_ = type;
        imageIndex_ = index;
    }
    std::memcpy(fileName_, name, sizeof name);
    return ok;
}

bool CDibImage::DibLoadBytesByType(const uint8_t* data, size_t size, int32_t type)
{
    type_ = type;
    std::unique_ptr<PictureLoader> loader = MakePictureLoader(type);
    if (!loader)
        return false;
    // The loader works on an object of its own that starts with this one's
    // settings (the image index above all) and an empty block.
    CDibImage work;
    work.CopyStateFrom(*this);
    const uint32_t index = imageIndex_;
    Reset();
    type_ = type;
    imageIndex_ = index;
    std::memset(work.errorText_, 0, sizeof work.errorText_);
    std::memset(work.fileName_, 0, sizeof work.fileName_);
    if (!loader->load(data, size, work) || work.IsEmpty()) {
        SetErrorText(work.errorText_);
        imageCount_ = work.imageCount_;
        return false;
    }
    TakeFrom(work);
    return true;
}

namespace {

uint16_t NormalisedBits(int32_t bits)
{
    return bits < 2 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24;
}

// Bytes of the block for a size and normalised depth; 0 when the size is
// not one a block can have.
uint64_t g_blockLimit = kDibMaxBlockSize;

uint64_t BlockBytes(int32_t width, int32_t height, uint16_t bits)
{
    if (width <= 0 || height <= 0 || width > kDibImageMaxSide || height > kDibImageMaxSide)
        return 0;
    const uint64_t total = kDibHeaderSize + uint64_t(kDibQuadSize) * DibTableSizeAtCreation(bits) +
                           DibRowStride(uint64_t(width), bits) * uint64_t(height);
    return total > g_blockLimit ? 0 : total;
}

}  // namespace

uint64_t CDibImage::BlockLimit() { return g_blockLimit; }

void CDibImage::SetBlockLimit(uint64_t bytes) { g_blockLimit = std::min(bytes, kDibMaxBlockSize); }

bool CDibImage::BlockFits(int32_t width, int32_t height, int32_t bits)
{
    return BlockBytes(width, height, NormalisedBits(bits)) != 0;
}

uint8_t* CDibImage::CreateBlock(int32_t width, int32_t height, int32_t bits)
{
    FreeBlock();
    width_ = height_ = 0;
    bitCount_ = 0;
    sizeImage_ = clrUsed_ = stride_ = 0;
    colourKind_ = 0;
    blockNotOwned_ = 0;
    const uint16_t normalised = NormalisedBits(bits);
    const uint64_t total = BlockBytes(width, height, normalised);
    if (!total)
        return nullptr;
    const uint32_t colours = DibTableSizeAtCreation(normalised);
    const uint64_t stride = DibRowStride(uint64_t(width), normalised);
    const uint64_t image = stride * uint64_t(height);
    uint8_t* block = static_cast<uint8_t*>(MemAllocClear(uint32_t(total)));
    if (!block)
        return nullptr;
    block_ = block;
    width_ = width;
    height_ = height;
    bitCount_ = normalised;
    stride_ = uint32_t(stride);
    sizeImage_ = uint32_t(image);
    clrUsed_ = colours;
    colourKind_ = normalised <= 8 ? kDibPaletteColours : kDibDirectColours;
    DibPutHeader(block, width, height, normalised, colours);
    bits_ = block + kDibHeaderSize + kDibQuadSize * colours;
    return block;
}

uint8_t* CDibImage::BitsAddress() const
{
    return block_ ? block_ + kDibHeaderSize + kDibQuadSize * clrUsed_ : nullptr;
}

uint32_t CDibImage::GetPackedSize() const
{
    return block_ ? kDibHeaderSize + kDibQuadSize * clrUsed_ + sizeImage_ : 0;
}

uint8_t* CDibImage::Palette() const
{
    return block_ && clrUsed_ ? block_ + kDibHeaderSize : nullptr;
}

bool CDibImage::Contains(int32_t x, int32_t y) const
{
    return x >= 0 && x < width_ && y >= 0 && y < height_;
}

uint8_t* CDibImage::RowFromTop(int32_t y) const
{
    if (!bits_ || y < 0 || y >= height_)
        return nullptr;
    return bits_ + size_t(height_ - 1 - y) * stride_;
}

void CDibImage::SetPaletteFromPlanes(const uint8_t* red, const uint8_t* green, const uint8_t* blue, int32_t count)
{
    uint8_t* table = Palette();
    if (!table || !red)
        return;
    if (!green)
        green = red;
    if (!blue)
        blue = green;
    const int32_t n = count < int32_t(clrUsed_) ? count : int32_t(clrUsed_);
    for (int32_t i = 0; i < n; ++i) {
        table[4 * i + 0] = blue[i];
        table[4 * i + 1] = green[i];
        table[4 * i + 2] = red[i];
        table[4 * i + 3] = 0;
    }
}

void CDibImage::SetPaletteFromTriples(const uint8_t* rgb, int32_t count)
{
    uint8_t* table = Palette();
    if (!table || !rgb)
        return;
    const int32_t n = count < int32_t(clrUsed_) ? count : int32_t(clrUsed_);
    for (int32_t i = 0; i < n; ++i) {
        table[4 * i + 0] = rgb[3 * i + 2];
        table[4 * i + 1] = rgb[3 * i + 1];
        table[4 * i + 2] = rgb[3 * i + 0];
        table[4 * i + 3] = 0;
    }
}

void CDibImage::SetPaletteFromQuads(const uint8_t* quads, int32_t count)
{
    uint8_t* table = Palette();
    if (!table || !quads)
        return;
    const int32_t n = count < int32_t(clrUsed_) ? count : int32_t(clrUsed_);
    if (n > 0)
        std::memcpy(table, quads, size_t(n) * 4);
}

void CDibImage::SetGreyRamp()
{
    uint8_t* table = Palette();
    if (!table)
        return;
    for (uint32_t i = 0; i < clrUsed_; ++i) {
        const uint8_t v = uint8_t(i * 256 / clrUsed_);
        table[4 * i + 0] = table[4 * i + 1] = table[4 * i + 2] = v;
        table[4 * i + 3] = 0;
    }
}

void CDibImage::CopyStateFrom(const CDibImage& other)
{
    width_ = other.width_;
    height_ = other.height_;
    bitCount_ = other.bitCount_;
    sizeImage_ = other.sizeImage_;
    clrUsed_ = other.clrUsed_;
    stride_ = other.stride_;
    std::memcpy(fileName_, other.fileName_, sizeof fileName_);
    type_ = other.type_;
    colourKind_ = other.colourKind_;
    std::memcpy(errorText_, other.errorText_, sizeof errorText_);
    transparentIndex_ = other.transparentIndex_;
    quality_ = other.quality_;
    imageIndex_ = other.imageIndex_;
    imageCount_ = other.imageCount_;
    delay_ = other.delay_;
    keepAlpha_ = other.keepAlpha_;
}

void CDibImage::TakeFrom(CDibImage& other)
{
    if (&other == this)
        return;
    FreeBlock();
    CopyStateFrom(other);
    block_ = other.block_;
    bits_ = other.bits_;
    blockNotOwned_ = other.blockNotOwned_;
    alpha_ = std::move(other.alpha_);
    other.block_ = nullptr;
    other.bits_ = nullptr;
    other.Reset();
}

void CDibImage::SetAlpha(std::vector<uint8_t> alpha)
{
    alpha_ = {};
    if (!keepAlpha_ || width_ <= 0 || height_ <= 0 || alpha.size() != size_t(width_) * size_t(height_))
        return;
    if (std::any_of(alpha.begin(), alpha.end(), [](uint8_t a) { return a != 255; }))
        alpha_ = std::move(alpha);
}

std::vector<uint8_t> CDibImage::TakeAlpha() { return std::exchange(alpha_, {}); }

void CDibImage::SwapPixels(CDibImage& other)
{
    std::swap(block_, other.block_);
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(bitCount_, other.bitCount_);
    std::swap(sizeImage_, other.sizeImage_);
    std::swap(clrUsed_, other.clrUsed_);
    std::swap(stride_, other.stride_);
    std::swap(bits_, other.bits_);
    std::swap(blockNotOwned_, other.blockNotOwned_);
    std::swap(colourKind_, other.colourKind_);
}

uint8_t* CDibImage::Detach()
{
    uint8_t* block = block_;
    block_ = nullptr;
    bits_ = nullptr;
    Reset();
    return block;
}

void SwapRedBlue(uint8_t* row, uint32_t bytes)
{
    for (uint32_t i = 0; i + 2 < bytes; i += 3) {
        const uint8_t t = row[i];
        row[i] = row[i + 2];
        row[i + 2] = t;
    }
}
