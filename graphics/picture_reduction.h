// Reading a picture larger than any picture may be at a fraction of its
// size: each square of factor x factor pixels becomes their mean, row by
// row as the file gives them, so that the whole picture is never held.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/dib_image.h"

// By how much a picture of that size is reduced as it is read: 1 for a
// picture within the pixel limit, else about what the longest sheet needs
// at the printer's resolution, and at least what brings it within the
// limit and within a 24-bit block.
int32_t PictureReductionFor(int64_t width, int64_t height);

// Takes the rows of a picture, top first, as blue-green-red triples, and
// writes the reduced rows into a 24-bit picture made at Begin. Its buffers
// are its own, so a reader that leaves by a long jump loses nothing when
// it lives in the reader's state.
class ReducingRows {
public:
    // Makes image's block of the reduced size; false when it can't be made.
    bool Begin(CDibImage& image, int32_t width, int32_t height, int32_t factor);
    // The next row of width pixels.
    void Add(const uint8_t* bgr);

private:
    void Flush();

    CDibImage* image_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t factor_ = 1;
    int32_t outWidth_ = 0;
    int32_t row_ = 0;
    std::vector<uint32_t> sums_;
    std::vector<uint32_t> counts_;
};
