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
    for (int32_t x = 0; x < width_; ++x) {
        const size_t at = size_t(x / factor_);
        for (size_t c = 0; c < 3; ++c)
            sums_[at * 3 + c] += bgr[size_t(x) * 3 + c];
        ++counts_[at];
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
