#include <gtest/gtest.h>

#include "graphics/rect_ops.h"

namespace {

void ExpectRect(const IntRect& r, int32_t l, int32_t t, int32_t rr, int32_t b)
{
    EXPECT_TRUE(r.left == l && r.top == t && r.right == rr && r.bottom == b)
        << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

TEST(RectOps, TinyEqualIntersectAndInside)
{
    EXPECT_EQ(RectIsTiny({0, 0, 3, 10}, 5, 5), 0);
    EXPECT_EQ(RectIsTiny({0, 0, 3, 4}, 5, 5), 1);
    EXPECT_EQ(RectIsTiny({3, 4, 0, 0}, 5, 5), 1);
    EXPECT_EQ(RectEqual({1, 2, 3, 4}, {0, 2, 3, 4}), 0);
    EXPECT_EQ(RectEqual({1, 2, 3, 4}, {1, 2, 3, 4}), 1);

    IntRect r{9, 9, 9, 9};
    EXPECT_EQ(RectIntersect({0, 0, 10, 10}, {10, 0, 20, 10}, &r), 0);  // edges only touch
    ExpectRect(r, 0, 0, 0, 0);
    EXPECT_EQ(RectIntersect({0, 0, 10, 10}, {5, -5, 20, 8}, &r), 1);
    ExpectRect(r, 5, 0, 10, 8);
    EXPECT_EQ(RectInsideRect({2, 2, 8, 8}, {0, 0, 10, 10}), 1);
    EXPECT_EQ(RectInsideRect({2, 2, 18, 8}, {0, 0, 10, 10}), 0);
}

TEST(RectOps, SquareAndMapScale)
{
    IntRect r;
    SquareAroundRect(0, 0, 10, 4, &r);
    ExpectRect(r, 0, -3, 10, 7);

    r = {10, 20, 30, 40};
    RectMapScale(&r, {0, 0, 99, 49}, {0, 0, 199, 24});
    ExpectRect(r, 20, 10, 60, 20);
}

TEST(RectOps, ClampOffsetShrinksAMoveButNeverTurnsItAround)
{
    // Inside: a move is cut at the edge it runs into.
    IntPoint off{-50, 200};
    ClampOffsetToBounds(&off, {10, 10, 20, 20}, {0, 0, 100, 100});
    EXPECT_TRUE(off.x == -10 && off.y == 80);
    off = {5, -5};
    ClampOffsetToBounds(&off, {10, 10, 20, 20}, {0, 0, 100, 100});
    EXPECT_TRUE(off.x == 5 && off.y == -5);

    // Past the right and bottom edges: further out is no move at all, not a
    // jump back inside; back in goes as far as asked.
    off = {7, 9};
    ClampOffsetToBounds(&off, {90, 90, 130, 140}, {0, 0, 100, 100});
    EXPECT_TRUE(off.x == 0 && off.y == 0);
    off = {-7, -9};
    ClampOffsetToBounds(&off, {90, 90, 130, 140}, {0, 0, 100, 100});
    EXPECT_TRUE(off.x == -7 && off.y == -9);

    // Past the left and top edges, mirrored; and a move of nothing stays one.
    off = {-3, -4};
    ClampOffsetToBounds(&off, {-20, -30, 10, 10}, {0, 0, 100, 100});
    EXPECT_TRUE(off.x == 0 && off.y == 0);
    off = {0, 0};
    ClampOffsetToBounds(&off, {-20, -30, 10, 10}, {0, 0, 100, 100});
    EXPECT_TRUE(off.x == 0 && off.y == 0);
    off = {3, 4};
    ClampOffsetToBounds(&off, {-20, -30, 10, 10}, {0, 0, 100, 100});
    EXPECT_TRUE(off.x == 3 && off.y == 4);

    // Larger than the page on both sides: stuck either way.
    off = {5, -5};
    ClampOffsetToBounds(&off, {-10, -10, 110, 110}, {0, 0, 100, 100});
    EXPECT_TRUE(off.x == 0 && off.y == 0);
}

TEST(RectOps, FitAspectAndSize)
{
    IntRect r;
    FitAspectInRect({0, 0, 100, 50}, 1, &r);
    ExpectRect(r, 25, 0, 75, 50);
    FitAspectInRect({0, 0, 100, 50}, 4, &r);
    ExpectRect(r, 0, 12, 100, 37);
    FitAspectInRect({0, 0, 100, 50}, 0, &r);
    ExpectRect(r, 25, 0, 75, 50);
    FitAspectInRect({0, 0, 100, 50}, -2, &r);
    ExpectRect(r, 25, 0, 75, 50);

    FitSizeInRect({0, 0, 100, 50}, 20, 10, &r);
    ExpectRect(r, 40, 20, 60, 30);
    FitSizeInRect({0, 0, 100, 50}, 400, 100, &r);
    ExpectRect(r, 0, 12, 100, 37);
    FitBoxInRect({0, 0, 100, 50}, 0, 10, &r);
    ExpectRect(r, 25, 0, 75, 50);
}

TEST(RectOps, QuadrantsWorkOnSixteenBits)
{
    EXPECT_EQ(RectDiagonalQuadrant({0, 0, 5, -5}), 1);
    EXPECT_EQ(RectDiagonalQuadrant({0, 0, -5, -5}), 2);
    EXPECT_EQ(RectDiagonalQuadrant({0, 0, -5, 5}), 3);
    EXPECT_EQ(RectDiagonalQuadrant({0, 0, 0, -5}), 0);
    EXPECT_EQ(RectDiagonalQuadrant({0, 0, 40000, -5}), 2);

    const int32_t want[4][5] = {
        {10, 10, 70, 30, 180}, {-20, 10, 40, 30, 90}, {-20, 20, 40, 40, 0}, {10, 20, 70, 40, -90}};
    for (int32_t q = 0; q < 4; ++q) {
        IntRect r{40, 30, 10, 20};
        double start = 1, sweep = 0;
        ArcQuadrantEllipse(q, &r, &start, &sweep);
        ExpectRect(r, want[q][0], want[q][1], want[q][2], want[q][3]);
        EXPECT_TRUE(start == want[q][4] && sweep == 90) << q;
    }
    IntRect r{40, 30, 10, 20};
    double start = 1, sweep = 0;
    ArcQuadrantEllipse(4, &r, &start, &sweep);
    ExpectRect(r, 10, 20, 40, 30);
    EXPECT_EQ(start, 1);

    const IntPoint pts[] = {{3, -1}, {-2, 4}, {0, 0}};
    PolygonBounds(pts, 3, &r);
    ExpectRect(r, -2, -1, 3, 4);
}

}  // namespace
