#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "foundation/paper_table.h"
#include "foundation/point_list.h"
#include "foundation/units.h"

namespace {

TEST(Units, FactorsAndTableAgreeAndUnknownUnitsArePoints)
{
    EXPECT_EQ(UnitFactorPoints(1), 72.0);
    EXPECT_EQ(UnitFactorPoints(2), 28.3168);
    EXPECT_EQ(UnitFactorPoints(3), 12.0);
    EXPECT_EQ(UnitFactorPoints(0), 1.0);
    EXPECT_EQ(UnitFactorPoints(4), 1.0);
    EXPECT_EQ(UnitFactorPoints(-1), 1.0);
    for (int32_t u = 0; u < kUnitCount; ++u)
        EXPECT_FLOAT_EQ(UnitTable[u].pointsPerUnit, float(UnitFactorPoints(u))) << u;
    EXPECT_STREQ(UnitTable[kUnitCentimeters].longName, "Centimeters");
    EXPECT_STREQ(UnitTable[kUnitCentimeters].shortName, "Cm");
    EXPECT_STREQ(UnitEntryFor(9).shortName, "Point");
    EXPECT_STREQ(UnitEntryFor(-5).shortName, "Point");
}

TEST(PaperTable, EveryCodeAppearsOnceAndAnyFormatHasNone)
{
    ASSERT_EQ(PaperTableCount(), 42);
    EXPECT_EQ(PaperTable[kPaperEntryAnyFormat].code, 0u);
    EXPECT_EQ(PaperTable[kPaperEntryLetter].code, 1u);
    std::set<uint32_t> codes;
    for (const PaperEntry& e : PaperTable) {
        codes.insert(e.code);
        EXPECT_LT(std::strlen(e.name), sizeof e.name);
    }
    EXPECT_EQ(codes.size(), 42u);
    EXPECT_EQ(*codes.rbegin(), 41u);
}

TEST(PaperTable, SheetPapersKeepTheirOwnSizes)
{
    int32_t w = -1, h = -1;
    EXPECT_EQ(PaperSizePoints(kSheetPaperA4, &w, &h), 1);
    EXPECT_EQ(w, 595);
    EXPECT_EQ(h, 842);  // the printer table's A4 is 841 high
    EXPECT_EQ(PaperSizePoints(kSheetPaperB5, &w, &h), 1);
    EXPECT_EQ(w, 499);
    EXPECT_EQ(h, 709);

    w = h = -1;
    EXPECT_EQ(PaperSizePoints(kSheetPaperCustom, &w, &h), 0);
    EXPECT_EQ(w, -1);
    EXPECT_EQ(h, -1);
    EXPECT_EQ(PaperSizePoints(7, &w, &h), 0);
    EXPECT_EQ(w, 612);
    EXPECT_EQ(h, 792);

    EXPECT_EQ(PaperCodeForSize(792, 1224), kSheetPaperTabloid);
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
    EXPECT_EQ(r.left, -7);
    EXPECT_EQ(r.right, -7);
    EXPECT_EQ(r.top, 9);
    EXPECT_EQ(r.bottom, 9);

    const IntPoint pts[] = {{5, -2}, {-3, 8}, {4, 1}};
    PointsBounds(pts, 3, &r);
    EXPECT_EQ(r.left, -3);
    EXPECT_EQ(r.top, -2);
    EXPECT_EQ(r.right, 5);
    EXPECT_EQ(r.bottom, 8);
}

TEST(PointList, FitGrowsTheBoxOnBothSidesAndTruncatesTowardZero)
{
    IntPoint pts[] = {{0, 0}, {10, 0}, {10, 20}, {5, 10}};
    FitPointsToBounds(pts, 4, 5, 10);
    EXPECT_EQ(pts[0].x, -5);
    EXPECT_EQ(pts[0].y, -10);
    EXPECT_EQ(pts[2].x, 15);
    EXPECT_EQ(pts[2].y, 30);
    EXPECT_EQ(pts[3].x, 5);
    EXPECT_EQ(pts[3].y, 10);

    // Shrinking a box of 8 by 2 on each side halves it; -3 lands on -3.5.
    IntPoint neg[] = {{-8, -8}, {0, 0}, {-3, -3}};
    FitPointsToBounds(neg, 3, -2, -2);
    EXPECT_EQ(neg[0].x, -6);
    EXPECT_EQ(neg[1].x, -2);
    EXPECT_EQ(neg[2].x, -3);
}

TEST(PointList, FitLeavesAFlatOutlineAlone)
{
    IntPoint line[] = {{3, 1}, {3, 9}};
    FitPointsToBounds(line, 2, 4, 4);
    EXPECT_EQ(line[0].x, 3);
    EXPECT_EQ(line[0].y, 1);
    EXPECT_EQ(line[1].y, 9);
    IntPoint dot{2, 2};
    FitPointsToBounds(&dot, 1, 1, 1);
    EXPECT_EQ(dot.x, 2);
}

TEST(PointList, ScaleTruncatesAndStopsAtTheIntegerRange)
{
    IntPoint pts[] = {{10, -10}, {3, -3}, {2000000000, -2000000000}};
    ScalePoints(pts, 3, 0.5, 0.5);
    EXPECT_EQ(pts[0].x, 5);
    EXPECT_EQ(pts[0].y, -5);
    EXPECT_EQ(pts[1].x, 1);
    EXPECT_EQ(pts[1].y, -1);
    ScalePoints(pts + 2, 1, 4.0, 4.0);
    EXPECT_EQ(pts[2].x, 2147483647);
    EXPECT_EQ(pts[2].y, -2147483647 - 1);
}

}  // namespace
