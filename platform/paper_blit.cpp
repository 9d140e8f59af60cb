#include "platform/paper_blit.h"

#include "platform/raster_ops.h"

namespace {

inline uint32_t ToRgb(ColorRef c) { return (c & 0x00FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu); }

}  // namespace

bool PaperBlit::make(const BlitRect& target, const QImage& source, uint32_t rop, const DevicePaint& pattern,
                     const QRect& drawable, QRectF* destOut, QImage* picture)
{
    *picture = QImage();
    QRectF dest(double(target.x), double(target.y), double(target.width), double(target.height));
    const uint8_t table = Rop3Table(rop);
    const bool useSource = Rop3UsesSource(table);
    // A blit without a source is a fill: only its part on the page counts,
    // however far it reaches.
    if (!useSource) {
        dest = dest.normalized() & QRectF(drawable);
        if (dest.isEmpty())
            return true;
    }
    if (rop == MERGEPAINT && !source.isNull()) {
        pendingDest_ = dest;
        pendingMask_ = source.convertToFormat(QImage::Format_RGB32);
        return true;
    }
    QImage pendingMask;
    if (rop == SRCAND && dest == pendingDest_)
        pendingMask = pendingMask_;
    pendingDest_ = QRectF();
    pendingMask_ = QImage();

    QImage out;
    if (useSource) {
        if (source.isNull())
            return false;
        out = source.convertToFormat(QImage::Format_ARGB32);
    } else {
        out = QImage(int(dest.width()), int(dest.height()), QImage::Format_ARGB32);
        out.fill(0);
    }
    const QImage mask = pendingMask.isNull() ? QImage() : pendingMask.scaled(out.size());
    const uint32_t patternColor = ToRgb(pattern.color);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(out.scanLine(y));
        const uint32_t* m = mask.isNull() ? nullptr : reinterpret_cast<const uint32_t*>(mask.constScanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const uint32_t s = line[x] & 0xFFFFFFu;
            uint32_t pat = patternColor;
            if (pattern.kind == DevicePaint::kTiled && !pattern.tile.isNull())
                pat = pattern.tile.pixel(x % pattern.tile.width(), y % pattern.tile.height()) & 0xFFFFFFu;
            if (m) {
                // White mask pixels are the transparent ones.
                line[x] = (m[x] & 0xFFFFFFu) == 0xFFFFFFu ? 0u : (0xFF000000u | s);
                continue;
            }
            const uint32_t onWhite = Rop3Apply(table, pat, s, 0xFFFFFF);
            const uint32_t onBlack = Rop3Apply(table, pat, s, 0);
            const bool keeps = onWhite == 0xFFFFFFu && onBlack == 0;
            line[x] = keeps ? 0u : (0xFF000000u | onWhite);
        }
    }
    *destOut = dest;
    *picture = std::move(out);
    return true;
}
