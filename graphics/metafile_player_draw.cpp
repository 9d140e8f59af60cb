// The player's lines, shapes, paths, regions and clipping.
#include <algorithm>
#include <cmath>

#include <QPolygon>

#include "graphics/metafile_format.h"
#include "graphics/metafile_player_state.h"

namespace {

// Degrees, counter-clockwise on the screen, of the point where the radial
// through (x, y) meets the ellipse in `box` (as QPainterPath counts them).
double RadialAngle(const QRectF& box, double x, double y)
{
    const QPointF c = box.center();
    const double rx = std::max(box.width() / 2, 1e-9);
    const double ry = std::max(box.height() / 2, 1e-9);
    return std::atan2(-(y - c.y()) / ry, (x - c.x()) / rx) * 180 / M_PI;
}

// The union of many rectangles, merged pairwise so that large regions do
// not cost a pass over the whole region for each rectangle.
QRegion UniteAll(std::vector<QRegion>& parts)
{
    if (parts.empty())
        return QRegion();
    while (parts.size() > 1) {
        std::vector<QRegion> next;
        next.reserve(parts.size() / 2 + 1);
        for (size_t i = 0; i + 1 < parts.size(); i += 2)
            next.push_back(parts[i] | parts[i + 1]);
        if (parts.size() % 2)
            next.push_back(parts.back());
        parts.swap(next);
    }
    return parts.front();
}

const QRegion& Everything()
{
    static const QRegion all(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29);
    return all;
}

}  // namespace

// --- Lines -----------------------------------------------------------------------

void MetafilePlayer::polyRecord(uint32_t type, const RecordBytes& r)
{
    const bool small = type >= EMR_POLYBEZIER16;
    const uint32_t unit = small ? 4 : 8;
    const uint32_t count = r.u32(24);
    if (!r.has(28, uint64_t(count) * unit))
        return;
    std::vector<IntPoint> pts(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t off = 28 + i * unit;
        pts[i] = small ? map(r.i16(off), r.i16(off + 2)) : map(r.i32(off), r.i32(off + 4));
    }
    applyObjects();
    const int n = int(count);
    switch (small ? type - (EMR_POLYBEZIER16 - EMR_POLYBEZIER) : type) {
    case EMR_POLYBEZIER:
        if (n >= 4)
            dc_.polyBezier(pts.data(), 1 + 3 * ((n - 1) / 3));
        break;
    case EMR_POLYGON:
        dc_.polygon(pts.data(), n);
        break;
    case EMR_POLYLINE:
        dc_.polyline(pts.data(), n);
        break;
    case EMR_POLYBEZIERTO:
        if (n >= 3)
            dc_.polyBezierTo(pts.data(), 3 * (n / 3));
        break;
    case EMR_POLYLINETO:
        dc_.polylineTo(pts.data(), n);
        break;
    default:
        break;
    }
}

void MetafilePlayer::polyPolyRecord(uint32_t type, const RecordBytes& r)
{
    const bool small = type == EMR_POLYPOLYLINE16 || type == EMR_POLYPOLYGON16;
    const uint32_t unit = small ? 4 : 8;
    const uint32_t polys = r.u32(24);
    if (!r.has(32, uint64_t(polys) * 4))
        return;
    std::vector<int> counts(polys);
    uint64_t total = 0;
    for (uint32_t i = 0; i < polys; ++i) {
        counts[i] = int(std::min<uint32_t>(r.u32(32 + 4 * i), 0x7FFFFFFF));
        total += uint32_t(counts[i]);
    }
    const uint64_t first = 32 + uint64_t(polys) * 4;
    if (!r.has(first, total * unit))
        return;
    std::vector<IntPoint> pts(total);
    for (uint64_t i = 0; i < total; ++i) {
        const uint32_t off = uint32_t(first + i * unit);
        pts[i] = small ? map(r.i16(off), r.i16(off + 2)) : map(r.i32(off), r.i32(off + 4));
    }
    applyObjects();
    if (type == EMR_POLYPOLYGON || type == EMR_POLYPOLYGON16) {
        dc_.polyPolygon(pts.data(), counts.data(), int(polys));
        return;
    }
    size_t at = 0;
    for (int c : counts) {
        dc_.polyline(pts.data() + at, c);
        at += size_t(c);
    }
}

void MetafilePlayer::polyDraw(const RecordBytes& r, bool small)
{
    const uint32_t unit = small ? 4 : 8;
    const uint32_t count = r.u32(24);
    if (!r.has(28, uint64_t(count) * (unit + 1)))
        return;
    const uint32_t typesAt = 28 + count * unit;
    applyObjects();
    IntPoint start = dc_.currentPosition();
    std::vector<IntPoint> curve;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t off = 28 + i * unit;
        const IntPoint p = small ? map(r.i16(off), r.i16(off + 2)) : map(r.i32(off), r.i32(off + 4));
        const uint8_t t = r.u8(typesAt + i);
        switch (t & ~PT_CLOSEFIGURE) {
        case PT_MOVETO:
            dc_.moveTo(p.x, p.y);
            start = p;
            curve.clear();
            break;
        case PT_LINETO:
            dc_.lineTo(p.x, p.y);
            break;
        case PT_BEZIERTO:
            curve.push_back(p);
            if (curve.size() == 3) {
                dc_.polyBezierTo(curve.data(), 3);
                curve.clear();
            }
            break;
        default:
            return;
        }
        if ((t & PT_CLOSEFIGURE) && curve.empty()) {
            if (inPath_)
                dc_.closeFigure();
            else
                dc_.lineTo(start.x, start.y);
        }
    }
}

// --- Shapes ------------------------------------------------------------------------

void MetafilePlayer::boxRecord(uint32_t type, const RecordBytes& r)
{
    const bool arcLike = type == EMR_ARC || type == EMR_CHORD || type == EMR_PIE || type == EMR_ARCTO;
    if (!r.has(8, arcLike || type == EMR_ROUNDRECT ? (arcLike ? 32 : 24) : 16))
        return;
    const double l = r.i32(8), t = r.i32(12), rr = r.i32(16), b = r.i32(20);
    double x1 = r.i32(24), y1 = r.i32(28), x2 = r.i32(32), y2 = r.i32(36);
    if (arcLike && s_.arcDirection == AD_CLOCKWISE) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    applyObjects();

    if (axisAligned()) {
        const IntPoint a = map(l, t);
        const IntPoint c = map(rr, b);
        const int32_t left = std::min(a.x, c.x), right = std::max(a.x, c.x);
        const int32_t top = std::min(a.y, c.y), bottom = std::max(a.y, c.y);
        const IntPoint s = map(x1, y1);
        const IntPoint e = map(x2, y2);
        switch (type) {
        case EMR_ELLIPSE:
            dc_.ellipse(left, top, right, bottom);
            return;
        case EMR_RECTANGLE:
            dc_.rectangle(left, top, right, bottom);
            return;
        case EMR_ROUNDRECT: {
            const auto cw = int32_t(std::lround(std::min(std::fabs(r.i32(24) * toDest_.m11()), coordLimit_)));
            const auto ch = int32_t(std::lround(std::min(std::fabs(r.i32(28) * toDest_.m22()), coordLimit_)));
            dc_.roundRect(left, top, right, bottom, cw, ch);
            return;
        }
        case EMR_ARC:
            dc_.arc(left, top, right, bottom, s.x, s.y, e.x, e.y);
            return;
        case EMR_ARCTO:
            dc_.arcTo(left, top, right, bottom, s.x, s.y, e.x, e.y);
            return;
        case EMR_CHORD:
            dc_.chord(left, top, right, bottom, s.x, s.y, e.x, e.y);
            return;
        case EMR_PIE:
            dc_.pie(left, top, right, bottom, s.x, s.y, e.x, e.y);
            return;
        default:
            return;
        }
    }

    // A turned mapping: the shape is made in the metafile's own units and
    // drawn as a path.
    const QRectF box = QRectF(QPointF(l, t), QPointF(rr, b)).normalized();
    QPainterPath path;
    switch (type) {
    case EMR_ELLIPSE:
        path.addEllipse(box);
        break;
    case EMR_RECTANGLE:
        path.addRect(box);
        break;
    case EMR_ROUNDRECT:
        path.addRoundedRect(box, std::fabs(double(r.i32(24))) / 2, std::fabs(double(r.i32(28))) / 2);
        break;
    default: {
        const double a1 = RadialAngle(box, x1, y1);
        double sweep = RadialAngle(box, x2, y2) - a1;
        while (sweep <= 0)
            sweep += 360;
        if (type == EMR_PIE)
            path.moveTo(box.center());
        else
            path.arcMoveTo(box, a1);
        path.arcTo(box, a1, sweep);
        if (type == EMR_PIE || type == EMR_CHORD)
            path.closeSubpath();
        break;
    }
    }
    const bool closed = type != EMR_ARC && type != EMR_ARCTO;
    drawLogicalPath(path, closed, type == EMR_ARCTO);
}

void MetafilePlayer::angleArc(const RecordBytes& r)
{
    if (!r.has(8, 20))
        return;
    const double cx = r.i32(8), cy = r.i32(12);
    const double radius = std::min<double>(r.u32(16), coordLimit_);
    const double start = r.f32(20), sweep = r.f32(24);
    if (!std::isfinite(start) || !std::isfinite(sweep))
        return;
    const QRectF box(cx - radius, cy - radius, 2 * radius, 2 * radius);
    QPainterPath path;
    path.arcMoveTo(box, start);
    path.arcTo(box, start, std::clamp(sweep, -3600.0, 3600.0));
    applyObjects();
    drawLogicalPath(path, false, true);
}

void MetafilePlayer::drawLogicalPath(const QPainterPath& logical, bool fill, bool connectFromCurrent)
{
    const QPainterPath dest = toDest_.map(logical);
    const IntPoint position = dc_.currentPosition();
    if (inPath_) {
        emitPath(dest, connectFromCurrent);
        if (fill)
            dc_.closeFigure();
        if (!connectFromCurrent)
            dc_.moveTo(position.x, position.y);
        return;
    }
    dc_.beginPath();
    emitPath(dest, connectFromCurrent);
    if (fill)
        dc_.closeFigure();
    dc_.endPath();
    applyObjects();
    if (fill)
        dc_.strokeAndFillPath();
    else
        dc_.strokePath();
    if (!connectFromCurrent)
        dc_.moveTo(position.x, position.y);
}

void MetafilePlayer::emitPath(const QPainterPath& dest, bool connectFromCurrent)
{
    bool first = true;
    for (int i = 0; i < dest.elementCount(); ++i) {
        const QPainterPath::Element e = dest.elementAt(i);
        const IntPoint p = Round(QPointF(e.x, e.y));
        switch (e.type) {
        case QPainterPath::MoveToElement:
            if (first && connectFromCurrent)
                dc_.lineTo(p.x, p.y);
            else
                dc_.moveTo(p.x, p.y);
            break;
        case QPainterPath::LineToElement:
            dc_.lineTo(p.x, p.y);
            break;
        case QPainterPath::CurveToElement:
            if (i + 2 < dest.elementCount()) {
                const QPainterPath::Element e1 = dest.elementAt(i + 1);
                const QPainterPath::Element e2 = dest.elementAt(i + 2);
                const IntPoint c[3] = {p, Round(QPointF(e1.x, e1.y)), Round(QPointF(e2.x, e2.y))};
                dc_.polyBezierTo(c, 3);
                i += 2;
            }
            break;
        default:
            break;
        }
        first = false;
    }
}

// --- Regions -----------------------------------------------------------------------

QRegion MetafilePlayer::regionFromData(const RecordBytes& r, uint32_t offset, uint32_t size, bool device) const
{
    if (!r.has(offset, size) || size < kRgnDataHeaderSize)
        return QRegion();
    const uint32_t count = std::min<uint32_t>(r.u32(offset + 8), (size - kRgnDataHeaderSize) / 16);
    std::vector<QRegion> parts;
    parts.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t off = offset + kRgnDataHeaderSize + 16 * i;
        // Region rectangles are in the reference device's units.
        IntPoint c[2] = {Round(play_.map(QPointF(r.i32(off), r.i32(off + 4)))),
                         Round(play_.map(QPointF(r.i32(off + 8), r.i32(off + 12))))};
        if (device)
            dc_.lpToDp(c, 2);
        const QRect q(QPoint(std::min(c[0].x, c[1].x), std::min(c[0].y, c[1].y)),
                      QPoint(std::max(c[0].x, c[1].x) - 1, std::max(c[0].y, c[1].y) - 1));
        if (!q.isEmpty())
            parts.emplace_back(q);
    }
    return UniteAll(parts);
}

void MetafilePlayer::regionRecord(uint32_t type, const RecordBytes& r)
{
    const uint32_t cb = r.u32(24);
    const uint32_t dataAt = type == EMR_FILLRGN ? 32 : type == EMR_FRAMERGN ? 40 : 28;
    if (!r.has(dataAt, cb))
        return;
    const Region region = Region::FromQRegion(regionFromData(r, dataAt, cb, false));
    applyObjects();
    if (type == EMR_INVERTRGN) {
        dc_.invertRgn(region);
        return;
    }
    if (type == EMR_PAINTRGN) {
        dc_.paintRgn(region);
        return;
    }
    // The brush named by the record, then the one selected is put back.
    const PlayerState keep = s_;
    selectObject(r.u32(28));
    const Brush brush = s_.brush;
    s_.pen = keep.pen;
    s_.brush = keep.brush;
    s_.font = keep.font;
    objectsDirty_ = true;
    if (type == EMR_FILLRGN) {
        dc_.fillRgn(region, brush);
    } else {
        const auto w = int32_t(std::lround(std::min(std::fabs(r.i32(32) * scaleX()), 1000.0)));
        const auto h = int32_t(std::lround(std::min(std::fabs(r.i32(36) * scaleY()), 1000.0)));
        dc_.frameRgn(region, brush, std::max(w, 1), std::max(h, 1));
    }
}

// --- Clipping ----------------------------------------------------------------------

QRegion MetafilePlayer::deviceRegionOfLogicalRect(double l, double t, double r, double b) const
{
    IntPoint c[4] = {map(l, t), map(r, t), map(r, b), map(l, b)};
    dc_.lpToDp(c, 4);
    if (axisAligned()) {
        const int32_t x0 = std::min(c[0].x, c[2].x), x1 = std::max(c[0].x, c[2].x);
        const int32_t y0 = std::min(c[0].y, c[2].y), y1 = std::max(c[0].y, c[2].y);
        return x1 > x0 && y1 > y0 ? QRegion(x0, y0, x1 - x0, y1 - y0) : QRegion();
    }
    // A turned rectangle becomes pixels only where it can show.
    QPolygonF poly;
    for (const IntPoint& p : c)
        poly << QPointF(p.x, p.y);
    poly = poly.intersected(QPolygonF(QRectF(surfaceGuard())));
    return QRegion(poly.toPolygon());
}

void MetafilePlayer::combineClip(const QRegion& region, int32_t mode)
{
    const QRegion current = s_.clip ? *s_.clip : Everything();
    switch (mode) {
    case RGN_AND:
        s_.clip = current & region;
        break;
    case RGN_OR:
        if (s_.clip)
            s_.clip = current | region;
        break;
    case RGN_XOR:
        s_.clip = current ^ region;
        break;
    case RGN_DIFF:
        s_.clip = current - region;
        break;
    case RGN_COPY:
        s_.clip = region;
        break;
    default:
        return;
    }
    applyClip();
}

void MetafilePlayer::applyClip()
{
    if (!s_.clip && !baseClip_) {
        dc_.selectClipRgn(nullptr);
        return;
    }
    QRegion effective = s_.clip ? *s_.clip : *baseClip_;
    if (s_.clip && baseClip_)
        effective &= *baseClip_;
    const Region region = Region::FromQRegion(effective);
    dc_.selectClipRgn(&region);
}

void MetafilePlayer::clipRect(const RecordBytes& r, bool exclude)
{
    if (!r.has(8, 16) || !transformValid_)
        return;
    const QRegion region = deviceRegionOfLogicalRect(r.i32(8), r.i32(12), r.i32(16), r.i32(20));
    combineClip(region, exclude ? RGN_DIFF : RGN_AND);
}

void MetafilePlayer::selectClipRegion(const RecordBytes& r)
{
    const uint32_t cb = r.u32(8);
    const int32_t mode = r.i32(12);
    if (!r.has(8, 8))
        return;
    if (cb < kRgnDataHeaderSize || !r.has(16, cb)) {
        // Without a region only a copy means anything: the clip goes.
        if (mode == RGN_COPY) {
            s_.clip.reset();
            applyClip();
        }
        return;
    }
    combineClip(regionFromData(r, 16, cb, true), mode);
}

void MetafilePlayer::selectClipPath(int32_t mode)
{
    const std::vector<PathPoint> points = dc_.getPath();
    if (points.empty())
        return;
    // The path in device pixels; one reaching far beyond the surface is
    // cut to the surface's surroundings before it becomes pixels.
    QPainterPath device;
    device.setFillRule(dc_.polyFillMode() == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    QRect bounds;
    for (size_t i = 0; i < points.size(); ++i) {
        IntPoint p = points[i].point;
        dc_.lpToDp(&p, 1);
        bounds |= QRect(p.x, p.y, 1, 1);
        const uint8_t type = points[i].type & ~PT_CLOSEFIGURE;
        if (type == PT_MOVETO) {
            device.moveTo(p.x, p.y);
        } else if (type == PT_BEZIERTO && i + 2 < points.size()) {
            IntPoint c[2] = {points[i + 1].point, points[i + 2].point};
            dc_.lpToDp(c, 2);
            device.cubicTo(p.x, p.y, c[0].x, c[0].y, c[1].x, c[1].y);
            bounds |= QRect(c[0].x, c[0].y, 1, 1) | QRect(c[1].x, c[1].y, 1, 1);
            i += 2;
        } else {
            device.lineTo(p.x, p.y);
        }
        if (points[i].type & PT_CLOSEFIGURE)
            device.closeSubpath();
    }
    const QRect guard = surfaceGuard();
    Region region;
    if (guard.contains(bounds)) {
        region = dc_.pathToRegion();
    } else {
        dc_.abortPath();
        QPainterPath box;
        box.addRect(guard);
        region = Region::FromPath(device.intersected(box));
    }
    inPath_ = false;
    combineClip(region.pixels(), mode);
}

QRect MetafilePlayer::surfaceGuard() const
{
    const int w = dc_.getDeviceCaps(HORZRES), h = dc_.getDeviceCaps(VERTRES);
    if (w <= 0 || h <= 0)
        return QRect(-256, -256, 4608, 4608);
    return QRect(-256, -256, w + 512, h + 512);
}

void MetafilePlayer::offsetClip(const RecordBytes& r)
{
    if (!r.has(8, 8) || !s_.clip || !transformValid_)
        return;
    IntPoint c[2] = {map(0, 0), map(r.i32(8), r.i32(12))};
    dc_.lpToDp(c, 2);
    // Kept within the same bounds as every clip, so that offsets cannot
    // add up past the coordinates' range.
    const int32_t limit = 1 << 28;
    s_.clip->translate(std::clamp(c[1].x - c[0].x, -limit, limit), std::clamp(c[1].y - c[0].y, -limit, limit));
    *s_.clip &= Everything();
    applyClip();
}
