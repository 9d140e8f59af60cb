#include <gtest/gtest.h>

#include <cmath>

#include "graphics/rotation.h"
#include "support/alert_capture.h"

namespace {

void ExpectTurned(IntPoint p, IntPoint centre, double angle, int32_t x, int32_t y)
{
    RotatePoint(&p, 1, centre.x, centre.y, angle);
    EXPECT_TRUE(p.x == x && p.y == y) << angle << " gives " << p.x << "," << p.y;
}

TEST(RotatePoint, TruncatesTowardZeroAndTurnsCounterClockwise)
{
    ExpectTurned({10, 0}, {0, 0}, 45, 7, -7);
    ExpectTurned({10, 0}, {0, 0}, 90, 0, -10);
    ExpectTurned({10, 0}, {0, 0}, -90, 0, 10);
    ExpectTurned({-10, 0}, {0, 0}, 45, -7, 7);
    // The whole expression is truncated, the centre included.
    ExpectTurned({-5, -10}, {-10, -10}, 45, -6, -13);
}

TEST(RotatePoint, QuarterTurnsAreExactByTheWholePartOfTheAngle)
{
    const IntPoint p{123457, -98765}, c{1000, 2000};
    ExpectTurned(p, c, 90.6, -99765, -120457);
    ExpectTurned(p, c, -180.9, -121457, 102765);
    ExpectTurned(p, c, 270.5, 101765, 124457);
    ExpectTurned(p, c, -0.7, 123457, -98765);

    IntPoint several[3] = {{1, 2}, {3, 4}, {5, 6}};
    RotatePoint(several, 2, 0, 0, 90);
    EXPECT_TRUE(several[1].x == 4 && several[1].y == -3 && several[2].x == 5);
}

TEST(RotatePoint, UsesTheWholeXBeyondSixteenBits)
{
    ExpectTurned({100000, 0}, {0, 0}, 90, 0, -100000);
    ExpectTurned({100000, 0}, {0, 0}, 45, 70710, -70710);
}

TEST(RotatePoint, FloatPairsGetWholeNumbers)
{
    FloatPoint f{10.7f, 0};
    RotatePoint(&f, 1, 0.0, 0.0, 45);
    EXPECT_TRUE(f.x == 7.0f && f.y == -7.0f);
}

TEST(VectorAngle, RangeLengthAndTheBeepForNoLength)
{
    AlertCapture alerts;
    // Level lines short and long, either way, on both sides of the length
    // whose square a double no longer holds exactly.
    const int32_t cases[][3] = {{0, -5, 90},        {-5, 0, 180},       {0, 5, -90},         {5, 0, 0},
                                {-5, 5, 225},       {1, 0, 0},          {-1, 0, 180},        {(1 << 26) - 1, 0, 0},
                                {-(1 << 26) + 1, 0, 180}, {1 << 26, 0, 0}, {-(1 << 30), 0, 180}, {(1 << 30) + 7, 0, 0}};
    for (const auto& c : cases) {
        double a = -1;
        EXPECT_DOUBLE_EQ(VectorAngle(c[0], c[1], &a), std::hypot(c[0], c[1]));
        EXPECT_DOUBLE_EQ(a, c[2]) << c[0] << "," << c[1];
    }
    double a = -1;
    EXPECT_DOUBLE_EQ(VectorAngleToPoint({10, 10}, {13, 6}, &a), 5.0);
    EXPECT_NEAR(a, 53.13, 0.01);
    EXPECT_TRUE(alerts.beeps().empty());

    EXPECT_EQ(VectorAngle(0, 0, &a), 0.0);
    EXPECT_EQ(a, 0.0);
    a = 7;
    EXPECT_EQ(VectorAngleToPoint({3, 4}, {3, 4}, &a), 0.0);
    EXPECT_EQ(a, 0.0);
    EXPECT_EQ(VectorAngleOfRect({5, 5, 5, 5}, &a), 0.0);
    EXPECT_EQ(alerts.beeps(), (std::vector<uint32_t>{0x30, 0x30}));
}

TEST(Angles, QuarterTurnsAndDoubleTruncation)
{
    EXPECT_EQ(AngleQuarterTurns(89.9), 0);
    EXPECT_EQ(AngleQuarterTurns(90), 1);
    EXPECT_EQ(AngleQuarterTurns(-10), 3);
    EXPECT_EQ(DoubleToIntTrunc(2.7), 2);
    EXPECT_EQ(DoubleToIntTrunc(-0.7), 0);
    EXPECT_EQ(DoubleToIntTrunc(-2.5), -1);
}

}  // namespace
