#include "barcode/caption_font.h"

#include <algorithm>
#include <array>

#include "barcode/barcode_scale.h"
#include "graphics/font_state.h"
#include "platform/dc.h"

namespace {

constexpr int32_t kLargestCaptionSize = 16384;
// The size taken when shrinking for the module found nothing better.
constexpr int32_t kFallbackCaptionSize = 10;

// A fitting done, with all it followed from: the caption's font and the
// context's scale and resolution, which make its face at each size, and the
// record's sizes. A sheet prints the same barcode on every card, so it is
// fitted once rather than measured at size after size again.
struct Fitting {
    LogFont font;
    IntSize window, viewport;
    int32_t dpi = 0, captionSize = 0;
    double barHeight = 0.0, module = 0.0;
    // What it gave.
    int32_t size = 0, ascent = 0;

    bool SameAs(const Fitting& o) const
    {
        return font == o.font && window.width == o.window.width && window.height == o.window.height &&
               viewport.width == o.viewport.width && viewport.height == o.viewport.height && dpi == o.dpi &&
               captionSize == o.captionSize && barHeight == o.barHeight && module == o.module;
    }
};

// The few barcodes a sheet shows; each thread draws its own.
struct RecentFittings {
    std::array<Fitting, 8> entries;
    size_t used = 0;
    size_t next = 0;
};

// Sizes from the record's captionSize down until the caption is narrow
// enough for the module; the font's ascent at the size found.
void Fit(Dc* dc, Fitting* fitting)
{
    FontState font(dc);
    int32_t size = fitting->captionSize;
    font.SetHeight(size);
    TextMetrics tm = dc->getTextMetrics();

    if (!(fitting->barHeight / 2.0 > size))
        size = std::max(BarcodeTrunc(fitting->barHeight / 2.0), 0);

    int32_t last = kFallbackCaptionSize;
    while (7.0 * fitting->module < tm.aveCharWidth) {
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
    fitting->size = size;
    fitting->ascent = tm.ascent;
}

}  // namespace

int32_t CaptionSizeFrom(double size) { return std::clamp(BarcodeTrunc(size), 0, kLargestCaptionSize); }

void FitCaptionFont(Dc* dc, BarcodeRecord* rec)
{
    Fitting fitting;
    fitting.font = dc->font();
    fitting.window = dc->windowExt();
    fitting.viewport = dc->viewportExt();
    fitting.dpi = dc->getDeviceCaps(LOGPIXELSY);
    fitting.captionSize = CaptionSizeFrom(rec->captionSize);
    fitting.barHeight = rec->barHeight;
    fitting.module = rec->module;

    // A recording context writes every font the fitting selects, so it
    // fits each time.
    thread_local RecentFittings recent;
    const Fitting* known = nullptr;
    if (!dc->recording()) {
        for (size_t i = 0; i < recent.used && !known; ++i) {
            if (recent.entries[i].SameAs(fitting))
                known = &recent.entries[i];
        }
    }
    if (known) {
        fitting = *known;
    } else {
        Fit(dc, &fitting);
        if (!dc->recording()) {
            recent.entries[recent.next] = fitting;
            recent.next = (recent.next + 1) % recent.entries.size();
            recent.used = std::min(recent.used + 1, recent.entries.size());
        }
    }

    gCaptionRise = fitting.ascent * 9.0 / 8.0;
    gCaptionBand = fitting.ascent * 9.0 / 16.0;
    rec->captionSize = fitting.size;
}
