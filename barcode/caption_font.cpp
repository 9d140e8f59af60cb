#include "barcode/caption_font.h"

#include <algorithm>

#include "barcode/barcode_scale.h"
#include "graphics/font_state.h"
#include "platform/dc.h"

namespace {

constexpr int32_t kLargestCaptionSize = 16384;
// The size taken when shrinking for the module found nothing better.
constexpr int32_t kFallbackCaptionSize = 10;

}  // namespace

int32_t CaptionSizeFrom(double size) { return std::clamp(BarcodeTrunc(size), 0, kLargestCaptionSize); }

void FitCaptionFont(Dc* dc, BarcodeRecord* rec)
{
    FontState font(dc);
    int32_t size = CaptionSizeFrom(rec->captionSize);
    font.SetHeight(size);
    TextMetrics tm = dc->getTextMetrics();

    if (!(rec->barHeight / 2.0 > size))
        size = std::max(BarcodeTrunc(rec->barHeight / 2.0), 0);

    int32_t last = kFallbackCaptionSize;
    while (7.0 * rec->module < tm.aveCharWidth) {
        if (--size < 1)
            break;
        font.SetHeight(size);
        const int32_t previousWidth = tm.aveCharWidth;
        tm = dc->getTextMetrics();
        if (tm.aveCharWidth < previousWidth)
            last = size;
    }
    if (size <= 0)
        size = last;

    gCaptionRise = tm.ascent * 9.0 / 8.0;
    gCaptionBand = tm.ascent * 9.0 / 16.0;
    rec->captionSize = size;
}
