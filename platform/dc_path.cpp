// Paths: between beginPath and endPath the drawing calls add their outlines
// here (in device pixels) instead of drawing.
//
// In a path, rectangle, ellipse, rounded rectangle, chord and pie add the
// outline of the area they would fill (a rectangle (0, 0, 10, 5) adds the
// corners (0, 0) and (10, 5)), so filling the path covers the same pixels
// as the shape; a path is filled like a polygon (pixels whose centres lie
// inside, by the poly-fill mode) and stroked like a polyline.
#include <cmath>

#include "platform/coverage.h"
#include "platform/dc.h"
#include "platform/dc_device.h"
#include "platform/dc_recorder.h"
#include "platform/dc_state.h"

namespace {

int32_t Round(double v) { return RoundToInt(v); }

}  // namespace

bool Dc::inPath() const { return state_->path.phase == DcPath::kOpen; }

void Dc::pathMoveTo(const QPointF& p)
{
    DcPath& path = state_->path;
    // A move right after a move replaces it: a figure starts only once.
    if (!path.types.empty() && path.types.back() == PT_MOVETO) {
        path.points.back() = p;
        return;
    }
    path.points.push_back(p);
    path.types.push_back(PT_MOVETO);
}

void Dc::pathLineTo(const QPointF& p)
{
    state_->path.points.push_back(p);
    state_->path.types.push_back(PT_LINETO);
}

void Dc::pathBezierTo(const QPointF& c1, const QPointF& c2, const QPointF& e)
{
    DcPath& path = state_->path;
    for (const QPointF& p : {c1, c2, e}) {
        path.points.push_back(p);
        path.types.push_back(PT_BEZIERTO);
    }
}

void Dc::pathEnsureStart()
{
    const DcPath& path = state_->path;
    const QPointF cp = toPixel(state_->position.x, state_->position.y);
    if (path.types.empty() || (path.types.back() & PT_CLOSEFIGURE) || path.points.back() != cp)
        pathMoveTo(cp);
}

void Dc::pathAdd(const QPainterPath& p)
{
    DcPath& path = state_->path;
    QPointF start;
    for (int i = 0; i < p.elementCount(); ++i) {
        const QPainterPath::Element e = p.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            start = QPointF(e.x, e.y);
            pathMoveTo(start);
            break;
        case QPainterPath::LineToElement:
            pathLineTo(QPointF(e.x, e.y));
            break;
        case QPainterPath::CurveToElement:
            if (i + 2 < p.elementCount()) {
                const QPainterPath::Element c2 = p.elementAt(i + 1);
                const QPainterPath::Element end = p.elementAt(i + 2);
                pathBezierTo(QPointF(e.x, e.y), QPointF(c2.x, c2.y), QPointF(end.x, end.y));
                i += 2;
            }
            break;
        default:
            break;
        }
        // A figure that ends where it started is a closed one; a straight
        // line back to the start is what the closing mark draws anyway.
        const bool last = i + 1 >= p.elementCount() || p.elementAt(i + 1).type == QPainterPath::MoveToElement;
        if (last && path.types.size() > 1 && path.types.back() != PT_MOVETO && path.points.back() == start) {
            if (path.types.back() == PT_LINETO && path.types[path.types.size() - 2] != PT_MOVETO) {
                path.points.pop_back();
                path.types.pop_back();
            }
            path.types.back() |= PT_CLOSEFIGURE;
        }
    }
}

QPainterPath Dc::devicePath() const
{
    const DcPath& path = state_->path;
    QPainterPath out;
    out.setFillRule(state_->polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    for (size_t i = 0; i < path.points.size(); ++i) {
        const uint8_t t = path.types[i] & ~PT_CLOSEFIGURE;
        if (t == PT_MOVETO) {
            out.moveTo(path.points[i]);
        } else if (t == PT_BEZIERTO && i + 2 < path.points.size()) {
            out.cubicTo(path.points[i], path.points[i + 1], path.points[i + 2]);
            i += 2;
        } else {
            out.lineTo(path.points[i]);
        }
        if (path.types[i] & PT_CLOSEFIGURE)
            out.closeSubpath();
    }
    return out;
}

bool Dc::beginPath()
{
    if (recorder_)
        recorder_->beginPath();
    state_->path.clear();
    state_->path.phase = DcPath::kOpen;
    return true;
}

bool Dc::endPath()
{
    if (recorder_)
        recorder_->endPath();
    if (state_->path.phase != DcPath::kOpen)
        return false;
    state_->path.phase = DcPath::kClosed;
    return true;
}

bool Dc::abortPath()
{
    if (recorder_)
        recorder_->abortPath();
    state_->path.clear();
    return true;
}

bool Dc::closeFigure()
{
    if (recorder_)
        recorder_->closeFigure();
    DcPath& path = state_->path;
    if (path.phase != DcPath::kOpen || path.types.empty() || path.types.back() == PT_MOVETO)
        return false;
    path.types.back() |= PT_CLOSEFIGURE;
    return true;
}

bool Dc::fillPath()
{
    if (recorder_)
        recorder_->fillPath();
    if (state_->path.phase != DcPath::kClosed)
        return false;
    const QPainterPath area = devicePath();
    state_->path.clear();
    DeviceShape shape;
    shape.fill = area;
    shape.brush = paintOf(state_->brush);
    shape.rop2 = state_->rop2;
    return device_->drawShape(shape, clip());
}

bool Dc::strokePath()
{
    if (recorder_)
        recorder_->strokePath();
    if (state_->path.phase != DcPath::kClosed)
        return false;
    const QPainterPath outline = devicePath();
    state_->path.clear();
    return drawOutlined(QPainterPath(), outline);
}

bool Dc::strokeAndFillPath()
{
    if (recorder_)
        recorder_->strokeAndFillPath();
    if (state_->path.phase != DcPath::kClosed)
        return false;
    const QPainterPath p = devicePath();
    state_->path.clear();
    return drawOutlined(p, p);
}

bool Dc::flattenPath()
{
    if (recorder_)
        recorder_->flattenPath();
    DcPath& path = state_->path;
    if (path.phase != DcPath::kClosed)
        return false;
    DcPath flat;
    flat.phase = DcPath::kClosed;
    size_t i = 0;
    while (i < path.points.size()) {
        // One figure at a time, so each keeps its closing mark.
        QPainterPath figure(path.points[i]);
        bool closed = false;
        size_t j = i + 1;
        for (; j < path.points.size() && (path.types[j] & ~PT_CLOSEFIGURE) != PT_MOVETO; ++j) {
            if ((path.types[j] & ~PT_CLOSEFIGURE) == PT_BEZIERTO && j + 2 < path.points.size()) {
                figure.cubicTo(path.points[j], path.points[j + 1], path.points[j + 2]);
                j += 2;
            } else {
                figure.lineTo(path.points[j]);
            }
            closed = (path.types[j] & PT_CLOSEFIGURE) != 0;
        }
        const QList<QPolygonF> polys = figure.toSubpathPolygons();
        if (!polys.isEmpty()) {
            const QPolygonF& poly = polys.front();
            for (qsizetype k = 0; k < poly.size(); ++k) {
                flat.points.push_back(poly[k]);
                flat.types.push_back(k == 0 ? PT_MOVETO : PT_LINETO);
            }
            if (closed && flat.types.back() != PT_MOVETO)
                flat.types.back() |= PT_CLOSEFIGURE;
        }
        i = j;
    }
    path = std::move(flat);
    return true;
}

size_t Dc::pathPointCount() const { return state_->path.points.size(); }

std::vector<PathPoint> Dc::getPath() const
{
    std::vector<PathPoint> out;
    const DcPath& path = state_->path;
    if (path.phase != DcPath::kClosed)
        return out;
    out.reserve(path.points.size());
    for (size_t i = 0; i < path.points.size(); ++i) {
        const QPointF l = toLogicalF(path.points[i]);
        out.push_back({IntPoint{Round(l.x()), Round(l.y())}, path.types[i]});
    }
    return out;
}

Region Dc::pathToRegion()
{
    if (state_->path.phase != DcPath::kClosed)
        return Region();
    const QPainterPath area = devicePath();
    state_->path.clear();
    return Region::FromPath(area);
}

QPainterPath Dc::currentPath() const
{
    QPainterPath p = logicalToDevice().inverted().map(devicePath());
    p.setFillRule(state_->polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    return p;
}
