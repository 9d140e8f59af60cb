#include "graphics/dib_derived.h"

#include <algorithm>
#include <cmath>

#include "foundation/byte_order.h"
#include "graphics/dib_format.h"
#include "graphics/dib_pixels.h"
#include "graphics/hls.h"

namespace {

// A 1-bit picture of source's size, table [white, black], whose pixel is
// white (index 0) where white(colour) holds.
template <class White>
int32_t MakeOneBit(DibHandle source, DibHandle target, White white)
{
    if (source == target && !DibHandleIsEmpty(source)) {
        // Built aside first, since the picture is read while it is made.
        DibHandleOwner made;
        if (!made || MakeOneBit(source, made.get(), white))
            return 1;
        DibHandle built = made.release();
        DibHandleMove(target, &built, true);
        return 0;
    }
    if (DibHandleIsEmpty(source) || !DibHandleBlockSlot(target)) {
        DibHandleClear(&target);
        return 1;
    }
    const int32_t width = DibHandleWidth(source);
    const int32_t height = DibHandleHeight(source);
    if (DibHandleCreate(target, width, height, 1))
        return 1;
    uint8_t* table = DibHandlePalette(target);
    table[0] = table[1] = table[2] = 0xFF;

    std::vector<ColorRef> colours(static_cast<size_t>(width));
    const DibRecord* t = DibHandleBlockSlot(target);
    const uint64_t stride = uint64_t(DibHandleStride(target));
    for (int32_t y = 0; y < height; ++y) {
        DibHandleReadRow(source, y, colours.data());
        uint8_t* row = t->bits + uint64_t(height - y - 1) * stride;
        for (int32_t x = 0; x < width; ++x) {
            if (!white(colours[size_t(x)]))
                row[x / 8] = uint8_t(row[x / 8] | (0x80 >> (x % 8)));
        }
    }
    return 0;
}

}  // namespace

int32_t DibHandleMakeMask(DibHandle source, DibHandle mask, ColorRef key)
{
    key &= 0xFFFFFF;
    return MakeOneBit(source, mask, [key](ColorRef c) { return c == key; });
}

int32_t DibHandleToMonochrome(DibHandle source, DibHandle target)
{
    return MakeOneBit(source, target, [](ColorRef c) {
        if (c == kWhite)
            return true;
        int16_t hue, lightness, saturation;
        RgbToHls(c, &hue, &lightness, &saturation);
        return lightness >= kHlsScale / 2;
    });
}

int32_t DibHandleTraceOutline(DibHandle h, std::vector<IntPoint>* outline, int32_t maxPoints, const IntRect* area,
                              ColorRef key)
{
    if (!outline || DibHandleIsEmpty(h))
        return 1;
    outline->clear();
    key &= 0xFFFFFF;
    const int32_t width = DibHandleWidth(h);
    const int32_t height = DibHandleHeight(h);
    int32_t left = 0, top = 0, right = width - 1, bottom = height - 1;
    if (area) {
        left = std::clamp(area->left, 0, width - 1);
        right = std::clamp(area->right, 0, width - 1);
        top = std::clamp(area->top, 0, height - 1);
        bottom = std::clamp(area->bottom, 0, height - 1);
    }
    // Two points a sampled row and the closing point.
    const int32_t maxRows = maxPoints >= 3 ? (maxPoints - 1) / 2 : 0;
    if (left > right || top > bottom || maxRows == 0)
        return 0;

    std::vector<ColorRef> row(static_cast<size_t>(width));
    // The leftmost and rightmost pixels of row y in left..right that differ
    // from the key; false when there are none.
    auto edges = [&](int32_t y, int32_t* first, int32_t* last) {
        DibHandleReadRow(h, y, row.data());
        int32_t x = left;
        while (x <= right && row[size_t(x)] == key)
            ++x;
        if (x > right)
            return false;
        *first = x;
        int32_t r = right;
        while (r > x && row[size_t(r)] == key)
            --r;
        *last = r;
        return true;
    };

    int32_t first = 0, last = 0;
    while (top <= bottom && !edges(top, &first, &last))
        ++top;
    if (top > bottom)
        return 0;
    while (bottom > top && !edges(bottom, &first, &last))
        --bottom;

    // The step spreads the samples over the picture's whole height; a
    // small maxPoints must not leave the divisor at 0 or below.
    const int32_t divisor = std::max(1, (maxPoints - 1) / 2 - 1);
    const double step = std::max(1.0, double(height) / divisor);

    std::vector<IntPoint> rights;
    for (double y = top; y <= bottom && int32_t(rights.size()) < maxRows;) {
        const int32_t rowIndex = int32_t(y);
        if (edges(rowIndex, &first, &last)) {
            outline->push_back({first, rowIndex});
            rights.push_back({last, rowIndex});
        }
        // The lowest row is always the last sample; landing on it directly
        // keeps rounding from sampling the row above it instead.
        if (y < bottom && y + step >= bottom)
            y = bottom;
        else
            y += step;
    }
    outline->insert(outline->end(), rights.rbegin(), rights.rend());
    outline->push_back(outline->front());
    return 0;
}
