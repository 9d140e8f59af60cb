// ImagingBitmap: the program's imaging engine over QImage. It reads the
// picture files the program's own decoders do not handle, rotates,
// resamples, paints and saves pictures, and exchanges them with the rest of
// the program as packed bitmaps in global blocks.
//
// A bitmap is used in a fixed order of calls (initialise, load, work,
// export, release); the DibHandle crossings in graphics/dib_imaging.h show
// each. Calls answer true on success. Nothing of a bitmap is ever stored.
//
// Pictures are kept either as 8-bit indexed images (pictures of 1, 4 or 8
// bits) or as 32-bit RGB; transparency in files is laid over white, the
// program's key colour for "show what lies beneath".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QImage>

#include "foundation/int_geometry.h"
#include "platform/gdi_types.h"
#include "platform/global_block.h"

class Dc;

// What ReadFileInfo learns of a file, handed back to LoadFile.
struct ImagingFileInfo {
    int32_t format = 0;  // a code of graphics/imaging_formats.h
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits = 0;
    // False only for a picture whose header says for sure that it has no
    // alpha: PNG and bitmap headers do, where they name colours (a palette
    // may hold transparent entries whatever the header says); other
    // readers may not look far enough to know.
    bool mayHaveAlpha = true;
    std::string qtFormat;  // Qt's reader name; empty for vector formats
};

class ImagingBitmap {
public:
    ImagingBitmap() = default;
    ~ImagingBitmap() = default;
    ImagingBitmap(const ImagingBitmap&) = delete;
    ImagingBitmap& operator=(const ImagingBitmap&) = delete;

    // Empties the bitmap and notes the size and depth a later
    // PrepareDestination makes (all 0 before a load).
    bool Initialize(int32_t width, int32_t height, int32_t bits);
    // Loads a packed bitmap of size bytes whose rows start at bits.
    bool LoadFromDib(const uint8_t* block, uint32_t size, const uint8_t* bits);
    // Loads the packed bitmap of a global block and takes the block over:
    // it is freed here whatever the result.
    bool LoadFromGlobal(GlobalBlock block);

    // Recognises a file's format: true for pictures Qt reads and for
    // metafiles and PostScript (which only the classification needs).
    static bool ReadFileInfo(const std::string& path, ImagingFileInfo* info);
    // The picture is laid over white where it has alpha; `alpha`, when
    // given, gets the alpha it was laid over with (one byte a pixel, rows
    // top first) for a picture of colours that is not wholly opaque, and
    // is emptied for any other.
    bool LoadFile(const std::string& path, const ImagingFileInfo& info, std::vector<uint8_t>* alpha = nullptr);

    // Rotates clockwise on the screen by hundredths of a degree. With
    // resize the bitmap grows to hold the whole turned picture, the corners
    // filled with the background colour; without, it keeps its size. Pixels
    // are taken, never blended, so a key colour stays exactly itself, and
    // quarter turns move every pixel exactly. With smooth, a turn other
    // than a quarter blends the four pixels around each point it takes (a
    // picture of few colours comes back in true colour), so thin strokes
    // such as glyphs stay whole.
    bool Rotate(int32_t hundredths, bool resize, ColorRef background, bool smooth = false);

    // Makes the blank destination of the size and depth given to
    // Initialize; then ResampleFrom scales a source into it, each pixel
    // taking the source pixel under its centre.
    bool PrepareDestination();
    bool ResampleFrom(const ImagingBitmap& source);

    // The picture as a packed bitmap in a new global block, at the depth
    // the bitmap was initialised or loaded with when its colours fit it.
    // TakeResultDib empties the bitmap; ExportDib keeps it. Null on failure.
    GlobalBlock TakeResultDib();
    GlobalBlock ExportDib() const;
    // Copies count entries of the colour table from first on, in the
    // packed bitmap's (blue, green, red, 0) form.
    bool ReadColourTable(int32_t first, int32_t count, uint8_t* table) const;

    // Paints the picture stretched into dest (right and bottom included),
    // clipped to clip, combined by a blit raster operation.
    bool Paint(Dc* dc, const IntRect& dest, const IntRect& clip, uint32_t rop) const;
    // The resolution the picture's file declares (its physical size);
    // false without a picture.
    bool SetPixelsPerInch(int32_t pixelsPerInch);
    // Saves to a file in a format of graphics/imaging_formats.h at 1, 8 or
    // 24 bits (0 as it is); quality (1-100, 0 for 75) applies to JPEG.
    // writeError, when given, gets the file error that kept the picture
    // from being written (0 when the failure was not the file's).
    bool SaveFile(const std::string& path, int32_t format, int32_t bits, int32_t quality,
                  int32_t* writeError = nullptr) const;

    void Release();

    const QImage& image() const { return image_; }
    int32_t bits() const { return bits_; }

private:
    void Take(QImage image, int32_t bits);

    QImage image_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t bits_ = 0;
};
