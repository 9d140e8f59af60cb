// CDibImage: a picture decoded from a file into one packed bitmap.
//
// The object holds a packed device-independent bitmap of 1, 4, 8 or 24 bits
// (the 40-byte header, the colour table and the rows, bottom-up, each row
// padded to 4 bytes) in one block allocated with MemAllocClear, so that the
// block can be handed to a DibHandle as it is. The decoders that fill it
// are behind graphics/picture_loader.h, one per file format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Format types, as the image frame passes them.
enum : int32_t {
    kPictureBmp = 0,
    kPictureGif = 1,
    kPictureJpeg = 2,
    kPicturePng = 3,
    kPictureIco = 4,
    kPictureTiff = 5,
};

// Colour kinds.
enum : uint8_t {
    kDibPaletteColours = 1,
    kDibDirectColours = 2,
};

// No picture is wider or taller than this, and no block larger than
// kDibMaxBlockSize (graphics/dib_format.h): a corrupt header must not
// reserve gigabytes.
constexpr int32_t kDibImageMaxSide = 32768;

class CDibImage {
public:
    CDibImage();
    // Loads the file with the loader of the given type; the picture is empty
    // (width and height 0) when the file was not read.
    CDibImage(const char* path, int32_t type);
    virtual ~CDibImage();
    CDibImage(const CDibImage&) = delete;
    CDibImage& operator=(const CDibImage&) = delete;

    // Loads the file with the type's loader. On success the picture is the
    // file's; on failure the object is empty and ErrorText() says why where
    // the loader has a message. Unknown types give false.
    bool DibLoadByType(const char* path, int32_t type);
    // The same from bytes already in memory (the file name is left empty).
    bool DibLoadBytesByType(const uint8_t* data, size_t size, int32_t type);

    // Frees the block and makes a zero-filled one: bits below 2 become 1, up
    // to 4 become 4, up to 8 become 8, above 8 become 24, with 2, 16, 256 or
    // no colour-table entries. Null for sizes not above 0, beyond
    // kDibImageMaxSide or kDibMaxBlockSize, or when memory runs out; the
    // object is empty then.
    uint8_t* CreateBlock(int32_t width, int32_t height, int32_t bits);
    // Whether CreateBlock would take the size and depth (memory aside), so
    // that a loader can refuse a picture before its library reserves
    // working memory for it.
    static bool BlockFits(int32_t width, int32_t height, int32_t bits);
    // The largest block a loader may make: kDibMaxBlockSize, unless lowered
    // (the fuzz targets lower it so that a tiny file claiming a picture of
    // hundreds of megabytes stays within their memory limit).
    static uint64_t BlockLimit();
    static void SetBlockLimit(uint64_t bytes);

    uint8_t* BitsAddress() const;  // null when empty
    uint32_t GetPackedSize() const;
    uint8_t* Palette() const;  // null without a colour table
    bool Contains(int32_t x, int32_t y) const;
    // Row y counted from the top of the picture; null outside it.
    uint8_t* RowFromTop(int32_t y) const;

    // Colour-table setters; each writes at most the table's entry count. A
    // missing green plane is the red one, a missing blue plane the green one.
    void SetPaletteFromPlanes(const uint8_t* red, const uint8_t* green, const uint8_t* blue, int32_t count);
    void SetPaletteFromTriples(const uint8_t* rgb, int32_t count);
    void SetPaletteFromQuads(const uint8_t* quads, int32_t count);
    // Entry i = i x 256 / count in all three colours.
    void SetGreyRamp();

    // Frees this block and takes other's block and state; other is reset.
    void TakeFrom(CDibImage& other);
    // Exchanges the blocks (and the sizes and depths that describe them)
    // of the two objects; the rest of their state stays where it is.
    void SwapPixels(CDibImage& other);
    // Forgets the block without freeing it (its new owner frees it) and
    // re-initialises the object. Returns the block.
    uint8_t* Detach();

    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }
    int32_t GetBitCount() const { return bitCount_; }
    uint32_t GetColourCount() const { return clrUsed_; }
    uint32_t GetStride() const { return stride_; }
    uint8_t* GetBits() const { return block_; }  // the packed block
    uint8_t GetColourKind() const { return colourKind_; }
    bool IsEmpty() const { return block_ == nullptr; }

    const char* ErrorText() const { return errorText_; }
    void SetErrorText(const char* text);
    const char* FileName() const { return fileName_; }
    int32_t GetType() const { return type_; }
    int32_t GetTransparentIndex() const { return transparentIndex_; }
    void SetTransparentIndex(int32_t index) { transparentIndex_ = index; }
    uint32_t GetQuality() const { return quality_; }
    uint32_t GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(uint32_t index) { imageIndex_ = index; }
    uint32_t GetImageCount() const { return imageCount_; }
    void SetImageCount(uint32_t count) { imageCount_ = count; }
    uint32_t GetDelay() const { return delay_; }
    void SetDelay(uint32_t delay) { delay_ = delay; }

    // Loaders lay transparency over the picture background whatever is
    // asked. Paper can show the picture over what lies beneath it instead,
    // so a caller that prints asks, before the load, for the alpha that was
    // laid over the background as well (PNG, TIFF): one byte a pixel, rows
    // top first, kept only for a picture that is not wholly opaque.
    void KeepAlpha(bool keep) { keepAlpha_ = keep; }
    bool AlphaWanted() const { return keepAlpha_; }
    // A loader's alpha for the picture it made; dropped unless asked for,
    // of the picture's size and not wholly opaque.
    void SetAlpha(std::vector<uint8_t> alpha);
    // The alpha kept (empty for none); the picture keeps none after.
    std::vector<uint8_t> TakeAlpha();

private:
    void Reset();
    void FreeBlock();
    void CopyStateFrom(const CDibImage& other);

    uint8_t* block_ = nullptr;
    // The header as written at the start of the block.
    int32_t width_ = 0;
    int32_t height_ = 0;
    uint16_t bitCount_ = 0;
    uint32_t sizeImage_ = 0;
    uint32_t clrUsed_ = 0;
    uint32_t stride_ = 0;
    uint8_t* bits_ = nullptr;
    uint32_t blockNotOwned_ = 0;
    char fileName_[256] = {};
    int32_t type_ = 0;
    uint8_t colourKind_ = 0;
    char errorText_[256] = {};
    int32_t transparentIndex_ = -1;
    uint32_t quality_ = 75;
    uint32_t imageIndex_ = 0;
    uint32_t imageCount_ = 0;
    uint32_t delay_ = 0;
    bool keepAlpha_ = false;
    std::vector<uint8_t> alpha_;
};

// Exchanges the first and third byte of every 3-byte group in the first
// `bytes` bytes of row.
void SwapRedBlue(uint8_t* row, uint32_t bytes);
