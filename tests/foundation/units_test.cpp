#include <gtest/gtest.h>

#include "foundation/paper_table.h"
#include "foundation/point_list.h"
#include "foundation/units.h"

namespace {

TEST(Units, FactorsAndTableAgreeAndUnknownUnitsArePoints)
{
    EXPECT_EQ(UnitFactorPoints(1), 72.0);
    EXPECT_DOUBLE_EQ(UnitFactorPoints(2), 72.0 / 2.54);  // 1 cm is 28.3465 pt
    EXPECT_EQ(UnitFactorPoints(3), 12.0);
    EXPECT_EQ(UnitFactorPoints(0), 1.0);
    EXPECT_EQ(UnitFactorPoints(4), 1.0);
    for (int32_t u = 0; u < kUnitCount; ++u)
        EXPECT_FLOAT_EQ(UnitTable[u].pointsPerUnit, float(UnitFactorPoints(u))) << u;
    EXPECT_STREQ(UnitEntryFor(2).shortName, "Cm");
    EXPECT_STREQ(UnitEntryFor(-5).shortName, "Point");
}

TEST(PaperTable, SheetPapersKeepTheirOwnSizes)
{
    int32_t w = -1, h = -1;
    EXPECT_EQ(PaperSizePoints(kSheetPaperCustom, &w, &h), 0);
    EXPECT_EQ(w, -1);
    EXPECT_EQ(PaperSizePoints(kSheetPaperA4, &w, &h), 1);
    EXPECT_EQ(h, 842);  // the printer table's A4 is 841 high
    EXPECT_EQ(PaperSizePoints(7, &w, &h), 0);
    EXPECT_EQ(w, 612);
    EXPECT_EQ(h, 792);

    EXPECT_EQ(PaperCodeForSize(595, 842), kSheetPaperA4);
    EXPECT_EQ(PaperCodeForSize(595, 841), kSheetPaperCustom);
    EXPECT_EQ(PaperCodeForSize(1224, 792), kSheetPaperCustom);
}

TEST(PointList, BoundsOfNoneOneAndSeveralPoints)
{
    IntRect r{1, 2, 3, 4};
    PointsBounds(nullptr, 0, &r);
    EXPECT_EQ(r.left | r.top | r.right | r.bottom, 0);

    const IntPoint one{-7, 9};
    PointsBounds(&one, 1, &r);
    EXPECT_TRUE(r.left == -7 && r.right == -7 && r.top == 9 && r.bottom == 9);

    const IntPoint pts[] = {{5, -2}, {-3, 8}, {4, 1}};
    PointsBounds(pts, 3, &r);
    EXPECT_TRUE(r.left == -3 && r.top == -2 && r.right == 5 && r.bottom == 8);
}

TEST(PointList, FitGrowsTheBoxOnBothSidesAndTruncatesTowardZero)
{
    IntPoint pts[] = {{0, 0}, {10, 0}, {10, 20}, {5, 10}};
    FitPointsToBounds(pts, 4, 5, 10);
    EXPECT_TRUE(pts[0].x == -5 && pts[0].y == -10);
    EXPECT_TRUE(pts[2].x == 15 && pts[2].y == 30);
    EXPECT_TRUE(pts[3].x == 5 && pts[3].y == 10);

    // Shrinking a box of 8 by 2 on each side halves it; -3 lands on -3.5.
    IntPoint neg[] = {{-8, -8}, {0, 0}, {-3, -3}};
    FitPointsToBounds(neg, 3, -2, -2);
    EXPECT_EQ(neg[0].x, -6);
    EXPECT_EQ(neg[1].x, -2);
    EXPECT_EQ(neg[2].x, -3);

    // A flat outline has no proportions to keep.
    IntPoint line[] = {{3, 1}, {3, 9}};
    FitPointsToBounds(line, 2, 4, 4);
    EXPECT_TRUE(line[0].x == 3 && line[0].y == 1 && line[1].y == 9);
}

TEST(PointList, ScaleTruncatesAndStopsAtTheIntegerRange)
{
    IntPoint pts[] = {{3, -3}, {2000000000, -2000000000}};
    ScalePoints(pts, 1, 0.5, 0.5);
    EXPECT_TRUE(pts[0].x == 1 && pts[0].y == -1);
    ScalePoints(pts + 1, 1, 2.0, 2.0);
    EXPECT_EQ(pts[1].x, 2147483647);
    EXPECT_EQ(pts[1].y, -2147483647 - 1);
}

}  // namespace
