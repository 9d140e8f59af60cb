#include "typography/glyph_warp.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <utility>
#include <vector>

namespace {

enum : int32_t {
    kRectangular = 1,
    kDoubleArchUp,
    kDoubleArchDown,
    kArcUp,
    kArcDown,
    kTopArch,
    kBottomArch,
    kRoundTop,
    kRoundBottom,
    kSqueeze,
    kBalloon,
    kPerspectiveRight,
    kPerspectiveLeft,
    kFan,
    kReceding,
    kAngleUp,
    kAngleDown,
    kSlantLeft,
    kSlantRight,
    kPennantRight,
    kPennantLeft,
};

// The envelope of one line, in horizontal terms: the line runs along x
// from L over W, its glyphs are H high.
struct Envelope {
    int32_t shape;
    double L, W, H, M;
    double half, quarter;  // H / 2 and H / 4 in whole units

    // Half an ellipse over the line's width, h high in its middle. Points
    // beyond the ends of the line (overhanging glyphs) lie on the ends.
    double Ell(double u, double h) const
    {
        const double r = W / 2;
        if (r <= 0)
            return 0;
        const double t = 1 - (u * u) / (r * r);
        return t > 0 ? h * std::sqrt(t) : 0;
    }
    double Lin(double t, double h) const { return W != 0 ? h * t / W : 0; }
    static double Sin(double t, double period, double a)
    {
        return period != 0 ? a * std::sin(2 * std::numbers::pi * t / period) : 0;
    }
    double Lw(double t) const { return H != 0 ? (W / 4) * t / H : 0; }
    double Lp(double t) const { return W != 0 ? (H / 8) * t / (3 * W / 4) : 0; }
    double ByHeight(double v) const { return H != 0 ? v / H : 1; }

    // Height factor and offset at X.
    void Height(double X, double* f, double* o) const
    {
        const double u = X - L - W / 2;
        const double v = X - L;
        const double P = 4 * W / 3;
        *f = 1;
        *o = 0;
        switch (shape) {
        case kDoubleArchUp:
            *f = 0.5;
            *o = u < 0 ? -Ell(u, quarter) : -(half - Ell(u, quarter));
            break;
        case kDoubleArchDown:
            *f = 0.5;
            *o = u > 0 ? -Ell(u, quarter) : -(half - Ell(u, quarter));
            break;
        case kArcUp:
            *f = 0.5;
            *o = -Ell(u, half);
            break;
        case kArcDown:
            *f = 0.5;
            *o = -(half - Ell(u, half));
            break;
        case kTopArch:
            *f = ByHeight(H - Ell(u, half));
            *o = -(1 - *f) * H;
            break;
        case kBottomArch:
            *f = ByHeight(H - Ell(u, half));
            break;
        case kRoundTop:
            *f = ByHeight(Ell(u, H));
            break;
        case kRoundBottom:
            *f = ByHeight(Ell(u, H));
            *o = -(1 - *f) * H;
            break;
        case kSqueeze:
            *f = ByHeight(H - Ell(u, half));
            *o = -Ell(u, half) / 2;
            break;
        case kBalloon:
            *f = ByHeight(2 * Ell(u, half));
            *o = Ell(u, half) / 2 - H / 4;
            break;
        case kPerspectiveRight:
            *f = ByHeight(H - 2 * Lin(v, quarter));
            *o = -Lin(v, quarter);
            break;
        case kPerspectiveLeft:
            *f = ByHeight(H - 2 * Lin(W - v, quarter));
            *o = -Lin(W - v, quarter);
            break;
        case kAngleUp:
            *f = 0.5;
            *o = -Lin(v, half);
            break;
        case kAngleDown:
            *f = 0.5;
            *o = -Lin(W - v, half);
            break;
        case kPennantRight: {
            const double wave = Sin(v + P / 8, P, H / 4);
            *f = ByHeight(wave + H / 2 - Sin(v, W, H / 8) + Lp(3 * W / 4 - v));
            *o = wave - H / 4;
            break;
        }
        case kPennantLeft: {
            const double wave = Sin(v + 5 * P / 8, P, H / 4);
            *f = ByHeight(wave + H / 2 - Sin(v + W / 2, W, H / 8) + Lp(v));
            *o = wave - H / 4;
            break;
        }
        default:
            break;
        }
    }

    double WidthFactor() const { return shape == kSlantLeft || shape == kSlantRight ? 0.75 : 1; }

    // Width offset at X for a point at height y (from the box's bottom).
    double Width(double X, double y) const
    {
        switch (shape) {
        case kFan:
            return (M - X) * (1 - (W != 0 ? (W - 2 * Lw(H + y)) / W : 1));
        case kReceding:
            return (M - X) * (1 - (W != 0 ? (W - 2 * Lw(-y)) / W : 1));
        case kSlantLeft:
            return W / 4 - Lw(-y);
        case kSlantRight:
            return Lw(-y);
        default:
            return 0;
        }
    }
};

void Swap(GlyphPoint& p) { std::swap(p.x, p.y); }

void SwapAll(GlyphShape* shape)
{
    for (GlyphContour& c : shape->contours) {
        Swap(c.start);
        for (GlyphSegment& s : c.segments)
            for (GlyphPoint& p : s.points)
                Swap(p);
    }
    Swap(shape->origin);
    Swap(shape->advance);
    for (GlyphPoint& p : shape->box)
        Swap(p);
}

GlyphPoint Mid(GlyphPoint a, GlyphPoint b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }
GlyphPoint Lerp(GlyphPoint a, GlyphPoint b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }
GlyphPoint Quad(GlyphPoint a, GlyphPoint c, GlyphPoint b, double t)
{
    return Lerp(Lerp(a, c, t), Lerp(c, b, t), t);
}
double Apart(GlyphPoint a, GlyphPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

// How far a bent edge may stray from the true bend, in logical units, and
// how often an edge is halved to get there. The ellipses are steepest at
// the ends of the line, where a letter's edge needs the most pieces.
constexpr double kBendTolerance = 0.2;
constexpr int kMaxHalvings = 10;

// Bends a glyph's outline point by point. An edge between two points is
// bent along its whole length, not only at its ends: where the envelope
// curves fast (the ends of an arc or round shape) a straight edge between
// two bent points would cut through the letter or across its neighbour,
// so edges are halved until each piece follows the bend.
class Bender {
public:
    explicit Bender(std::function<GlyphPoint(GlyphPoint)> map) : map_(std::move(map)) {}

    void Contour(GlyphContour* c) const
    {
        GlyphPoint at = c->start;
        std::vector<GlyphSegment> bent;
        for (const GlyphSegment& s : c->segments) {
            if (s.points.empty()) {
                bent.push_back(s);
                continue;
            }
            if (s.kind == kGlyphSegmentLine) {
                GlyphSegment out{kGlyphSegmentLine, {}};
                for (const GlyphPoint& p : s.points) {
                    Line(at, p, map_(at), map_(p), 0, &out.points);
                    at = p;
                }
                bent.push_back(std::move(out));
            } else if (s.kind == kGlyphSegmentSpline && s.points.size() >= 2) {
                const size_t n = s.points.size();
                for (size_t i = 0; i + 1 < n; ++i) {
                    const GlyphPoint end = i + 2 == n ? s.points[i + 1] : Mid(s.points[i], s.points[i + 1]);
                    Curve(at, s.points[i], end, map_(at), map_(end), 0, &bent);
                    at = end;
                }
            } else {
                // A lone spline point draws nothing and other kinds only
                // move the pen; their points are bent as they are.
                GlyphSegment out{s.kind, {}};
                for (const GlyphPoint& p : s.points)
                    out.points.push_back(map_(p));
                if (s.kind != kGlyphSegmentSpline)
                    at = s.points.back();
                bent.push_back(std::move(out));
            }
        }
        c->start = map_(c->start);
        c->segments = std::move(bent);
    }

private:
    void Line(GlyphPoint a, GlyphPoint b, GlyphPoint ma, GlyphPoint mb, int depth,
              std::vector<GlyphPoint>* out) const
    {
        if (depth < kMaxHalvings) {
            bool straight = true;
            for (double t : {0.25, 0.5, 0.75})
                straight = straight && Apart(map_(Lerp(a, b, t)), Lerp(ma, mb, t)) <= kBendTolerance;
            if (!straight) {
                const GlyphPoint m = Mid(a, b);
                const GlyphPoint mm = map_(m);
                Line(a, m, ma, mm, depth + 1, out);
                Line(m, b, mm, mb, depth + 1, out);
                return;
            }
        }
        out->push_back(mb);
    }

    // One quadratic piece from a over control c to b. The bent piece's
    // control is chosen so that it passes through the bent middle of the
    // curve; where the envelope is straight that is the bent control.
    void Curve(GlyphPoint a, GlyphPoint c, GlyphPoint b, GlyphPoint ma, GlyphPoint mb, int depth,
               std::vector<GlyphSegment>* out) const
    {
        const GlyphPoint mm = map_(Quad(a, c, b, 0.5));
        const GlyphPoint mc{2 * mm.x - (ma.x + mb.x) / 2, 2 * mm.y - (ma.y + mb.y) / 2};
        if (depth < kMaxHalvings) {
            bool close = true;
            for (double t : {0.25, 0.75})
                close = close && Apart(map_(Quad(a, c, b, t)), Quad(ma, mc, mb, t)) <= kBendTolerance;
            if (!close) {
                const GlyphPoint ac = Mid(a, c), cb = Mid(c, b), m = Mid(ac, cb);
                Curve(a, ac, m, ma, mm, depth + 1, out);
                Curve(m, cb, b, mm, mb, depth + 1, out);
                return;
            }
        }
        out->push_back(GlyphSegment{kGlyphSegmentSpline, {mc, mb}});
    }

    std::function<GlyphPoint(GlyphPoint)> map_;
};

}  // namespace

void WarpGlyph(GlyphShape* shape, const GlyphBox& textBox, int32_t shapeNumber, bool horizontal, GlyphPoint pen,
               bool flipX, bool flipY)
{
    // Vertical text runs the same mapping with x and y exchanged.
    GlyphBox box{std::min(textBox.left, textBox.right), std::min(textBox.top, textBox.bottom),
                 std::max(textBox.left, textBox.right), std::max(textBox.top, textBox.bottom)};
    if (!horizontal) {
        box = GlyphBox{box.top, box.left, box.bottom, box.right};
        std::swap(pen.x, pen.y);
        SwapAll(shape);
    }
    Envelope e;
    e.shape = shapeNumber;
    e.L = box.left;
    e.W = box.right - box.left;
    e.H = box.bottom - box.top;
    e.M = (box.left + box.right) / 2;
    e.half = std::trunc(e.H / 2);
    e.quarter = std::trunc(e.H / 4);
    const double g = e.WidthFactor();

    // Heights are bent from the box's bottom edge, where every profile
    // starts: a letter's feet and its descender then stay inside the
    // envelope as its top does. Mirroring comes first, so that the
    // envelope bends the glyph where it ends up.
    auto map = [&](GlyphPoint p) {
        const double px = flipX ? -p.x : p.x;
        double Y = pen.y + p.y;
        if (flipY)
            Y = box.top + box.bottom - Y;
        double f = 1, o = 0;
        e.Height(pen.x + px, &f, &o);
        const double y = (Y - box.bottom) * f + o;
        double x = px * g;
        x += e.Width(pen.x + x, y);
        return GlyphPoint{x, y + box.bottom - pen.y};
    };
    const Bender bender(map);
    for (GlyphContour& c : shape->contours)
        bender.Contour(&c);

    bool any = false;
    GlyphBox ink{0, 0, 0, 0};
    auto grow = [&](const GlyphPoint& p) {
        if (!any) {
            ink = GlyphBox{p.x, p.y, p.x, p.y};
            any = true;
            return;
        }
        ink.left = std::min(ink.left, p.x);
        ink.top = std::min(ink.top, p.y);
        ink.right = std::max(ink.right, p.x);
        ink.bottom = std::max(ink.bottom, p.y);
    };
    for (const GlyphContour& c : shape->contours) {
        grow(c.start);
        for (const GlyphSegment& s : c.segments)
            for (const GlyphPoint& p : s.points)
                grow(p);
    }
    double f = 1, o = 0;
    e.Height(pen.x + (flipX ? -shape->advance.x : shape->advance.x), &f, &o);
    shape->advance.x *= g;
    shape->advance.y *= f;
    if (any) {
        shape->origin = {ink.left, ink.top};
        shape->box[0] = {ink.left, ink.top};
        shape->box[1] = {ink.right, ink.top};
        shape->box[2] = {ink.right, ink.bottom};
        shape->box[3] = {ink.left, ink.bottom};
    }
    if (!horizontal)
        SwapAll(shape);
}
