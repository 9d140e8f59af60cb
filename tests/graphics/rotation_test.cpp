#include <gtest/gtest.h>

#include "graphics/rotation.h"
#include "support/alert_capture.h"

namespace {

IntPoint Turned(IntPoint p, int32_t cx, int32_t cy, double angle)
{
    RotatePoint(&p, 1, cx, cy, angle);
    return p;
}

#define EXPECT_POINT(p, ex, ey)   \
    do {                          \
        const IntPoint q_ = (p);  \
        EXPECT_EQ(q_.x, ex);      \
        EXPECT_EQ(q_.y, ey);      \
    } while (0)

TEST(RotatePoint, TruncatesTowardZeroAndTurnsCounterClockwise)
{
    EXPECT_POINT(Turned({10, 0}, 0, 0, 45), 7, -7);
    EXPECT_POINT(Turned({10, 0}, 0, 0, 90), 0, -10);
    EXPECT_POINT(Turned({10, 0}, 0, 0, -90), 0, 10);
    EXPECT_POINT(Turned({-10, 0}, 0, 0, 45), -7, 7);
    // The whole expression is truncated, centre included.
    EXPECT_POINT(Turned({-5, -10}, -10, -10, 45), -6, -13);
}

TEST(RotatePoint, QuarterTurnsAreExactByTheWholePartOfTheAngle)
{
    const IntPoint p{123457, -98765};
    EXPECT_POINT(Turned(p, 1000, 2000, 90), -99765, -120457);
    EXPECT_POINT(Turned(p, 1000, 2000, 90.6), -99765, -120457);
    EXPECT_POINT(Turned(p, 1000, 2000, 180), -121457, 102765);
    EXPECT_POINT(Turned(p, 1000, 2000, -180.9), -121457, 102765);
    EXPECT_POINT(Turned(p, 1000, 2000, 270.5), 101765, 124457);
    EXPECT_POINT(Turned(p, 1000, 2000, -0.7), 123457, -98765);

    IntPoint several[3] = {{1, 2}, {3, 4}, {5, 6}};
    RotatePoint(several, 2, 0, 0, 90);
    EXPECT_POINT(several[1], 4, -3);
    EXPECT_POINT(several[2], 5, 6);  // beyond the count
}

TEST(RotatePoint, UsesTheWholeXBeyondSixteenBits)
{
    EXPECT_POINT(Turned({100000, 0}, 0, 0, 90), 0, -100000);
    EXPECT_POINT(Turned({100000, 0}, 0, 0, 45), 70710, -70710);
}

TEST(RotatePoint, FloatPairsGetWholeNumbers)
{
    FloatPoint f{10.7f, 0};
    RotatePoint(&f, 1, 0.0, 0.0, 45);
    EXPECT_EQ(f.x, 7.0f);
    EXPECT_EQ(f.y, -7.0f);
    DoublePoint d[2] = {{10.7, 0}, {0, 3.9}};
    RotatePoint(d, 2, 0.0, 0.0, 90.5);
    EXPECT_EQ(d[0].x, 0.0);
    EXPECT_EQ(d[0].y, -10.0);
    EXPECT_EQ(d[1].x, 3.0);
}

TEST(VectorAngle, RangeAndLength)
{
    AlertCapture alerts;
    double a = -1;
    EXPECT_DOUBLE_EQ(VectorAngle(0, -5, &a), 5.0);
    EXPECT_DOUBLE_EQ(a, 90);
    VectorAngle(-5, 0, &a);
    EXPECT_DOUBLE_EQ(a, 180);
    VectorAngle(0, 5, &a);
    EXPECT_DOUBLE_EQ(a, -90);
    VectorAngle(5, 0, &a);
    EXPECT_DOUBLE_EQ(a, 0);
    VectorAngle(-5, 5, &a);
    EXPECT_DOUBLE_EQ(a, 225);
    EXPECT_DOUBLE_EQ(VectorAngleToPoint({10, 10}, {13, 6}, &a), 5.0);
    EXPECT_NEAR(a, 53.13, 0.01);
    EXPECT_TRUE(alerts.beeps().empty());
}

TEST(VectorAngle, NoLengthBeepsExceptForTheRectangleForm)
{
    AlertCapture alerts;
    double a = 7;
    EXPECT_EQ(VectorAngle(0, 0, &a), 0.0);
    EXPECT_EQ(a, 0.0);
    a = 7;
    EXPECT_EQ(VectorAngleToPoint({3, 4}, {3, 4}, &a), 0.0);
    EXPECT_EQ(a, 0.0);
    EXPECT_EQ(alerts.beeps(), (std::vector<uint32_t>{0x30, 0x30}));
    EXPECT_EQ(VectorAngleOfRect({5, 5, 5, 5}, &a), 0.0);
    EXPECT_EQ(alerts.beeps().size(), 2u);
    EXPECT_DOUBLE_EQ(VectorAngleOfRect({0, 0, 0, -3}, &a), 3.0);
    EXPECT_DOUBLE_EQ(a, 90);
}

TEST(Angles, QuarterTurnsAndDoubleTruncation)
{
    EXPECT_EQ(AngleQuarterTurns(89.9), 0);
    EXPECT_EQ(AngleQuarterTurns(90), 1);
    EXPECT_EQ(AngleQuarterTurns(-10), 3);
    EXPECT_EQ(AngleQuarterTurns(-90), 3);
    EXPECT_EQ(DoubleToIntTrunc(2.7), 2);
    EXPECT_EQ(DoubleToIntTrunc(-0.7), 0);
    EXPECT_EQ(DoubleToIntTrunc(-1.0), 0);
    EXPECT_EQ(DoubleToIntTrunc(-2.5), -1);
}

}  // namespace
