// The envelope shapes as geometry: a line of block letters that fills the
// envelope's box is bent by every shape, and what comes out must still be
// the line's letters: inside the box, each letter whole and apart from its
// neighbours, in their order, the envelope's edges without jumps.
#include <gtest/gtest.h>

#include <QPainterPath>
#include <cmath>
#include <vector>

#include "typography/glyph_shape.h"
#include "typography/glyph_warp.h"

namespace {

// The envelope box and the line's baseline in it, with room for a
// descent, as a stretched line of text has.
constexpr GlyphBox kBox{100, 50, 500, 150};
constexpr double kBaseline = 130;
constexpr int kLetters = 8;
constexpr double kAdvance = (kBox.right - kBox.left) / kLetters;
constexpr double kGap = 8;

// A block letter at its pen: the box's full height, one advance wide less
// the gap, as four straight edges.
GlyphShape Block()
{
    GlyphShape g;
    const double top = kBox.top - kBaseline, bottom = kBox.bottom - kBaseline, w = kAdvance - kGap;
    g.contours.push_back(GlyphContour{{0, top}, {GlyphSegment{kGlyphSegmentLine, {{w, top}, {w, bottom}, {0, bottom}}}}});
    g.advance = {kAdvance, 0};
    return g;
}

// A round letter: an "O" of quadratic splines, an inner one for its hole.
GlyphShape Ring()
{
    GlyphShape g;
    auto oval = [&](double inset, bool reverse) {
        const double l = inset, r = kAdvance - kGap - inset;
        const double t = kBox.top - kBaseline + inset, b = kBox.bottom - kBaseline - inset;
        const double cx = (l + r) / 2, cy = (t + b) / 2;
        std::vector<GlyphPoint> controls = {{r, t}, {r, b}, {l, b}, {l, t}};
        std::vector<GlyphPoint> ends = {{r, cy}, {cx, b}, {l, cy}, {cx, t}};
        GlyphContour c{{cx, t}, {}};
        if (reverse) {
            std::vector<GlyphPoint> rc = {{l, t}, {l, b}, {r, b}, {r, t}};
            std::vector<GlyphPoint> re = {{l, cy}, {cx, b}, {r, cy}, {cx, t}};
            controls = rc;
            ends = re;
        }
        for (size_t i = 0; i < 4; ++i)
            c.segments.push_back(GlyphSegment{kGlyphSegmentSpline, {controls[i], ends[i]}});
        return c;
    };
    g.contours.push_back(oval(0, false));
    g.contours.push_back(oval(10, true));
    g.advance = {kAdvance, 0};
    return g;
}

QPainterPath Path(const GlyphShape& g, GlyphPoint pen)
{
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const GlyphContour& c : g.contours) {
        QPointF at(pen.x + c.start.x, pen.y + c.start.y);
        path.moveTo(at);
        for (const GlyphSegment& s : c.segments) {
            const size_t n = s.points.size();
            for (size_t i = 0; i < n; ++i) {
                const QPointF p(pen.x + s.points[i].x, pen.y + s.points[i].y);
                if (s.kind == kGlyphSegmentLine) {
                    path.lineTo(p);
                } else if (i + 1 < n) {
                    const GlyphPoint e = i + 2 == n ? s.points[i + 1]
                                                    : GlyphPoint{(s.points[i].x + s.points[i + 1].x) / 2,
                                                                 (s.points[i].y + s.points[i + 1].y) / 2};
                    path.quadTo(p, QPointF(pen.x + e.x, pen.y + e.y));
                }
            }
        }
        path.closeSubpath();
    }
    return path;
}

// Where the envelope takes one point of a letter drawn at pen.
GlyphPoint Mapped(int shape, GlyphPoint pen, GlyphPoint at, bool horizontal = true)
{
    GlyphShape g;
    g.contours.push_back(GlyphContour{at, {}});
    WarpGlyph(&g, kBox, shape, horizontal, pen, false, false);
    return {pen.x + g.contours[0].start.x, pen.y + g.contours[0].start.y};
}

struct WarpedLine {
    std::vector<QPainterPath> letters;
    std::vector<GlyphPoint> pens;
};

WarpedLine Warp(int shape, GlyphShape (*letter)())
{
    WarpedLine line;
    GlyphPoint pen{kBox.left, kBaseline};
    for (int i = 0; i < kLetters; ++i) {
        GlyphShape g = letter();
        WarpGlyph(&g, kBox, shape, true, pen, false, false);
        line.letters.push_back(Path(g, pen));
        line.pens.push_back(pen);
        pen.x += g.advance.x;
        pen.y += g.advance.y;
    }
    return line;
}

constexpr const char* kNames[] = {"",           "Rectangular",     "Double Arch Up",   "Double Arch Down",
                                  "Arc Up",     "Arc Down",        "Top Arch",         "Bottom Arch",
                                  "Round Top",  "Round Bottom",    "Squeeze",          "Balloon",
                                  "Perspective Right", "Perspective Left", "Fan",      "Receding",
                                  "Angle Up",   "Angle Down",      "Slant Left",       "Slant Right",
                                  "Pennant Right", "Pennant Left"};

class EveryEnvelope : public ::testing::TestWithParam<int> {};

TEST_P(EveryEnvelope, KeepsTheLettersInsideTheBox)
{
    const int shape = GetParam();
    for (auto letter : {Block, Ring}) {
        const WarpedLine line = Warp(shape, letter);
        for (int i = 0; i < kLetters; ++i) {
            const QRectF b = line.letters[size_t(i)].boundingRect();
            EXPECT_GE(b.left(), kBox.left - 1) << kNames[shape] << " letter " << i;
            EXPECT_LE(b.right(), kBox.right + 1) << kNames[shape] << " letter " << i;
            EXPECT_GE(b.top(), kBox.top - 1) << kNames[shape] << " letter " << i;
            EXPECT_LE(b.bottom(), kBox.bottom + 1) << kNames[shape] << " letter " << i;
        }
    }
}

TEST_P(EveryEnvelope, LeavesEachLetterWholeAndApartInItsPlace)
{
    const int shape = GetParam();
    const WarpedLine line = Warp(shape, Block);
    const double top = kBox.top - kBaseline, bottom = kBox.bottom - kBaseline, w = kAdvance - kGap;
    double lastMiddle = -1e9;
    for (int i = 0; i < kLetters; ++i) {
        const QPainterPath& letter = line.letters[size_t(i)];
        // Every point inside the letter lands inside its bent outline: an
        // outline that crossed itself would leave some outside.
        for (double fx : {0.1, 0.3, 0.5, 0.7, 0.9}) {
            for (double fy : {0.1, 0.3, 0.5, 0.7, 0.9}) {
                const GlyphPoint p = Mapped(shape, line.pens[size_t(i)], {w * fx, top + (bottom - top) * fy});
                EXPECT_TRUE(letter.contains(QPointF(p.x, p.y)))
                    << kNames[shape] << " letter " << i << " at " << fx << ", " << fy;
            }
        }
        if (i + 1 < kLetters) {
            EXPECT_FALSE(letter.intersects(line.letters[size_t(i) + 1])) << kNames[shape] << " letters " << i;
        }
        // The letters follow each other along the line.
        const GlyphPoint middle = Mapped(shape, line.pens[size_t(i)], {w / 2, (top + bottom) / 2});
        EXPECT_GT(middle.x, lastMiddle) << kNames[shape] << " letter " << i;
        lastMiddle = middle.x;
    }
}

TEST_P(EveryEnvelope, BendsEdgesWithoutJumps)
{
    // The box's top and bottom edges, taken point by point from letters at
    // different pens, form two unbroken curves: a point lands in the same
    // place whichever letter it belongs to, and moves a little when it
    // moves a little. The slants draw the line three quarters as wide, so
    // their pens move three quarters as far.
    const int shape = GetParam();
    const double g = shape == 18 || shape == 19 ? 0.75 : 1;
    const int steps = 400;
    for (double y : {kBox.top, kBox.bottom}) {
        GlyphPoint last{};
        for (int k = 0; k <= steps; ++k) {
            const double x = kBox.left + (kBox.right - kBox.left) * k / steps;
            const GlyphPoint here = Mapped(shape, {kBox.left, kBaseline}, {x - kBox.left, y - kBaseline});
            const GlyphPoint there = Mapped(shape, {kBox.left + g * (x - 7 - kBox.left), kBaseline}, {7, y - kBaseline});
            EXPECT_NEAR(here.x, there.x, 1e-6) << kNames[shape] << " at " << x;
            EXPECT_NEAR(here.y, there.y, 1e-6) << kNames[shape] << " at " << x;
            if (k > 0) {
                EXPECT_LT(std::abs(here.y - last.y), (kBox.bottom - kBox.top) / 4) << kNames[shape] << " at " << x;
                EXPECT_LT(std::abs(here.x - last.x), 4.0) << kNames[shape] << " at " << x;
            }
            last = here;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(GlyphWarp, EveryEnvelope, ::testing::Range(1, 22),
                         [](const ::testing::TestParamInfo<int>& info) {
                             std::string name = kNames[info.param];
                             std::erase(name, ' ');
                             return name;
                         });

}  // namespace
