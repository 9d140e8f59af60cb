#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "graphics/corner_quad.h"
#include "graphics/line_forms.h"
#include "graphics/placement.h"
#include "graphics/placement_format.h"
#include "support/alert_capture.h"

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> v)
{
    return std::vector<uint8_t>(v.begin(), v.end());
}

void ExpectRect(const IntRect& r, int32_t l, int32_t t, int32_t rr, int32_t b)
{
    EXPECT_TRUE(r.left == l && r.top == t && r.right == rr && r.bottom == b)
        << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

TEST(PlacementFormat, StoredLayoutsByteForByte)
{
    const PlacementBlock b{{0x01020304, -2, 0x1122, -3, 1.5f}, 2.0f, 0x0506, 7, 0xA5};
    std::vector<uint8_t> out(kPlacementBlockSize);
    PutPlacementBlock(out.data(), b);
    EXPECT_EQ(out, Bytes({0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 0x22, 0x11, 0xFD, 0xFF, 0x00,
                          0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00, 0x40, 0x06, 0x05, 0x07, 0x00, 0xA5}));
    std::vector<uint8_t> again(kPlacementBlockSize);
    PutPlacementBlock(again.data(), GetPlacementBlock(out.data()));
    EXPECT_EQ(again, out);
    std::vector<uint8_t> head(kFramePlacementSize);
    PutFramePlacement(head.data(), GetFramePlacement(out.data()));
    EXPECT_TRUE(std::equal(head.begin(), head.end(), out.begin()));

    const LineRecord r{{1, -1}, {0x7FFFFFFF, 2}, 0x1F, 3, 4, -1};
    std::vector<uint8_t> line(kLineRecordSize);
    PutLineRecord(line.data(), r);
    EXPECT_EQ(line, Bytes({0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                           0x7F, 0x02, 0x00, 0x00, 0x00, 0x1F, 0x03, 0x04, 0x00, 0xFF, 0xFF}));
    std::vector<uint8_t> lineAgain(kLineRecordSize);
    PutLineRecord(lineAgain.data(), GetLineRecord(line.data()));
    EXPECT_EQ(lineAgain, line);
}

TEST(Placement, UnturnedCornersAndBoundsAlsoForANegativeWidth)
{
    const FramePlacement p{10, 20, 5, -8, 0};
    CornerQuad q;
    PlacementCorners(p, &q);
    EXPECT_TRUE(q.corners[1].x == 2 && q.corners[1].y == 20 && q.corners[3].x == 10 && q.corners[3].y == 25);
    IntRect r;
    CornerQuadBounds(q, &r);
    ExpectRect(r, 2, 20, 10, 25);
    PlacementToRect(p, &r);
    ExpectRect(r, 10, 20, 2, 25);

    PlacementBlock b;
    b.length = 9;
    RectToPlacement({4, 5, 1, 9}, 30, &b);
    EXPECT_TRUE(b.x == 4 && b.y == 5 && b.width == -3 && b.height == 4 && b.angle == 30.0f);
    EXPECT_TRUE(b.sides == 255 && b.length == 9.0f);
}

TEST(Placement, TurnedCornersTruncateAndConvertBack)
{
    const FramePlacement p{100, 100, 20, 40, 30};
    CornerQuad q;
    PlacementCorners(p, &q);
    // sin 30 in doubles is just under one half: -20 and 10 truncate to -19 and 9.
    const IntPoint want[4] = {{100, 100}, {134, 81}, {144, 98}, {109, 117}};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(q.corners[i].x == want[i].x && q.corners[i].y == want[i].y) << i;
    EXPECT_EQ(q.angle, 30.0f);
    IntRect r;
    PlacementRotatedBounds(p, &r);
    ExpectRect(r, 100, 81, 144, 117);
    CornerQuadBoundsNormalized(q, &r);
    ExpectRect(r, 100, 100, 139, 120);  // sides rounded
    FramePlacement back;
    QuadToPlacement(q, &back);
    EXPECT_TRUE(back.x == 100 && back.y == 100 && back.width == 38 && back.height == 19 && back.angle == 30.0f);

}

TEST(Placement, RotateAboutDropsFractionsAndKeepsTheSign)
{
    FramePlacement p{10, 0, 1, 1, 350.7f};
    PlacementRotateAbout(&p, 30, {10, 0});
    EXPECT_EQ(p.angle, 20.0f);
    p.angle = 10;
    PlacementRotateAbout(&p, -30, {10, 0});
    EXPECT_EQ(p.angle, -20.0f);
    EXPECT_TRUE(p.x == 10 && p.y == 0);
    PlacementRotateAbout(&p, 90.4, {0, 0});
    EXPECT_TRUE(p.x == 0 && p.y == -10 && p.angle == 70.0f);
    p.angle = -200;
    PlacementRotateAbout(&p, -200, {0, 0});
    EXPECT_EQ(p.angle, -40.0f);
}

TEST(Placement, ScaleZoomsAndKeepsThinLinesVisible)
{
    PlacementBlock b{{-7, 9, 10, -20, 0}, 10, 1, 0, 0};
    PlacementScale(&b, 1, 3);
    EXPECT_TRUE(b.x == -2 && b.y == 3 && b.height == 3 && b.width == -6 && b.lineWidth == 1);
    EXPECT_FLOAT_EQ(b.length, 10.0f / 3);
    b.lineWidth = 0;
    PlacementScale(&b, 1000000, 1);
    EXPECT_TRUE(b.x == -2000000 && b.lineWidth == 0);
}

TEST(Placement, InsetByAnchor)
{
    const FramePlacement start{100, 200, 50, 80, 45};
    const int32_t want[5][4] = {
        {110, 205, 40, 60}, {110, 200, 45, 70}, {100, 200, 45, 70}, {100, 205, 45, 70}, {110, 205, 45, 70}};
    for (int32_t anchor = 0; anchor <= 4; ++anchor) {
        FramePlacement p = start;
        EXPECT_EQ(PlacementInset(&p, 10, 5, anchor), 0);
        EXPECT_TRUE(p.x == want[anchor][0] && p.y == want[anchor][1] && p.height == want[anchor][2] &&
                    p.width == want[anchor][3])
            << anchor;
    }
}

TEST(Placement, InsetSidesLimitsToHalfTheSizeAndTurnsTheShift)
{
    FramePlacement p{0, 0, 10, 7, 0};
    PlacementInsetSides(&p, 5, kSideTop | kSideRight | kSideBottom | kSideLeft);
    EXPECT_TRUE(p.x == 3 && p.y == 3 && p.width == 1 && p.height == 4);

    FramePlacement turned{100, 100, 20, 30, 90};
    FramePlacement plain = turned;
    PlacementInsetSides(&turned, 2, kSideLeft | kSideTop);
    EXPECT_TRUE(turned.x == 102 && turned.y == 98 && turned.width == 30 && turned.height == 20);
    PlacementInsetSidesPlain(&plain, 2, kSideLeft | kSideTop);
    EXPECT_TRUE(plain.x == 102 && plain.y == 102 && plain.width == 28 && plain.height == 18);
    turned = {100, 100, 20, 30, 90};
    PlacementInsetSides(&turned, 1, kSideRight);
    EXPECT_TRUE(turned.x == 100 && turned.y == 100 && turned.width == 30 && turned.height == 21);
}

TEST(LineForms, RecordAndPolarFormRoundTrip)
{
    AlertCapture alerts;  // zero-length lines beep
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int32_t> pos(-1000000, 1000000), delta(-32768, 32767), cap(0, 15),
        word(-32768, 32767);
    for (int i = 0; i < 2000; ++i) {
        LineRecord r{{pos(rng), pos(rng)}, {}, uint8_t(cap(rng)), uint8_t(cap(rng)), int16_t(word(rng)),
                     int16_t(word(rng))};
        r.end = {r.start.x + (i % 100 == 0 ? 0 : delta(rng)), r.start.y + (i % 50 == 0 ? 0 : delta(rng))};
        PlacementBlock b;
        LineRecordToPlacement(r, &b);
        LineRecord back;
        LinePlacementToRecord(b, &back);
        uint8_t a[kLineRecordSize], c[kLineRecordSize];
        PutLineRecord(a, r);
        PutLineRecord(c, back);
        ASSERT_EQ(std::memcmp(a, c, kLineRecordSize), 0) << i;
    }

    LineRecord up{{5, 5}, {5, 0}, 0x12, 0x34, 0, 0};
    PlacementBlock b;
    StarRecordToPlacement(up, &b);
    EXPECT_TRUE(b.angle == 90.0f && b.length == 5.0f && b.width == 0 && b.height == -5 && b.sides == 0x24);

    LinePlacementRotateAbout(&b, 90, {5, 5});
    StarPlacementToRecord(b, &up);
    EXPECT_TRUE(up.end.x == 0 && up.end.y == 5 && b.angle == 180.0f);

    LineRecordAtDistance({10, 10}, 10, 90, &up);
    EXPECT_TRUE(up.start.x == 10 && up.end.x == 10 && up.end.y == 0);
}

}  // namespace
