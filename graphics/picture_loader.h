// The picture decoders: one loader per file format behind one interface.
//
// A loader decodes the bytes of a whole file into an empty CDibImage. It
// trusts nothing in the file: every size is checked in 64 bits before it
// is used, pictures beyond kDibImageMaxSide or kDibMaxBlockSize are
// refused, and a file that ends early gives the rows decoded so far or a
// clean failure, never a read outside the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "graphics/dib_image.h"

class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // One of kPictureBmp .. kPictureTiff.
    virtual int32_t type() const = 0;
    // True when the bytes start the way files of this format start.
    virtual bool sniff(const uint8_t* data, size_t size) const = 0;
    // Decodes the picture of image's image index into image, which is empty
    // on entry. False on failure, with the error text set where the format
    // has a message for it.
    virtual bool load(const uint8_t* data, size_t size, CDibImage& image) = 0;
};

std::unique_ptr<PictureLoader> MakeBmpLoader();
std::unique_ptr<PictureLoader> MakeGifLoader();
std::unique_ptr<PictureLoader> MakeJpegLoader();
std::unique_ptr<PictureLoader> MakePngLoader();
std::unique_ptr<PictureLoader> MakeIcoLoader();
std::unique_ptr<PictureLoader> MakeTiffLoader();

// The loader of a format type; null for any other value.
std::unique_ptr<PictureLoader> MakePictureLoader(int32_t type);

// The format whose loader recognises the bytes, -1 when none does. Bitmap
// files without their file header are not recognised by content.
int32_t PictureTypeFromContent(const uint8_t* data, size_t size);
// The format a file name's extension stands for (case ignored), -1 when
// none.
int32_t PictureTypeFromExtension(const char* path);

// Composites a colour channel over the background with the given alpha
// (0-255), rounded as the PNG library rounds.
inline uint8_t CompositeOver(uint8_t colour, uint8_t alpha, uint8_t background)
{
    const uint32_t t = uint32_t(colour) * alpha + uint32_t(background) * (255u - alpha) + 128u;
    return uint8_t((t + (t >> 8)) >> 8);
}

// The colour transparent parts of a picture are put on. Every loader that
// meets transparency uses it, so one picture looks the same from any format.
// It is white because white is what a picture frame without a background
// colour keys out: transparent pixels then show what lies beneath the
// frame, and where the frame has a background they print as white paper.
constexpr uint8_t kPictureBackgroundRed = 255;
constexpr uint8_t kPictureBackgroundGreen = 255;
constexpr uint8_t kPictureBackgroundBlue = 255;
