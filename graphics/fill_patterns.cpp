#include "graphics/fill_patterns.h"

#include <array>
#include <memory>

namespace {

bool gUseHatches = false;
const PatternTable* gTable = nullptr;

// A zoomed pattern coloured lately. A sheet of cards fills with the same
// few patterns in the same colours on every card: each is coloured once,
// and the one picture a printed page is given for them all is stored once.
struct ColouredTile {
    qint64 bitmap = 0;  // the bitmap's cacheKey: a changed bitmap has another
    ColorRef text = 0, background = 0;
    std::shared_ptr<const QImage> tile;
};
thread_local std::array<ColouredTile, 32> t_tiles;
thread_local size_t t_nextTile = 0;

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
    for (const ColouredTile& known : t_tiles) {
        if (known.tile && known.bitmap == bitmap.cacheKey() && known.text == textColour &&
            known.background == bkColour)
            return Brush{BS_PATTERN, kBlack, 0, nullptr, known.tile};
    }
    QImage tile(bitmap.size(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            tile.setPixelColor(x, y, ToQColor(bitmap.pixelIndex(x, y) ? bkColour : textColour));
    ColouredTile& made = t_tiles[t_nextTile];
    t_nextTile = (t_nextTile + 1) % t_tiles.size();
    made = ColouredTile{bitmap.cacheKey(), textColour, bkColour, std::make_shared<const QImage>(std::move(tile))};
    return Brush{BS_PATTERN, kBlack, 0, nullptr, made.tile};
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
            return Brush::Hatched(n - kFillFirstHatch, textColour, gTable ? gTable->GetPatternScale() : 1);
        bitmap = n - 8;
    }
    if (bitmap < 0 || !gTable || bitmap >= gTable->GetPatternBitmapCount())
        return std::nullopt;
    const QImage* image = gTable->GetPatternBitmap(bitmap);
    if (!image)
        return std::nullopt;
    return BrushOfPatternBitmap(*image, textColour, bkColour);
}
