#include "platform/path_rectangle.h"

std::optional<QRectF> AsRectangle(const QPainterPath& path)
{
    const int n = path.elementCount();
    if (n != 5 && n != 4)
        return std::nullopt;
    QPointF p[5];
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if ((i == 0) != e.isMoveTo() || e.isCurveTo())
            return std::nullopt;
        p[i] = e;
    }
    if (n == 5 && p[4] != p[0])
        return std::nullopt;
    const bool across = p[0].y() == p[1].y() && p[1].x() == p[2].x() && p[2].y() == p[3].y() && p[3].x() == p[0].x();
    const bool down = p[0].x() == p[1].x() && p[1].y() == p[2].y() && p[2].x() == p[3].x() && p[3].y() == p[0].y();
    if (!across && !down)
        return std::nullopt;
    return QRectF(p[0], p[2]).normalized();
}
