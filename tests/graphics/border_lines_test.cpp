#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "graphics/border_geometry.h"
#include "graphics/border_stripes.h"
#include "graphics/frame_border.h"
#include "shapes_test_support.h"

namespace {

std::vector<int> Stripes(int style, int width)
{
    StripeTable t;
    BorderStripeWidths(style, width, &t);
    return {t.s[0], t.s[1], t.s[2], t.s[3], t.s[4]};
}

using V = std::vector<int>;

TEST(BorderStripeWidths, GivesTheTableOfEachStyle)
{
    EXPECT_EQ(Stripes(2, 16), (V{3, 10, 3, -1, -1}));
    EXPECT_EQ(Stripes(3, 16), (V{2, 7, 7, -1, -1}));
    EXPECT_EQ(Stripes(4, 16), (V{7, 7, 2, -1, -1}));
    EXPECT_EQ(Stripes(5, 32), (V{3, 8, 10, 8, 3}));
    EXPECT_EQ(Stripes(6, 16), (V{4, 3, 2, 3, 4}));
    for (int style : {1, 7, 8, 9})
        EXPECT_EQ(Stripes(style, -12), (V{12, -1, -1, -1, -1}));
}

TEST(BorderStripeWidths, NarrowLinesKeepTheirWidth)
{
    // The gaps of thick-thin-thick use the outer stripes before a stripe of
    // no width is widened, so two units stay two units.
    EXPECT_EQ(Stripes(6, 2), (V{1, 1, 0, 1, 0}));
    EXPECT_EQ(Stripes(4, 1), (V{1, 0, 0, -1, -1}));
    EXPECT_EQ(Stripes(5, 4), (V{1, 1, 1, 1, 0}));
}

TEST(BorderStripeWidths, NothingForNoWidthOrAnUnknownStyle)
{
    EXPECT_EQ(Stripes(1, 0), (V{-1, -1, -1, -1, -1}));
    EXPECT_EQ(Stripes(10, 8), (V{-1, -1, -1, -1, -1}));
    EXPECT_EQ(Stripes(0, 8), (V{-1, -1, -1, -1, -1}));
    // A damaged width far beyond 16 bits is drawn at the widest that fits.
    EXPECT_EQ(Stripes(1, -2147483647 - 1)[0], 32767);
}

TEST(LayoutDashes, SpreadsTheDashesOverTheWholeLength)
{
    const DashLayout d = LayoutDashes(kLineLongDashes, 1, 100);
    EXPECT_EQ(d.count, 5);
    EXPECT_EQ(d.dash, 16);
    EXPECT_EQ(d.step, 21);  // the last dash ends at 84 + 16 = 100
    const DashLayout dots = LayoutDashes(kLineDots, 6, 60);
    EXPECT_EQ(dots.dash, 6);
    EXPECT_EQ(dots.count, 6);  // gap 3 x 2 = 6: trunc(66 / 12 + 0.5)
    EXPECT_EQ(dots.step, 10);
}

TEST(LayoutDashes, ShortLinesGetOneDashOrNone)
{
    // One dash fits: it starts at the start; no gap is computed from it.
    EXPECT_EQ(LayoutDashes(kLineLongDashes, 1, 20).count, 1);
    EXPECT_EQ(LayoutDashes(kLineLongDashes, 1, 20).step, 0);
    EXPECT_EQ(LayoutDashes(kLineLongDashes, 1, 2).count, 0);
    EXPECT_EQ(LayoutDashes(kLineShortDashes, 4, 0).count, 0);
    EXPECT_EQ(LayoutDashes(kLineShortDashes, 4, -30).count, 0);
}

LineRecord Line(IntPoint a, IntPoint b, int width, int style, int leftCap = 0, int rightCap = 0)
{
    LineRecord l;
    l.start = a;
    l.end = b;
    l.lineWidth = int16_t(width);
    l.lineStyle = int16_t(style);
    l.leftCap = uint8_t(leftCap);
    l.rightCap = uint8_t(rightCap);
    return l;
}

std::vector<IntPoint> Outline(const LineRecord& l, int part, int borderFlag = 0)
{
    IntPoint p[kBorderGeometryMaxPoints];
    int32_t n = 0;
    BorderGeometry(l, borderFlag, part, p, &n);
    return std::vector<IntPoint>(p, p + n);
}

std::string Points(const std::vector<IntPoint>& pts)
{
    std::ostringstream s;
    for (const IntPoint& p : pts)
        s << '(' << p.x << ',' << p.y << ')';
    return s.str();
}

TEST(BorderGeometry, CapsAsPointLists)
{
    // Width 8: half widths 4 and 3, arrow size 16; the line runs at y 50.
    const IntPoint a{100, 50}, b{200, 50};
    EXPECT_EQ(Points(Outline(Line(a, b, 8, 1, 0, 2), kBorderPartRightCap)), "(168,47)(168,39)(200,50)(168,63)(168,55)");
    EXPECT_EQ(Points(Outline(Line(a, b, 8, 1, 3, 0), kBorderPartLeftCap)), "(132,47)(137,39)(100,50)(137,63)(132,55)");
    EXPECT_EQ(Points(Outline(Line(a, b, 8, 1, 0, 4), kBorderPartRightCap)),
              "(174,47)(179,42)(200,42)(191,50)(200,60)(179,60)(174,55)");
    EXPECT_EQ(Points(Outline(Line(a, b, 8, 1, 0, 5), kBorderPartRightCap)),
              "(174,47)(179,42)(200,42)(200,60)(179,60)(174,55)");
    EXPECT_EQ(Points(Outline(Line(a, b, 8, 1, 0, 1), kBorderPartRightCap)),
              "(197,47)(193,47)(200,47)(200,54)(193,54)(197,55)");
    EXPECT_TRUE(Outline(Line(a, b, 8, 1, 0, 0), kBorderPartRightCap).empty());
}

TEST(BorderGeometry, BandOfALineAndOfABorderSide)
{
    const IntPoint a{100, 50}, b{200, 50};
    EXPECT_EQ(Points(Outline(Line(a, b, 8, 1, 1, 6), kBorderPartBand)), "(103,47)(192,47)(192,55)(103,55)");
    // A border side lies wholly on one side of its line.
    EXPECT_EQ(Points(Outline(Line(a, b, 8, 1, 2, 2), kBorderPartBand, 1)), "(100,50)(200,50)(200,58)(100,58)");
    EXPECT_TRUE(Outline(Line(a, b, 0, 1), kBorderPartBand).empty());
}

TEST(DrawFrameBorder, DrawsTheStripesAtTheirOffsets)
{
    ShapeCanvas c;
    // Double, width 16: 3, 10, 3 from the band's top edge 7 above the line.
    DrawFrameBorder(c.dc.get(), Line({10, 40}, {90, 40}, 16, kLineDouble), 0);
    EXPECT_EQ(c.column(50, 31, 51), "..###..........###..");
    EXPECT_EQ(c.row(34, 8, 12), "..##");
    EXPECT_EQ(c.row(34, 88, 92), "##..");
}

TEST(DrawFrameBorder, TurnsWithTheLine)
{
    ShapeCanvas c;
    // Straight down: the band's top edge (the thin stripe of thin-thick)
    // turns to the right of the line.
    DrawFrameBorder(c.dc.get(), Line({40, 10}, {40, 90}, 16, kLineThinThick), 0);
    EXPECT_EQ(c.row(50, 29, 49), "..#######.......##..");
}

TEST(DrawFrameBorder, DashesAndTheSingleDashOfAShortLine)
{
    ShapeCanvas c;
    DrawFrameBorder(c.dc.get(), Line({0, 10}, {100, 10}, 2, kLineLongDashes), 0);
    // Width 2: gap 6, dash 12, six dashes; the step 17.6 is cut to 17.
    std::string dashes;
    for (int i = 0; i < 6; ++i)
        dashes += std::string(12, '#') + (i < 5 ? std::string(5, '.') : std::string(3, '.'));
    EXPECT_EQ(c.row(10, 0, 100), dashes);

    ShapeCanvas s;
    DrawFrameBorder(s.dc.get(), Line({0, 10}, {9, 10}, 2, kLineLongDashes), 0);
    EXPECT_EQ(s.row(10, 0, 12), "#########...");
    EXPECT_EQ(s.row(11, 0, 12), "#########...");
}

TEST(DrawFrameBorder, NothingWithoutWidthOrStyle)
{
    ShapeCanvas c;
    DrawFrameBorder(c.dc.get(), Line({0, 10}, {100, 10}, 0, 1), 0);
    DrawFrameBorder(c.dc.get(), Line({0, 10}, {100, 10}, 4, 10), 0);
    DrawFrameBorder(c.dc.get(), Line({0, 10}, {100, 10}, -4, 1), 0);
    EXPECT_EQ(c.inkCount(), 0);
}

}  // namespace
