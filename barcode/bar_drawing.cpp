#include "barcode/bar_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <vector>

#include <QPainterPath>

#include "barcode/barcode_ink.h"
#include "barcode/barcode_scale.h"
#include "graphics/pen_state.h"
#include "graphics/rotation.h"
#include "platform/dc.h"

namespace {

using PointF = DoublePoint;

// Sutherland-Hodgman: the part of a convex polygon on the inner side of
// one edge of a box, the edge given by its coordinate on one axis.
std::vector<PointF> Cut(const std::vector<PointF>& in, double edge, bool xAxis, bool keepAbove)
{
    auto coordinate = [&](const PointF& p) { return xAxis ? p.x : p.y; };
    auto inside = [&](const PointF& p) { return keepAbove ? coordinate(p) >= edge : coordinate(p) <= edge; };
    std::vector<PointF> out;
    for (size_t i = 0; i < in.size(); ++i) {
        const PointF& a = in[i];
        const PointF& b = in[(i + 1) % in.size()];
        if (inside(a))
            out.push_back(a);
        if (inside(a) != inside(b)) {
            const double t = (edge - coordinate(a)) / (coordinate(b) - coordinate(a));
            out.push_back(xAxis ? PointF{edge, a.y + (b.y - a.y) * t} : PointF{a.x + (b.x - a.x) * t, edge});
        }
    }
    return out;
}

// The part of the bar's polygon within what the context shows, with a
// margin around it, as a shape. A region is made over the whole shape, so a
// bar that reaches far past the shown area (a frame scrolled far away, a
// record with absurd lengths) is cut first; the pixels inside are the same.
// A bar within the area (every bar of a barcode in sight) is its polygon as
// it is: cutting it would only copy it four times, on every bar of every
// record.
Region ShownBarPart(Dc* dc, const PointF* corners, size_t count)
{
    IntRect box;
    dc->getClipBox(&box);
    const double left = box.left - 2.0, top = box.top - 2.0, right = box.right + 2.0, bottom = box.bottom + 2.0;
    const bool within = std::all_of(corners, corners + count, [&](const PointF& p) {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    });
    std::vector<PointF> cut;
    if (!within) {
        cut.assign(corners, corners + count);
        cut = Cut(Cut(Cut(Cut(cut, left, true, true), right, true, false), top, false, true), bottom, false, false);
        corners = cut.data();
        count = cut.size();
    }
    if (count < 3)
        return Region();
    QPainterPath area;
    area.reserve(int(count) + 1);
    area.setFillRule(Qt::WindingFill);
    area.moveTo(corners[0].x, corners[0].y);
    for (size_t i = 1; i < count; ++i)
        area.lineTo(corners[i].x, corners[i].y);
    area.closeSubpath();
    return Region::FromPath(area);
}

// The bar's pixels, from its polygon in whole units.
Region BarRegion(Dc* dc, const IntPoint* p, int count)
{
    IntRect box;
    dc->getClipBox(&box);
    const double left = box.left - 2.0, top = box.top - 2.0, right = box.right + 2.0, bottom = box.bottom + 2.0;
    std::vector<PointF> poly;
    bool within = true;
    for (int i = 0; i < count; ++i) {
        poly.push_back({double(p[i].x), double(p[i].y)});
        within = within && p[i].x >= left && p[i].x <= right && p[i].y >= top && p[i].y <= bottom;
    }
    if (within)
        return Region::FromPolygon(p, count, WINDING);
    return ShownBarPart(dc, poly.data(), poly.size());
}

// Whether the target puts ink finer than its unit: a page of a print job
// (a printer, a PDF, PostScript) fills shapes as they are, while the
// screen, a picture and a recording take whole units.
bool KeepsFractions(Dc* dc)
{
    return dc->keepsShapes() && dc->getDeviceCaps(TECHNOLOGY) == DT_RASPRINTER;
}

// The bar as it is, turned exactly, filled as a shape: no edge moves to a
// whole unit, so every bar and space keeps its share of the module however
// narrow it is.
void DrawExactBar(Dc* dc, double x, double y, double width, double height, double angle, const int32_t centre[2])
{
    const double w = std::fabs(BarcodeHeld(width));
    const double h = std::fabs(BarcodeHeld(height));
    x = BarcodeHeld(x);
    y = BarcodeHeld(y);
    PointF corners[4] = {{x, y}, {x, y + h}, {x + w, y + h}, {x + w, y}};
    if (angle != 0.0)
        RotatePointExact(corners, 4, centre[0], centre[1], angle);
    BarcodeInk::Bar(corners, 4);
    dc->paintRgn(ShownBarPart(dc, corners, 4));
}

}  // namespace

namespace {

// Lines are drawn whole: one reaching millions of units past the shown area
// would cost seconds. Such a line is cut to the shown area with a margin
// wide enough that the cut changes no pixel near it.
struct LineBox {
    explicit LineBox(Dc* dc)
    {
        constexpr double kMargin = 4096.0;
        IntRect box;
        dc->getClipBox(&box);
        left = box.left - kMargin;
        top = box.top - kMargin;
        right = box.right + kMargin;
        bottom = box.bottom + kMargin;
    }
    bool Holds(const IntPoint& p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }

    double left, top, right, bottom;
};

void DrawCutLine(Dc* dc, const LineBox& box, IntPoint from, IntPoint to)
{
    if (!box.Holds(from) || !box.Holds(to)) {
        // Liang-Barsky: the part t0..t1 of from + t (to - from) inside the box.
        const double dx = double(to.x) - from.x, dy = double(to.y) - from.y;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {from.x - box.left, box.right - from.x, from.y - box.top, box.bottom - from.y};
        double t0 = 0.0, t1 = 1.0;
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0.0) {
                if (q[i] < 0.0)
                    return;
            } else if (p[i] < 0.0) {
                t0 = std::max(t0, q[i] / p[i]);
            } else {
                t1 = std::min(t1, q[i] / p[i]);
            }
        }
        if (t0 > t1)
            return;
        auto at = [&](double t) {
            return IntPoint{BarcodeTrunc(std::round(from.x + t * dx)), BarcodeTrunc(std::round(from.y + t * dy))};
        };
        const IntPoint start = at(t0);
        to = at(t1);
        from = start;
    }
    dc->moveTo(from.x, from.y);
    dc->lineTo(to.x, to.y);
}

}  // namespace

void DrawBarcodePolyline(Dc* dc, const IntPoint* points, int count)
{
    if (count > 0)
        BarcodeInk::Line(points, size_t(count));
    const LineBox box(dc);
    bool within = true;
    for (int i = 0; i < count; ++i)
        within = within && box.Holds(points[i]);
    if (within) {
        dc->polyline(points, count);
        return;
    }
    for (int i = 0; i + 1 < count; ++i)
        DrawCutLine(dc, box, points[i], points[i + 1]);
}

void RotateBarcodePoints(IntPoint* points, int16_t count, const int32_t centre[2], double angle)
{
    if (angle != 0.0)
        RotatePoint(points, count, centre[0], centre[1], angle);
}

void DrawBar(Dc* dc, double left, double top, double width, double height, double angle, const int32_t centre[2])
{
    if (KeepsFractions(dc)) {
        DrawExactBar(dc, left, top, width, height, angle, centre);
        return;
    }
    const int32_t x = BarcodeTrunc(left);
    const int32_t y = BarcodeTrunc(top);
    const int32_t w = std::abs(BarcodeTrunc(width));
    const int32_t h = std::abs(BarcodeTrunc(height));
    IntPoint p[5] = {{x, y}, {x, y + h}, {x + w, y + h}, {x + w, y}, {x, y}};
    RotateBarcodePoints(p, 5, centre, angle);
    if (w >= 2) {
        BarcodeInk::Bar(p, 5);
        dc->paintRgn(BarRegion(dc, p, 5));
        return;
    }
    PenState pen(dc);
    pen.SetPen(dc->textColor(), w, PenState::kSetColour | PenState::kSetWidth);
    DrawBarcodePolyline(dc, p, 2);
}

int32_t BarcodeCharWidth(Dc* dc, uint8_t ch)
{
    const char c = char(ch);
    return dc->getTextExtent(std::string_view(&c, 1)).width;
}

void CaptionRun::Add(double x, double y, uint8_t ch)
{
    IntPoint p{BarcodeTrunc(x), BarcodeTrunc(y)};
    const int32_t centre[2] = {rec_.centreX, rec_.centreY};
    RotateBarcodePoints(&p, 1, centre, rec_.angle);
    text_ += char(ch);
    at_.push_back(p);
}

void CaptionRun::Draw()
{
    BarcodeInk::Glyphs(text_, at_.data());
    dc_->placedTextOut(text_, at_.data());
    text_.clear();
    at_.clear();
}

void DrawCaptionChar(Dc* dc, const BarcodeRecord& rec, double x, double y, uint8_t ch)
{
    CaptionRun run(dc, rec);
    run.Add(x, y, ch);
    run.Draw();
}

BarTrack::BarTrack(Dc* dc, const BarcodeRecord& rec, double x)
    : dc_(dc), angle_(rec.angle), centre_{rec.centreX, rec.centreY}, x_(x)
{
}

void BarTrack::Bar(double width, double y, double height)
{
    DrawBar(dc_, x_, y, width, height, angle_, centre_);
    x_ += width;
}
