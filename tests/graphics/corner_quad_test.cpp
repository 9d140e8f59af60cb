#include <gtest/gtest.h>

#include "graphics/corner_quad.h"
#include "graphics/placement.h"
#include "graphics/quad_resize.h"

namespace {

CornerQuad QuadOf(const IntRect& r)
{
    CornerQuad q;
    RectToCornerQuad(r, &q);
    return q;
}

// The quad of a 20 x 10 frame at (0, 0) turned by a quarter.
CornerQuad TurnedQuad()
{
    CornerQuad q;
    PlacementCorners({0, 0, 10, 20, 90}, &q);
    return q;
}

void ExpectCorners(const CornerQuad& q, std::initializer_list<IntPoint> want)
{
    int i = 0;
    for (const IntPoint& p : want) {
        EXPECT_TRUE(q.corners[i].x == p.x && q.corners[i].y == p.y)
            << "corner " << i << ": " << q.corners[i].x << "," << q.corners[i].y;
        ++i;
    }
}

TEST(CornerQuad, HandlePointsHalveWithAnArithmeticShift)
{
    const CornerQuad q = QuadOf({-3, -3, 0, 0});
    IntPoint p;
    CornerQuadHandlePoint(q, 3, &p);
    EXPECT_TRUE(p.x == 0 && p.y == 0);
    CornerQuadHandlePoint(q, 5, &p);
    EXPECT_TRUE(p.x == -2 && p.y == -3);
    p = {7, 7};
    CornerQuadHandlePoint(q, 9, &p);
    EXPECT_TRUE(p.x == 0 && p.y == 0);
}

TEST(CornerQuad, InsetWorksAlongTheQuadsOwnAxes)
{
    CornerQuad q = QuadOf({0, 0, 20, 10});
    CornerQuadInset(&q, 2, 3);
    ExpectCorners(q, {{2, 3}, {18, 3}, {18, 7}, {2, 7}});

    q = TurnedQuad();
    ExpectCorners(q, {{0, 0}, {0, -20}, {10, -20}, {10, 0}});
    CornerQuadInset(&q, 2, 3);
    ExpectCorners(q, {{3, -2}, {3, -18}, {7, -18}, {7, -2}});
    EXPECT_EQ(q.angle, 90.0f);
}

TEST(QuadResize, CornerAndSideHandlesOnAPlainQuad)
{
    const CornerQuad ref = QuadOf({0, 0, 100, 50});
    CornerQuad q = ref;
    CornerQuadMoveHandle(&q, 10, 5, 3, ref, 0);
    ExpectCorners(q, {{0, 0}, {110, 0}, {110, 55}, {0, 55}});
    q = ref;
    CornerQuadMoveHandle(&q, 10, 99, 6, ref, 0);
    ExpectCorners(q, {{0, 0}, {110, 0}, {110, 50}});
    q = ref;
    CornerQuadMoveHandle(&q, 150, 80, 1, ref, 0);  // dragged past the opposite corner
    ExpectCorners(q, {{100, 50}, {150, 50}, {150, 80}});
    q = ref;
    CornerQuadMoveHandle(&q, 5, 7, 3, ref, 2);
    ExpectCorners(q, {{0, 0}, {105, 0}, {105, 50}});
    q = ref;
    CornerQuadMoveHandle(&q, 5, 7, 0, ref, 0);
    ExpectCorners(q, {{0, 0}, {100, 0}, {100, 50}});
}

TEST(QuadResize, ProportionsFollowTheLargerMoveAndNeedAReferenceWithArea)
{
    const CornerQuad ref = QuadOf({0, 0, 100, 50});
    CornerQuad q = ref;
    CornerQuadMoveHandle(&q, 10, 20, 3, ref, 1);
    ExpectCorners(q, {{0, 0}, {140, 0}, {140, 70}});
    q = ref;
    CornerQuadMoveHandle(&q, 30, 5, 3, ref, 1);
    ExpectCorners(q, {{0, 0}, {130, 0}, {130, 65}});

    const CornerQuad flat = QuadOf({0, 0, 100, 0});
    q = flat;
    CornerQuadMoveHandle(&q, 10, 20, 3, flat, 1);
    ExpectCorners(q, {{0, 0}, {110, 0}, {110, 20}});
}

TEST(QuadResize, ATurnedQuadResizesInItsOwnFrame)
{
    const CornerQuad ref = TurnedQuad();
    CornerQuad q = ref;
    // The bottom-right corner, at (10, -20) on the screen, follows the pointer.
    CornerQuadMoveHandle(&q, 5, -7, 3, ref, 0);
    ExpectCorners(q, {{0, 0}, {0, -27}, {15, -27}, {15, 0}});
    EXPECT_EQ(q.angle, 90.0f);

    q = ref;
    CornerQuadMoveHandleProportional(&q, 3, {12, -30}, ref);
    ExpectCorners(q, {{0, 0}, {0, -30}, {30, -30}, {30, 0}});
}

TEST(QuadResize, SquareGrowsFromTheOppositeHandle)
{
    const CornerQuad ref = QuadOf({0, 0, 100, 50});
    CornerQuad q = ref;
    CornerQuadMoveHandleProportional(&q, 3, {130, 20}, ref);
    ExpectCorners(q, {{0, 0}, {130, 0}, {130, 130}});
    q = ref;
    CornerQuadMoveHandleProportional(&q, 7, {3, 80}, ref);
    ExpectCorners(q, {{10, 0}, {90, 0}, {90, 80}});
    q = ref;
    CornerQuadMoveHandleProportional(&q, 6, {130, 3}, ref);
    ExpectCorners(q, {{0, -40}, {130, -40}, {130, 90}});
}

}  // namespace
