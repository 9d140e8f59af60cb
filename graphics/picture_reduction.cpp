#include "graphics/picture_reduction.h"

#include <algorithm>

#include "graphics/picture_limits.h"

int32_t PictureReductionFor(int64_t width, int64_t height)
{
    if (width <= 0 || height <= 0)
        return 1;
    const auto fits = [&](int64_t f) {
        const int64_t w = (width + f - 1) / f, h = (height + f - 1) / f;
        return PicturePixelsAllowed(w, h) && CDibImage::BlockFits(int32_t(w), int32_t(h), 24);
    };
    if (PicturePixelsAllowed(width, height))
        return 1;
    int64_t factor = (std::max(width, height) + kPictureLongestPageSide - 1) / kPictureLongestPageSide;
    factor = std::max<int64_t>(factor, 2);
    while (!fits(factor))
        ++factor;
    return int32_t(factor);
}

bool ReducingRows::Begin(CDibImage& image, int32_t width, int32_t height, int32_t factor)
{
    image_ = &image;
    width_ = width;
    height_ = height;
    factor_ = std::max(factor, 1);
    outWidth_ = (width + factor_ - 1) / factor_;
    row_ = 0;
    sums_.assign(size_t(outWidth_) * 3, 0u);
    counts_.assign(size_t(outWidth_), 0u);
    return image.CreateBlock(outWidth_, (height + factor_ - 1) / factor_, 24) != nullptr;
}

void ReducingRows::Add(const uint8_t* bgr)
{
    if (!image_ || row_ >= height_)
        return;
    // A column of the reduced picture at a time, so that a scan of
    // hundreds of millions of pixels costs no division per pixel.
    uint32_t* sum = sums_.data();
    uint32_t* count = counts_.data();
    for (int32_t x = 0; x < width_; x += factor_, sum += 3, ++count) {
        const int32_t n = std::min(factor_, width_ - x);
        uint32_t b = 0, g = 0, r = 0;
        for (const uint8_t* p = bgr + size_t(x) * 3; p < bgr + size_t(x + n) * 3; p += 3) {
            b += p[0];
            g += p[1];
            r += p[2];
        }
        sum[0] += b;
        sum[1] += g;
        sum[2] += r;
        *count += uint32_t(n);
    }
    ++row_;
    if (row_ % factor_ == 0 || row_ == height_)
        Flush();
}

void ReducingRows::Flush()
{
    uint8_t* out = image_->RowFromTop((row_ - 1) / factor_);
    for (size_t x = 0; x < size_t(outWidth_); ++x) {
        for (size_t c = 0; c < 3; ++c)
            out[x * 3 + c] = uint8_t(counts_[x] ? sums_[x * 3 + c] / counts_[x] : 0);
    }
    std::fill(sums_.begin(), sums_.end(), 0u);
    std::fill(counts_.begin(), counts_.end(), 0u);
}
