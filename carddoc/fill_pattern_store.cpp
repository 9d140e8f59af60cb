#include "carddoc/fill_pattern_store.h"

#include <vector>

namespace {

// Row 0 first, bit 7 the leftmost pixel; a 1 here is a pixel drawn in the
// text colour. From light to dark, then lines and figures.
constexpr uint8_t kPatternRows[kPatternBitmapIdCount][8] = {
    {0x80, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00},  // scattered dots
    {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00},  // light dots
    {0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22},  // quarter tone
    {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55},  // half tone
    {0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD},  // three-quarter tone
    {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // horizontal lines
    {0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88},  // vertical lines
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // rising diagonals
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // falling diagonals
    {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88},  // grid
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
    {0xFF, 0x80, 0x80, 0x80, 0xFF, 0x08, 0x08, 0x08},  // bricks
    {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00},  // wide horizontal lines
    {0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC},  // wide vertical lines
    {0x03, 0x06, 0x0C, 0x18, 0x30, 0x60, 0xC0, 0x81},  // wide rising diagonals
    {0xC0, 0x60, 0x30, 0x18, 0x0C, 0x06, 0x03, 0x81},  // wide falling diagonals
    {0x18, 0x24, 0x42, 0x81, 0x81, 0x42, 0x24, 0x18},  // diamonds
    {0x00, 0x44, 0xAA, 0x11, 0x00, 0x44, 0xAA, 0x11},  // waves
    {0xF0, 0xF0, 0xF0, 0xF0, 0x0F, 0x0F, 0x0F, 0x0F},  // checks
    {0x00, 0x00, 0x00, 0x18, 0x18, 0x00, 0x00, 0x00},  // spots
};

QImage PatternResource(int32_t id)
{
    const int32_t i = id - kFirstPatternBitmapId;
    if (i < 0 || i >= kPatternBitmapIdCount)
        return QImage();
    // One-bit bitmaps draw index 0 in the text colour.
    QImage image(8, 8, QImage::Format_Mono);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, (kPatternRows[i][y] & (0x80 >> x)) ? 0 : 1);
    return image;
}

class Store : public PatternTable {
public:
    int16_t GetPatternBitmapCount() const override { return int16_t(bitmaps_.size()); }
    const QImage* GetPatternBitmap(int32_t i) const override
    {
        if (i < 0 || i >= int32_t(bitmaps_.size()))
            return nullptr;
        const QImage& b = factor_ == 1 ? bitmaps_[size_t(i)] : scaled_[size_t(i)];
        return b.isNull() ? nullptr : &b;
    }

    void Load(int32_t first, int16_t count)
    {
        Free();
        bitmaps_.resize(size_t(count));
        scaled_.resize(size_t(count));
        for (int16_t i = 0; i < count; ++i)
            bitmaps_[size_t(i)] = PatternResource(first + i);
    }
    void Scale(uint16_t factor)
    {
        factor_ = factor < 1 ? uint16_t(1) : factor;
        if (factor_ == 1)
            return;
        const uint16_t even = uint16_t(factor_ & ~1u);
        if (even == built_)
            return;
        for (size_t i = 0; i < bitmaps_.size(); ++i)
            scaled_[i] = bitmaps_[i].isNull() ? QImage() : bitmaps_[i].scaled(8 * even, 8 * even);
        built_ = even;
    }
    void Free()
    {
        bitmaps_.clear();
        scaled_.clear();
        built_ = 0;
    }

private:
    std::vector<QImage> bitmaps_;
    std::vector<QImage> scaled_;
    uint16_t factor_ = 1;
    // The factor the copies were made for; 0 for none.
    uint16_t built_ = 0;
};

Store& TheStore()
{
    static Store store;
    return store;
}

}  // namespace

bool LoadPatternBitmaps(int32_t first, int16_t count)
{
    if (count <= 0)
        return false;
    TheStore().Load(first, count);
    return true;
}

const QImage* GetPatternBitmap(int32_t i) { return TheStore().GetPatternBitmap(i); }

void ScalePatternBitmaps(uint16_t factor) { TheStore().Scale(factor); }

void FreePatternBitmaps() { TheStore().Free(); }

const PatternTable* PatternBitmapStore() { return &TheStore(); }
