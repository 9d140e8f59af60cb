#include "platform/paper_pattern_tiles.h"

#include <QTransform>

#include "platform/raster_ops.h"

QBrush PaperPatternTiles::brushOf(const DevicePaint& paint, int32_t rop2)
{
    if (paint.kind != DevicePaint::kTiled)
        return QBrush();
    const Made* found = nullptr;
    for (const Made& known : made_) {
        if (!known.onPaper.isNull() && known.rop2 == rop2 && known.tile == paint.tile) {
            found = &known;
            break;
        }
    }
    if (!found) {
        QImage tile = paint.tile.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < tile.height(); ++y) {
            auto* line = reinterpret_cast<uint32_t*>(tile.scanLine(y));
            for (int x = 0; x < tile.width(); ++x) {
                if (line[x] >> 24)
                    line[x] = 0xFF000000u | Rop2Apply(rop2, line[x] & 0xFFFFFFu, 0xFFFFFF);
            }
        }
        Made& made = made_[next_];
        next_ = (next_ + 1) % made_.size();
        made = Made{paint.tile, rop2, std::move(tile)};
        found = &made;
    }
    QBrush brush(found->onPaper);
    brush.setTransform(QTransform::fromTranslate(paint.origin.x(), paint.origin.y()));
    return brush;
}
