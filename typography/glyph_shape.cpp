#include "typography/glyph_shape.h"

#include <cmath>
#include <string>

#include <QPainterPath>

#include "foundation/int_math.h"
#include "graphics/matrix2.h"
#include "platform/dc.h"

namespace {

// A cubic piece of an outline that is a raised quadratic gives back its
// control point exactly; the others are split until a quadratic stays
// within a twentieth of a design unit of them.
constexpr double kSplineTolerance = 1.0;
constexpr int kMaxSplits = 8;

GlyphPoint Mid(GlyphPoint a, GlyphPoint b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

void AddQuadratic(GlyphContour* contour, GlyphPoint control, GlyphPoint end)
{
    GlyphSegment s;
    s.kind = kGlyphSegmentSpline;
    s.points = {control, end};
    contour->segments.push_back(std::move(s));
}

void AddCubic(GlyphContour* contour, GlyphPoint p0, GlyphPoint c1, GlyphPoint c2, GlyphPoint p3, int depth)
{
    const GlyphPoint q1{(3 * c1.x - p0.x) / 2, (3 * c1.y - p0.y) / 2};
    const GlyphPoint q2{(3 * c2.x - p3.x) / 2, (3 * c2.y - p3.y) / 2};
    if (depth >= kMaxSplits || std::hypot(q1.x - q2.x, q1.y - q2.y) <= kSplineTolerance) {
        AddQuadratic(contour, Mid(q1, q2), p3);
        return;
    }
    const GlyphPoint a = Mid(p0, c1), b = Mid(c1, c2), c = Mid(c2, p3);
    const GlyphPoint ab = Mid(a, b), bc = Mid(b, c);
    const GlyphPoint m = Mid(ab, bc);
    AddCubic(contour, p0, a, ab, m, depth + 1);
    AddCubic(contour, m, bc, c, p3, depth + 1);
}

void AddLine(GlyphContour* contour, GlyphPoint p)
{
    if (contour->segments.empty() || contour->segments.back().kind != kGlyphSegmentLine)
        contour->segments.push_back(GlyphSegment{kGlyphSegmentLine, {}});
    contour->segments.back().points.push_back(p);
}

template <class F>
void ForEachPoint(GlyphShape* shape, F f)
{
    for (GlyphContour& c : shape->contours) {
        f(c.start);
        for (GlyphSegment& s : c.segments)
            for (GlyphPoint& p : s.points)
                f(p);
    }
    f(shape->origin);
    for (GlyphPoint& p : shape->box)
        f(p);
}

IntPoint Placed(IntPoint origin, GlyphPoint p)
{
    return {TruncToInt32(double(origin.x) + p.x), TruncToInt32(double(origin.y) + p.y)};
}

}  // namespace

void GlyphShapeInit(GlyphShape* shape) { *shape = GlyphShape{}; }

void GlyphShapeFree(GlyphShape* shape) { *shape = GlyphShape{}; }

int32_t GlyphOutlineExtract(Dc* dc, uint8_t ch, GlyphShape* shape)
{
    GlyphShapeInit(shape);
    if (!dc)
        return 1;
    // The outline as the text calls place it, origin on the baseline.
    const uint32_t align = dc->setTextAlign(TA_BASELINE | TA_LEFT);
    const QPainterPath path = dc->textPath(0, 0, std::string(1, char(ch)));
    dc->setTextAlign(align);

    GlyphContour* contour = nullptr;
    GlyphPoint current;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const GlyphPoint p{e.x, e.y};
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            GlyphShapeFree(shape);
            return 1;
        }
        if (e.type == QPainterPath::MoveToElement) {
            shape->contours.push_back(GlyphContour{p, {}});
            contour = &shape->contours.back();
        } else if (!contour) {
            // A piece before any start cannot belong to a contour.
            GlyphShapeFree(shape);
            return 1;
        } else if (e.type == QPainterPath::LineToElement) {
            AddLine(contour, p);
        } else if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            const QPainterPath::Element e2 = path.elementAt(i + 1);
            const QPainterPath::Element e3 = path.elementAt(i + 2);
            AddCubic(contour, current, p, GlyphPoint{e2.x, e2.y}, GlyphPoint{e3.x, e3.y}, 0);
            i += 2;
            current = GlyphPoint{e3.x, e3.y};
            continue;
        } else {
            GlyphShapeFree(shape);
            return 1;
        }
        current = p;
    }

    // A start with nothing after it outlines nothing.
    std::erase_if(shape->contours, [](const GlyphContour& c) { return c.segments.empty(); });
    const QRectF ink = path.boundingRect();
    double left = 0, top = 0, width = 1, height = 1;
    if (!shape->contours.empty() && ink.isValid()) {
        left = std::floor(ink.left());
        top = std::floor(ink.top());
        width = std::max(1.0, std::ceil(ink.right()) - left);
        height = std::max(1.0, std::ceil(ink.bottom()) - top);
    }
    shape->origin = {left, top};
    shape->box[0] = {left, top};
    shape->box[1] = {left + width, top};
    shape->box[2] = {left + width, top + height};
    shape->box[3] = {left, top + height};
    shape->advance = {double(dc->getCharWidth(ch)), 0};
    return 0;
}

void ScaleGlyph(GlyphShape* shape, double sx, double sy)
{
    ForEachPoint(shape, [&](GlyphPoint& p) {
        p.x *= sx;
        p.y *= sy;
    });
    shape->advance.x *= sx;
    shape->advance.y *= sy;
}

void RotateGlyph(GlyphShape* shape, double angle)
{
    Matrix2 m;
    Matrix2Identity(&m);
    Matrix2Rotate(&m, angle);
    auto turn = [&](GlyphPoint& p) {
        const DoublePoint q = Matrix2Apply(m, DoublePoint{p.x, p.y});
        p = {q.x, q.y};
    };
    ForEachPoint(shape, turn);
    turn(shape->advance);
}

void DrawGlyphPath(Dc* dc, IntPoint origin, const GlyphShape& shape)
{
    for (const GlyphContour& c : shape.contours) {
        const IntPoint start = Placed(origin, c.start);
        dc->moveTo(start.x, start.y);
        for (const GlyphSegment& s : c.segments) {
            const size_t n = s.points.size();
            if (n == 0)
                continue;
            if (s.kind == kGlyphSegmentLine) {
                for (const GlyphPoint& p : s.points) {
                    const IntPoint q = Placed(origin, p);
                    dc->lineTo(q.x, q.y);
                }
            } else if (s.kind == kGlyphSegmentSpline) {
                // Each control point runs to the midpoint with the next
                // one, the last to the segment's end.
                for (size_t i = 0; i + 1 < n; ++i) {
                    const GlyphPoint end = i + 2 == n ? s.points[i + 1] : Mid(s.points[i], s.points[i + 1]);
                    const IntPoint p0 = dc->currentPosition();
                    const double qx = double(origin.x) + s.points[i].x;
                    const double qy = double(origin.y) + s.points[i].y;
                    const IntPoint p2 = Placed(origin, end);
                    const IntPoint bezier[3] = {
                        {TruncToInt32((p0.x + 2 * qx) / 3), TruncToInt32((p0.y + 2 * qy) / 3)},
                        {TruncToInt32((p2.x + 2 * qx) / 3), TruncToInt32((p2.y + 2 * qy) / 3)},
                        p2,
                    };
                    dc->polyBezierTo(bezier, 3);
                }
            } else {
                const IntPoint q = Placed(origin, s.points.back());
                dc->moveTo(q.x, q.y);
            }
        }
        dc->lineTo(start.x, start.y);
    }
}
