#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/ellipse_shape.h"
#include "graphics/matrix2.h"
#include "graphics/rect_shape.h"
#include "graphics/rotated_box.h"
#include "graphics/round_rect_shape.h"
#include "graphics/shape_helpers.h"
#include "graphics/styled_polygon.h"
#include "platform/dc_recorder.h"
#include "shapes_test_support.h"

namespace {

PlacementBlock Block(int x, int y, int w, int h, int width, int style, uint8_t sides = kAllSides)
{
    PlacementBlock b;
    b.x = x;
    b.y = y;
    b.width = int16_t(w);
    b.height = int16_t(h);
    b.lineWidth = int16_t(width);
    b.lineStyle = int16_t(style);
    b.sides = sides;
    return b;
}

TEST(DrawRectShape, TopAndBottomAloneAreTwoStyledLinesWithoutCorners)
{
    ShapeCanvas c;
    // Double, width 6: stripes 1 and 1 with a gap of 4, inside the frame.
    DrawRectShape(c.dc.get(), Block(10, 10, 60, 40, 6, 2, kSideTop | kSideBottom));
    EXPECT_EQ(c.column(40, 8, 53), "..#....#.............................#....#..");
    for (int x : {9, 10, 11, 69, 70, 71})
        EXPECT_EQ(c.column(x, 17, 44), std::string(27, '.')) << x;

    ShapeCanvas ring;
    DrawRectShape(ring.dc.get(), Block(10, 10, 60, 40, 6, 2));
    EXPECT_TRUE(ring.ink(10, 30) && ring.ink(15, 30));
}

TEST(DrawRectShape, EveryPathReadsTheSideBitsAlike)
{
    // 8 top, 4 right, 2 bottom, 1 left, for stripes and dashes, one side
    // or several.
    struct Case {
        int style;
        uint8_t sides;
        IntPoint inked[2];
        IntPoint clear[2];
    };
    const Case cases[] = {
        {7, kSideLeft, {{11, 46}, {11, 26}}, {{40, 11}, {68, 30}}},
        {9, kSideLeft, {{12, 13}, {12, 27}}, {{40, 12}, {68, 30}}},
        {7, kSideTop, {{14, 11}, {40, 11}}, {{11, 30}, {40, 48}}},
        {1, kSideRight, {{68, 30}, {66, 12}}, {{12, 30}, {40, 12}}},
        {1, kSideTop | kSideRight, {{40, 12}, {68, 30}}, {{12, 30}, {40, 48}}},
        {1, kSideRight | kSideBottom, {{68, 30}, {40, 48}}, {{40, 12}, {12, 30}}},
        {1, kSideBottom | kSideLeft | kSideTop, {{12, 30}, {40, 48}}, {{68, 30}, {40, 30}}},
    };
    for (const Case& k : cases) {
        ShapeCanvas c;
        DrawRectShape(c.dc.get(), Block(10, 10, 60, 40, 4, k.style, k.sides));
        for (const IntPoint& p : k.inked)
            EXPECT_TRUE(c.ink(p.x, p.y)) << "style " << k.style << " sides " << int(k.sides) << " at " << p.x << ","
                                         << p.y;
        for (const IntPoint& p : k.clear)
            EXPECT_FALSE(c.ink(p.x, p.y)) << "style " << k.style << " sides " << int(k.sides) << " at " << p.x
                                          << "," << p.y;
    }
}

TEST(DrawRectShape, NothingWithoutWidth)
{
    ShapeCanvas c;
    DrawRectShape(c.dc.get(), Block(10, 10, 60, 40, 0, 1));
    EXPECT_EQ(c.inkCount(), 0);
}

TEST(DrawEllipseShape, DashedStylesDrawASolidRing)
{
    ShapeCanvas dashed, solid;
    DrawEllipseShape(dashed.dc.get(), Block(10, 10, 90, 70, 6, 8), 1, kArcNone);
    DrawEllipseShape(solid.dc.get(), Block(10, 10, 90, 70, 6, 1), 1, kArcNone);
    EXPECT_EQ(dashed.image, solid.image);
    EXPECT_EQ(solid.row(45, 8, 20), "..######....");
    EXPECT_FALSE(solid.ink(55, 45));
}

TEST(DrawEllipseShape, QuarterArcRingsAroundTheCornerOfTheirCode)
{
    ShapeCanvas c;
    // Centre at the box's top-left: the lower-right quarter, 10 thick.
    DrawEllipseShape(c.dc.get(), Block(20, 20, 60, 60, 10, 1), 0, kArcCentreTopLeft);
    EXPECT_TRUE(c.ink(58, 58));   // radius 54 on the diagonal
    EXPECT_FALSE(c.ink(50, 50));  // radius 42, inside the ring
    EXPECT_FALSE(c.ink(22, 22));
    EXPECT_TRUE(c.ink(77, 22));   // the ring's straight end on the top side
    EXPECT_FALSE(c.ink(68, 22));
}

TEST(DrawEllipseShape, AQuarterArcAsThickAsItsRadiusFillsTheQuarter)
{
    ShapeCanvas c;
    DrawEllipseShape(c.dc.get(), Block(20, 20, 60, 60, 60, 1), 0, kArcCentreTopLeft);
    EXPECT_TRUE(c.ink(22, 22));
    EXPECT_TRUE(c.ink(50, 50));
    EXPECT_FALSE(c.ink(76, 76));  // outside the ellipse, inside the box
}

TEST(RoundRect, CornerRadiusIsAQuarterOfTheShorterSide)
{
    EXPECT_EQ(RoundRectRadius(Block(0, 0, 40, 100, 1, 1), 0), 10);
    EXPECT_EQ(RoundRectRadius(Block(0, 0, 40, 100, 1, 1), 1), 10);
    EXPECT_EQ(RoundRectRadius(Block(0, 0, 40, 100, 1, 1), 4), 7);
    EXPECT_EQ(RoundRectRadius(Block(0, 0, 43, 100, 1, 1), 0), 10);
}

TEST(RoundRect, RingsHaveRoundCornersAndNothingDrawsWhenNoRoomIsLeft)
{
    ShapeCanvas c;
    DrawRoundRectShape(c.dc.get(), Block(10, 10, 40, 60, 4, 1));
    EXPECT_TRUE(c.ink(11, 40));
    EXPECT_FALSE(c.ink(10, 10));
    EXPECT_TRUE(c.ink(13, 13));

    ShapeCanvas none;
    RoundRectPath(none.dc.get(), Block(10, 10, 4, 60, 1, 1), 2, true);
    EXPECT_EQ(none.inkCount(), 0);
}

TEST(StyledPolygon, PointsTurnLeftFromTheTop)
{
    const std::vector<FloatPoint> square = StyledPolygonPoints(Block(0, 0, 100, 100, 1, 1), {4, 1, 0});
    ASSERT_EQ(square.size(), 4u);
    EXPECT_NEAR(square[0].x, 50, 1e-4);
    EXPECT_NEAR(square[0].y, 0, 1e-4);
    EXPECT_NEAR(square[1].x, 0, 1e-4);
    EXPECT_NEAR(square[1].y, 50, 1e-4);

    const std::vector<FloatPoint> star = StyledPolygonPoints(Block(0, 0, 100, 100, 1, 1), {4, 0, 0.5});
    ASSERT_EQ(star.size(), 8u);
    EXPECT_NEAR(star[1].x, 50 - 25 * std::sqrt(0.5), 1e-3);
    EXPECT_NEAR(star[1].y, 50 - 25 * std::sqrt(0.5), 1e-3);
}

TEST(StyledPolygon, MovingInwardFollowsTheBisectorAndStopsAtTheCentre)
{
    std::vector<FloatPoint> diamond = StyledPolygonPoints(Block(0, 0, 100, 100, 1, 1), {4, 1, 0});
    PolygonMoveInward(&diamond, {50, 50}, 10);
    // The sides move 10 inward, so the corner moves 10 / sin 45.
    EXPECT_NEAR(diamond[0].x, 50, 1e-4);
    EXPECT_NEAR(diamond[0].y, 10 * std::sqrt(2.0), 1e-3);
    PolygonMoveInward(&diamond, {50, 50}, 1000);
    for (const FloatPoint& p : diamond) {
        EXPECT_NEAR(p.x, 50, 1e-3);
        EXPECT_NEAR(p.y, 50, 1e-3);
    }
    // Coincident neighbours give no direction, not a NaN.
    std::vector<FloatPoint> same(3, FloatPoint{5, 5});
    PolygonMoveInward(&same, {50, 50}, 3);
    EXPECT_FALSE(std::isnan(same[0].x));
}

TEST(StyledPolygon, ThickRingsLeaveTheMiddleEmpty)
{
    ShapeCanvas c;
    DrawStyledPolygon(c.dc.get(), Block(10, 0, 100, 100, 8, 1), {6, 1, 0});
    EXPECT_TRUE(c.ink(60, 4));
    EXPECT_FALSE(c.ink(60, 50));
    EXPECT_EQ(c.dc->pen().width, 1);
}

TEST(DrawXorLine, DrawnTwiceLeavesThePixelsAsTheyWere)
{
    ShapeCanvas c;
    c.dc->fillRect(IntRect{0, 0, 60, 100}, Brush::Solid(MakeRgb(200, 30, 90)));
    const QImage before = c.image;
    DrawXorLine(c.dc.get(), 10, 20, 100, 20);
    DrawXorLine(c.dc.get(), 30, 5, 50, 90);
    EXPECT_NE(c.image, before);
    EXPECT_EQ(FromQColor(c.image.pixelColor(80, 20)), kBlack);
    EXPECT_EQ(FromQColor(c.image.pixelColor(20, 20)), MakeRgb(55, 225, 165));
    EXPECT_EQ(FromQColor(c.image.pixelColor(80, 21)), kWhite);
    DrawXorLine(c.dc.get(), 30, 5, 50, 90);
    DrawXorLine(c.dc.get(), 10, 20, 100, 20);
    EXPECT_EQ(c.image, before);
    EXPECT_EQ(c.dc->rop2(), R2_COPYPEN);
}

TEST(FillPolygonRegion, FramesACollapsedStripeAndPaintsTheRest)
{
    const IntPoint collapsed[4] = {{10, 10}, {60, 10}, {60, 40}, {10, 10}};
    ShapeCanvas framed, painted;
    EXPECT_TRUE(FillPolygonRegion(framed.dc.get(), collapsed, 4, true));
    EXPECT_TRUE(FillPolygonRegion(painted.dc.get(), collapsed, 4, false));
    EXPECT_TRUE(framed.ink(58, 10) && painted.ink(50, 15));
    EXPECT_FALSE(framed.ink(50, 15));
    EXPECT_FALSE(FillPolygonRegion(painted.dc.get(), collapsed, 2, false));
}

TEST(ShapeHelpers, HalfShorterSide)
{
    EXPECT_EQ(HalfShorterSide(IntRect{0, 0, 41, 100}), 20);
    EXPECT_EQ(HalfShorterSide(IntRect{0, 0, 100, 7}), 3);
    EXPECT_EQ(HalfShorterSide(IntRect{41, 0, 0, 100}), -21);
}

// Collects where the line calls end.
class LineRecorder : public DcRecorder {
public:
    void lineTo(int32_t x, int32_t y) override { ends.push_back({x, y}); }
    std::vector<IntPoint> ends;
};

TEST(ShapeHelpers, BezierFlatteningHalvesToShortPiecesOnTheCurve)
{
    LineRecorder rec;
    const auto dc = Dc::ForRecording(&rec);
    const IntPoint curve[4] = {{0, 0}, {0, 80}, {80, 80}, {80, 0}};
    dc->moveTo(0, 0);
    DrawFlattenedBezier(dc.get(), curve);
    ASSERT_GE(rec.ends.size(), 16u);
    IntPoint prev{0, 0};
    for (const IntPoint& p : rec.ends) {
        // Under 5 apart before the ends are cut to whole units.
        EXPECT_LE(std::abs(p.x - prev.x) + std::abs(p.y - prev.y), 6);
        prev = p;
    }
    EXPECT_EQ(rec.ends.back().x, 80);
    EXPECT_EQ(rec.ends.back().y, 0);
    // The curve's highest point, at its middle, is 60.
    int deepest = 0;
    for (const IntPoint& p : rec.ends)
        deepest = std::max(deepest, p.y);
    EXPECT_EQ(deepest, 60);
}

TEST(Matrix2, RotatesPointsAndBoxes)
{
    Matrix2 m;
    Matrix2Rotate(&m, 45);
    Matrix2Rotate(&m, 45);
    EXPECT_NEAR(Matrix2Determinant(m), 1.0, 1e-9);
    const IntPoint p = Matrix2Apply(m, IntPoint{10, 0});
    EXPECT_TRUE(p.x == 0 && p.y == -10);

    const Matrix2 quarter{0.25, 0, 0, 0.25};
    EXPECT_EQ(Matrix2Apply(quarter, IntPoint{2, 0}).x, 1);
    EXPECT_EQ(Matrix2Apply(quarter, IntPoint{-2, 0}).x, -1);
    EXPECT_EQ(Matrix2Apply(quarter, Point16{2, 0}).x, 0);

    RotatedBox box;
    box.set(IntRect{0, 0, 10, 20}, 90);
    EXPECT_TRUE(box.rect.right == 10 && box.rect.bottom == 20);
    EXPECT_TRUE(box.bounds.left == 0 && box.bounds.top == -10 && box.bounds.right == 20 && box.bounds.bottom == 0);
    EXPECT_TRUE(box.corners[2].x == 20 && box.corners[2].y == -10);
    box.reset();
    EXPECT_TRUE(Matrix2IsIdentity(box.matrix) && box.angle == 0 && box.bounds.right == 0);
}

}  // namespace
