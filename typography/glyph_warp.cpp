#include "typography/glyph_warp.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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

    // Width offset at X for a point at height y (from the baseline).
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
    // The box's top and bottom seen from the pen, for mirroring.
    const double crossSum = (box.top - pen.y) + (box.bottom - pen.y);

    bool any = false;
    GlyphBox ink{0, 0, 0, 0};
    auto map = [&](GlyphPoint& p) {
        // Mirrored first, so that the envelope bends the glyph where it
        // ends up.
        const double px = flipX ? -p.x : p.x;
        const double py = flipY ? crossSum - p.y : p.y;
        double f = 1, o = 0;
        e.Height(pen.x + px, &f, &o);
        const double y = py * f + o;
        double x = px * g;
        x += e.Width(pen.x + x, y);
        p = {x, y};
        if (!any) {
            ink = GlyphBox{x, y, x, y};
            any = true;
        } else {
            ink.left = std::min(ink.left, x);
            ink.top = std::min(ink.top, y);
            ink.right = std::max(ink.right, x);
            ink.bottom = std::max(ink.bottom, y);
        }
    };
    for (GlyphContour& c : shape->contours) {
        map(c.start);
        for (GlyphSegment& s : c.segments)
            for (GlyphPoint& p : s.points)
                map(p);
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
