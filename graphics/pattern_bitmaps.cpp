#include "graphics/pattern_bitmaps.h"

#include <QImage>

#include "resources/artwork_resources.h"

namespace {

// Bit 7 is the leftmost pixel; the bitmap's colour 0 (its drawn pixels)
// becomes a 0 bit.
bool ReadPattern(int32_t id, MonoPattern* pattern)
{
    const QImage mono = LoadResourceMono(id);
    if (mono.width() != 8 || mono.height() != 8)
        return false;
    for (int y = 0; y < 8; ++y) {
        uint8_t row = 0;
        for (int x = 0; x < 8; ++x)
            row |= uint8_t((mono.pixelIndex(x, y) ? 1 : 0) << (7 - x));
        pattern->rows[y] = row;
    }
    return true;
}

struct Patterns {
    MonoPattern checkerboard;
    MonoPattern sparse;
    bool haveCheckerboard = ReadPattern(kPatternBitmapCheckerboard, &checkerboard);
    bool haveSparse = ReadPattern(kPatternBitmapSparse, &sparse);
};

}  // namespace

const MonoPattern* PatternBitmapResource(int32_t id)
{
    static const Patterns patterns;
    switch (id) {
    case kPatternBitmapCheckerboard:
        return patterns.haveCheckerboard ? &patterns.checkerboard : nullptr;
    case kPatternBitmapSparse:
        return patterns.haveSparse ? &patterns.sparse : nullptr;
    default:
        return nullptr;
    }
}
