#include <algorithm>

#include "platform/dc.h"
#include "platform/dc_device.h"
#include "platform/dc_state.h"

std::optional<bool> Dc::frameOutline(const Region& logical, const Brush& brush, int32_t width, int32_t height)
{
    // The pixels of a frame along letters are a rectangle for each row of
    // each stroke, thousands a line, which a page writes one by one. A
    // pixel is in the frame where one `width` across or `height` down from
    // it lies outside the shape, so a page takes the frame as four fills,
    // each all but the shape moved one of those ways, cut to the shape by
    // the clip. A shape whose inside the winding rule decides has no such
    // simple outside, and goes as pixels.
    if (!keepsShapes() || logical.shape().isEmpty())
        return std::nullopt;
    const DeviceArea area = regionArea(logical);
    if (area.path.isEmpty() || area.path.fillRule() != Qt::OddEvenFill)
        return std::nullopt;
    const QPainterPath outline = area.offset.isNull() ? area.path : area.path.translated(area.offset);
    const DeviceClip* current = state_->hasClip ? &state_->clip : nullptr;
    // Display text frames its letters while its fills' clip still cuts to
    // them: that clip is the one the frame needs, and one clip for the
    // fills and the frame is written once.
    const bool cutAlready = current && std::any_of(current->outlines().begin(), current->outlines().end(),
                                                   [&](const QPainterPath& o) { return o == outline; });
    DeviceClip cut;
    if (!cutAlready) {
        const QRegion pixels = (current ? QRegion(*current) : surfaceRegion()) & toDeviceRegion(logical, 0);
        cut = narrowedClip(pixels, current, Region::FromPath(outline), QRegion());
        if (cut.outlines().empty())
            return std::nullopt;
    }
    const DeviceClip& under = cutAlready ? *current : cut;
    if (under.isEmpty())
        return true;
    const double reach = std::max(width, height) + 1.0;
    const QRectF around = outline.controlPointRect().adjusted(-reach, -reach, reach, reach);
    const QPointF shifts[] = {{double(width), 0}, {-double(width), 0}, {0, double(height)}, {0, -double(height)}};
    bool ok = true;
    for (const QPointF& shift : shifts) {
        QPainterPath outside = outline.translated(-shift);
        outside.addRect(around);
        DeviceShape shape;
        shape.fill = std::move(outside);
        shape.brush = paintOf(brush);
        shape.rop2 = state_->rop2;
        ok = device_->drawShape(shape, &under) && ok;
    }
    return ok;
}
