#include "graphics/fill_pattern_strip.h"

#include "graphics/border_stripes.h"
#include "graphics/brush_state.h"
#include "graphics/fill_patterns.h"
#include "graphics/frame_border.h"
#include "platform/dc.h"

QImage MakeFillPatternStrip(int32_t width, int32_t height)
{
    const int32_t count = GetFillPatternCount();
    if (width <= 0 || height <= 0 || int64_t(height) * count > INT32_MAX)
        return QImage();
    QImage strip(width, height * count, QImage::Format_RGB32);
    if (strip.isNull())
        return strip;
    const std::unique_ptr<Dc> dc = Dc::ForImage(&strip);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t top = i * height;
        dc->fillRect(IntRect{0, top, width, top + height}, Brush::Solid(kWhite));
        {
            BrushState brush(dc.get());
            brush.Set(kBlack, kWhite, i, BrushState::kSetText | BrushState::kSetBackground);
            LineRecord line;
            line.start = {3, top + height / 2};
            line.end = {width - 3, top + height / 2};
            line.lineWidth = 10;
            line.lineStyle = kLineSingle;
            DrawFrameBorder(dc.get(), line, 0);
        }
        dc->frameRect(IntRect{1, top + 1, width, top + height - 1}, Brush::Solid(kBlack));
    }
    return strip;
}
