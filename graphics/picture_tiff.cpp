// TIFF files through libtiff, one page (directory) at a time. Palette and
// grey pictures of 1, 4 or 8 bits in strips, stored top row first, keep
// their depth; everything else (colour, other depths, tiles, alpha, YCbCr,
// CMYK, other orientations, ...) is read through the library's RGBA reader
// into 24 bits, alpha composited over the picture background (and kept
// beside the picture for a caller that asks for it). A picture
// beyond the pixel limit (a large scan) is read reduced into 24 bits, a
// few rows at a time, as PNG pictures are.

#include <tiffio.h>

#include <cstring>
#include <new>
#include <vector>

#include "graphics/dib_format.h"
#include "graphics/picture_limits.h"
#include "graphics/picture_loader.h"
#include "graphics/picture_reduction.h"

namespace {

constexpr const char* kOpenError = "Error encountered while opening TIFF file";
constexpr const char* kPageError = "Error: page not present in TIFF file";
constexpr const char* kRasterError = "No space for raster buffer";
constexpr const char* kCorrupt = "Corrupted TIFF file!";
constexpr const char* kPaletteError = "Unable to allocate TIFF palette";

struct MemoryFile {
    const uint8_t* data;
    toff_t size;
    toff_t pos;
};

tmsize_t ReadProc(thandle_t h, void* out, tmsize_t n)
{
    MemoryFile* f = static_cast<MemoryFile*>(h);
    if (n <= 0 || f->pos >= f->size)
        return 0;
    const toff_t left = f->size - f->pos;
    const toff_t count = toff_t(n) < left ? toff_t(n) : left;
    std::memcpy(out, f->data + f->pos, size_t(count));
    f->pos += count;
    return tmsize_t(count);
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t)
{
    return 0;
}

toff_t SeekProc(thandle_t h, toff_t offset, int whence)
{
    MemoryFile* f = static_cast<MemoryFile*>(h);
    toff_t base = whence == SEEK_CUR ? f->pos : whence == SEEK_END ? f->size : 0;
    // libtiff passes negative offsets as their two's complement.
    const toff_t target = base + offset;
    f->pos = target;
    return target;
}

int CloseProc(thandle_t)
{
    return 0;
}

toff_t SizeProc(thandle_t h)
{
    return static_cast<MemoryFile*>(h)->size;
}

int MapProc(thandle_t h, void** base, toff_t* size)
{
    MemoryFile* f = static_cast<MemoryFile*>(h);
    *base = const_cast<uint8_t*>(f->data);
    *size = f->size;
    return 1;
}

void UnmapProc(thandle_t, void*, toff_t) {}

// The library's messages are not shown anywhere.
int Silence(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

class TiffHandle {
public:
    explicit TiffHandle(TIFF* tif) : tif_(tif) {}
    ~TiffHandle()
    {
        if (tif_)
            TIFFClose(tif_);
    }
    TiffHandle(const TiffHandle&) = delete;
    TiffHandle& operator=(const TiffHandle&) = delete;
    TIFF* get() const { return tif_; }

private:
    TIFF* tif_;
};

bool Fail(CDibImage& image, const char* message)
{
    image.CreateBlock(0, 0, 0);
    image.SetErrorText(message);
    return false;
}

// A stored pixel, its alpha laid over the picture background where the
// file has alpha, as blue, green, red.
struct RgbaToBgr {
    bool alpha;
    bool premultiplied;

    uint8_t channel(uint32_t colour, uint32_t a, uint8_t back) const
    {
        if (!alpha)
            return uint8_t(colour);
        if (!premultiplied)
            return CompositeOver(uint8_t(colour), uint8_t(a), back);
        const uint32_t v = colour + (uint32_t(back) * (255 - a) + 127) / 255;
        return uint8_t(v < 255 ? v : 255);
    }
    void row(const uint32_t* src, uint8_t* dst, uint32_t width) const
    {
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t a = TIFFGetA(src[x]);
            dst[3 * x + 0] = channel(TIFFGetB(src[x]), a, kPictureBackgroundBlue);
            dst[3 * x + 1] = channel(TIFFGetG(src[x]), a, kPictureBackgroundGreen);
            dst[3 * x + 2] = channel(TIFFGetR(src[x]), a, kPictureBackgroundRed);
        }
    }
};

// The largest band of rows a reduced read asks the library's RGBA reader
// for at once; a picture whose strips or tiles are taller than that much
// memory is refused rather than read whole.
constexpr uint64_t kReducedBandBytes = uint64_t(128) << 20;

// Colour, and everything the strip reader below does not take, through
// the library's RGBA reader, a band of rows at a time, into a 24-bit
// picture reduced by factor (1: as it is).
bool ReadThroughRgba(TIFF* tif, uint32_t width, uint32_t height, int32_t factor, CDibImage& image)
{
    uint32_t unit = height;
    if (TIFFIsTiled(tif))
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &unit);
    else
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &unit);
    if (unit == 0 || unit > height)
        unit = height;
    // Bands of whole strips (or rows of tiles), so that none is decoded twice.
    const uint32_t bandRows = unit * ((15 + unit) / unit);
    const uint32_t rows = bandRows < height ? bandRows : height;
    const uint64_t bandBytes = uint64_t(width) * rows * 4;
    const uint64_t unitBytes = uint64_t(TIFFIsTiled(tif) ? TIFFTileSize64(tif) : TIFFStripSize64(tif));
    const uint64_t budget = factor > 1 ? kReducedBandBytes : CDibImage::BlockLimit();
    if (bandBytes > budget || unitBytes > budget)
        return Fail(image, factor > 1 ? kPictureTooLargeText : kRasterError);
    ReducingRows out;
    if (!out.Begin(image, int32_t(width), int32_t(height), factor))
        return Fail(image, factor > 1 ? kPictureTooLargeText : kRasterError);
    std::vector<uint32_t> raster;
    std::vector<uint8_t> bgr(size_t(width) * 3);
    try {
        raster.resize(size_t(width) * rows);
    } catch (const std::bad_alloc&) {
        return Fail(image, kRasterError);
    }
    char message[1024];
    TIFFRGBAImage reader;
    if (!TIFFRGBAImageOK(tif, message) || !TIFFRGBAImageBegin(&reader, tif, 1, message))
        return Fail(image, kCorrupt);
    // Only a sample the file names as alpha is one: the reader also takes
    // an unnamed fourth sample for alpha, which would lay a picture that
    // merely carries an unused channel over the background. The reader
    // premultiplies unassociated alpha for colour pictures but hands grey
    // ones over as they are stored.
    uint16_t extraCount = 0;
    uint16_t* extraKinds = nullptr;
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extraKinds);
    const RgbaToBgr convert{
        extraCount > 0 && extraKinds &&
            (extraKinds[0] == EXTRASAMPLE_ASSOCALPHA || extraKinds[0] == EXTRASAMPLE_UNASSALPHA),
        !(reader.alpha == EXTRASAMPLE_UNASSALPHA &&
          (reader.photometric == PHOTOMETRIC_MINISBLACK || reader.photometric == PHOTOMETRIC_MINISWHITE))};
    // The band's rows come top first; the reader turns pictures stored in
    // other orientations.
    reader.req_orientation = ORIENTATION_TOPLEFT;
    // The alpha laid over the background, for a caller that asks for it.
    const bool keepAlpha = image.AlphaWanted() && convert.alpha && factor == 1;
    std::vector<uint8_t> alpha;
    if (keepAlpha)
        alpha.reserve(size_t(width) * height);
    bool read = true;
    for (uint32_t y = 0; y < height && read; y += rows) {
        const uint32_t n = height - y < rows ? height - y : rows;
        reader.row_offset = int(y);
        reader.col_offset = 0;
        read = TIFFRGBAImageGet(&reader, raster.data(), width, n) != 0;
        for (uint32_t i = 0; i < n && read; ++i) {
            const uint32_t* row = raster.data() + size_t(i) * width;
            convert.row(row, bgr.data(), width);
            out.Add(bgr.data());
            if (keepAlpha)
                for (uint32_t x = 0; x < width; ++x)
                    alpha.push_back(uint8_t(TIFFGetA(row[x])));
        }
    }
    TIFFRGBAImageEnd(&reader);
    if (!read)
        return Fail(image, kCorrupt);
    image.SetAlpha(std::move(alpha));
    return true;
}

bool InstallTable(TIFF* tif, uint16_t photometric, uint16_t bits, CDibImage& image)
{
    uint8_t* table = image.Palette();
    const uint32_t n = 1u << bits;
    if (!table || image.GetColourCount() < n)
        return false;
    if (photometric == PHOTOMETRIC_PALETTE) {
        uint16_t* red = nullptr;
        uint16_t* green = nullptr;
        uint16_t* blue = nullptr;
        if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) || !red || !green || !blue)
            return false;
        // Maps written with 8-bit values in 16-bit fields are used as they
        // are; real 16-bit maps keep their high byte.
        bool wide = false;
        for (uint32_t i = 0; i < n; ++i)
            wide = wide || red[i] >= 256 || green[i] >= 256 || blue[i] >= 256;
        const int shift = wide ? 8 : 0;
        for (uint32_t i = 0; i < n; ++i) {
            table[4 * i + 0] = uint8_t(blue[i] >> shift);
            table[4 * i + 1] = uint8_t(green[i] >> shift);
            table[4 * i + 2] = uint8_t(red[i] >> shift);
        }
        return true;
    }
    for (uint32_t i = 0; i < n; ++i) {
        const uint8_t v = uint8_t(i * 255 / (n - 1));
        const uint8_t grey = photometric == PHOTOMETRIC_MINISWHITE ? uint8_t(255 - v) : v;
        table[4 * i + 0] = table[4 * i + 1] = table[4 * i + 2] = grey;
    }
    return true;
}

bool ReadPaletteStrips(TIFF* tif, uint32_t width, uint32_t height, uint16_t bits, uint16_t photometric,
                       CDibImage& image)
{
    if (!image.CreateBlock(int32_t(width), int32_t(height), bits))
        return Fail(image, kRasterError);
    if (!InstallTable(tif, photometric, bits, image))
        return Fail(image, kPaletteError);
    uint32_t rowsPerStrip = height;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    if (rowsPerStrip == 0 || rowsPerStrip > height)
        rowsPerStrip = height;
    const tmsize_t stripSize = TIFFStripSize(tif);
    const tmsize_t scanline = TIFFScanlineSize(tif);
    if (stripSize <= 0 || scanline <= 0 || uint64_t(stripSize) > CDibImage::BlockLimit())
        return Fail(image, kCorrupt);
    uint8_t* strip = static_cast<uint8_t*>(_TIFFmalloc(stripSize));
    if (!strip)
        return Fail(image, kRasterError);
    const size_t copy = size_t(scanline) < image.GetStride() ? size_t(scanline) : image.GetStride();
    for (uint32_t row = 0; row < height; row += rowsPerStrip) {
        const tmsize_t got = TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, row, 0), strip, stripSize);
        if (got < 0) {
            _TIFFfree(strip);
            return Fail(image, kCorrupt);
        }
        for (uint32_t i = 0; i < rowsPerStrip && row + i < height; ++i) {
            const uint64_t at = uint64_t(i) * uint64_t(scanline);
            if (at + uint64_t(scanline) > uint64_t(got))
                break;
            std::memcpy(image.RowFromTop(int32_t(row + i)), strip + at, copy);
        }
    }
    _TIFFfree(strip);
    return true;
}

// Palette and grey pictures beyond the limit: row by row, each through the
// picture's colour table, reduced by factor.
bool ReadIndicesReduced(TIFF* tif, uint32_t width, uint32_t height, uint16_t bits, uint16_t photometric,
                        int32_t factor, CDibImage& image)
{
    CDibImage table;
    if (!table.CreateBlock(1, 1, bits))
        return Fail(image, kRasterError);
    if (!InstallTable(tif, photometric, bits, table))
        return Fail(image, kPaletteError);
    const tmsize_t scanline = TIFFScanlineSize(tif);
    if (scanline <= 0 || uint64_t(scanline) * 8 < uint64_t(width) * bits)
        return Fail(image, kCorrupt);
    ReducingRows out;
    if (!out.Begin(image, int32_t(width), int32_t(height), factor))
        return Fail(image, kPictureTooLargeText);
    std::vector<uint8_t> row(static_cast<size_t>(scanline));
    std::vector<uint8_t> bgr(size_t(width) * 3);
    const uint8_t* colours = table.Palette();
    const uint32_t mask = (1u << bits) - 1;
    for (uint32_t y = 0; y < height; ++y) {
        if (TIFFReadScanline(tif, row.data(), y, 0) < 0)
            return Fail(image, kCorrupt);
        for (uint32_t x = 0; x < width; ++x) {
            const uint64_t bit = uint64_t(x) * bits;
            const uint32_t index = (row[size_t(bit / 8)] >> (8 - bits - bit % 8)) & mask;
            const uint8_t* colour = colours + 4 * size_t(index);
            uint8_t* to = bgr.data() + 3 * size_t(x);
            to[0] = colour[0];
            to[1] = colour[1];
            to[2] = colour[2];
        }
        out.Add(bgr.data());
    }
    return true;
}

class TiffLoader final : public PictureLoader {
public:
    int32_t type() const override { return kPictureTiff; }

    bool sniff(const uint8_t* data, size_t size) const override
    {
        return size >= 4 && ((data[0] == 'I' && data[1] == 'I' && (data[2] == 42 || data[2] == 43) && data[3] == 0) ||
                             (data[0] == 'M' && data[1] == 'M' && data[2] == 0 && (data[3] == 42 || data[3] == 43)));
    }

    bool load(const uint8_t* data, size_t size, CDibImage& image) override
    {
        MemoryFile file{data, toff_t(size), 0};
        TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
        if (!options)
            return Fail(image, kOpenError);
        TIFFOpenOptionsSetErrorHandlerExtR(options, Silence, nullptr);
        TIFFOpenOptionsSetWarningHandlerExtR(options, Silence, nullptr);
        TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(CDibImage::BlockLimit()));
        TiffHandle tif(TIFFClientOpenExt("picture", "r", &file, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc,
                                         MapProc, UnmapProc, options));
        TIFFOpenOptionsFree(options);
        if (!tif.get())
            return Fail(image, kOpenError);

        image.SetImageCount(TIFFNumberOfDirectories(tif.get()));
        if (!TIFFSetDirectory(tif.get(), tdir_t(image.GetImageIndex())))
            return Fail(image, kPageError);

        uint32_t width = 0, height = 0;
        uint16_t samples = 1, bits = 1, photometric = PHOTOMETRIC_MINISWHITE;
        TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
        TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
        TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bits);
        TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric);
        if (width == 0 || height == 0)
            return Fail(image, kRasterError);
        if (width > uint32_t(kDibImageMaxSide) || height > uint32_t(kDibImageMaxSide))
            return Fail(image, PictureTooLargeSideText(width, height).c_str());

        // Strips are copied row for row from the top; pictures stored in
        // another orientation are turned by the RGBA reader, as colour
        // pictures are.
        uint16_t orientation = ORIENTATION_TOPLEFT;
        TIFFGetFieldDefaulted(tif.get(), TIFFTAG_ORIENTATION, &orientation);
        const bool stripsOfIndices = !TIFFIsTiled(tif.get()) && samples == 1 && orientation == ORIENTATION_TOPLEFT &&
                                     (bits == 1 || bits == 4 || bits == 8) &&
                                     (photometric == PHOTOMETRIC_MINISWHITE ||
                                      photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_PALETTE);
        // A picture beyond the limit is read reduced, as it comes, never
        // whole; one that can't be read that way is refused.
        int32_t factor = PictureReductionFor(width, height);
        if (!stripsOfIndices)
            while (!CDibImage::BlockFits(int32_t((width + factor - 1) / factor),
                                         int32_t((height + factor - 1) / factor), 24))
                ++factor;
        if (stripsOfIndices)
            return factor > 1 ? ReadIndicesReduced(tif.get(), width, height, bits, photometric, factor, image)
                              : ReadPaletteStrips(tif.get(), width, height, bits, photometric, image);
        return ReadThroughRgba(tif.get(), width, height, factor, image);
    }
};

}  // namespace

std::unique_ptr<PictureLoader> MakeTiffLoader()
{
    return std::make_unique<TiffLoader>();
}
