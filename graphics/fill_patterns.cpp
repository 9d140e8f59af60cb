#include "graphics/fill_patterns.h"

#include <memory>

namespace {

bool gUseHatches = false;
const PatternTable* gTable = nullptr;

}  // namespace

void SetPatternTable(const PatternTable* table) { gTable = table; }

const PatternTable* CurrentPatternTable() { return gTable; }

int16_t GetPatternBitmapCount() { return gTable ? gTable->GetPatternBitmapCount() : int16_t(0); }

void SetUseHatchBrushes(bool on) { gUseHatches = on; }

bool GetUseHatchBrushes() { return gUseHatches; }

int32_t GetFillPatternCount() { return (gUseHatches ? 8 : 2) + GetPatternBitmapCount(); }

std::optional<Brush> BrushOfPatternBitmap(const QImage& bitmap, ColorRef textColour, ColorRef bkColour)
{
    if (bitmap.isNull())
        return std::nullopt;
    if (bitmap.depth() != 1)
        return Brush{BS_PATTERN, kBlack, 0, nullptr, std::make_shared<const QImage>(bitmap)};
    if (bitmap.width() == 8 && bitmap.height() == 8) {
        // The device context colours it when it draws, as it does every
        // one-bit pattern.
        MonoPattern p;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (bitmap.pixelIndex(x, y))
                    p.rows[y] |= uint8_t(0x80 >> x);
        return Brush::Pattern(p);
    }
    // A zoomed copy is larger than the platform's one-bit patterns; it
    // takes the colours it is made with.
    QImage tile(bitmap.size(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            tile.setPixelColor(x, y, ToQColor(bitmap.pixelIndex(x, y) ? bkColour : textColour));
    return Brush{BS_PATTERN, kBlack, 0, nullptr, std::make_shared<const QImage>(std::move(tile))};
}

std::optional<Brush> MakeFillPatternBrush(int32_t n, ColorRef textColour, ColorRef bkColour)
{
    if (n == kFillSolid)
        return Brush::Solid(textColour);
    if (n == kFillHollow)
        return Brush::Hollow();
    int32_t bitmap = n - 2;
    if (gUseHatches) {
        if (n >= kFillFirstHatch && n < kFillFirstHatch + kFillHatchCount)
            return Brush::Hatched(n - kFillFirstHatch, textColour);
        bitmap = n - 8;
    }
    if (bitmap < 0 || !gTable || bitmap >= gTable->GetPatternBitmapCount())
        return std::nullopt;
    const QImage* image = gTable->GetPatternBitmap(bitmap);
    if (!image)
        return std::nullopt;
    return BrushOfPatternBitmap(*image, textColour, bkColour);
}
