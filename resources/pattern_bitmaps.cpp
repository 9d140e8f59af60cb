#include "resources/pattern_bitmaps.h"

namespace {

// Row 0 first, bit 7 the leftmost pixel; a 0 bit is a drawn pixel.
const MonoPattern kCheckerboard{{0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA}};
// Pixels 0 and 4 of the even rows, 2 and 6 of the odd ones.
const MonoPattern kSparse{{0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD}};

}  // namespace

const MonoPattern* PatternBitmapResource(int32_t id)
{
    switch (id) {
    case kPatternBitmapCheckerboard:
        return &kCheckerboard;
    case kPatternBitmapSparse:
        return &kSparse;
    default:
        return nullptr;
    }
}
