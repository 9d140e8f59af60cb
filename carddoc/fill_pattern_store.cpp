#include "carddoc/fill_pattern_store.h"

#include <vector>

#include "resources/artwork_resources.h"

namespace {

// One bit a pixel, colour 0 drawn in the text colour: the pattern brushes
// read them that way.
QImage PatternResource(int32_t id)
{
    if (id < kFirstPatternBitmapId || id >= kFirstPatternBitmapId + kPatternBitmapIdCount)
        return QImage();
    return LoadResourceMono(id);
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
    int32_t GetPatternScale() const override { return factor_ == 1 ? 1 : built_; }

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
