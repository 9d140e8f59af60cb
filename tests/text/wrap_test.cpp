#include <gtest/gtest.h>

#include "tools/stand_ins/sample_page.h"
#include "text/line_layout.h"
#include "text/wrap_crossings.h"
#include "text/wrap_outline.h"
#include "text_fixture.h"
#include "tools/stand_ins/stand_in_hosts.h"

namespace {

// A rectangle as a closed polygon of edge pairs, clockwise on the page.
std::vector<IntPoint> Box(int32_t l, int32_t t, int32_t r, int32_t b)
{
    return {{l, t}, {r, t}, {r, t}, {r, b}, {r, b}, {l, b}, {l, b}, {l, t}};
}

void Load(LayoutContext* ctx, const std::vector<IntPoint>& points)
{
    ctx->wrapCount = int32_t(points.size());
    for (size_t i = 0; i < points.size(); ++i)
        ctx->wrapPoints[i] = points[i];
}

TEST(WrapCrossings, EdgesCountByDirectionNearTheBand)
{
    const IntRect band{0, 50, 100, 50};
    // An upward edge enters, a downward one leaves.
    EdgeCrossing c = IntersectOutlineEdge({20, 100}, {20, 0}, band, 14);
    EXPECT_EQ(c.kind, 1);
    EXPECT_EQ(c.tag, -1);
    EXPECT_EQ(c.x, 20);
    c = IntersectOutlineEdge({40, 0}, {40, 100}, band, 14);
    EXPECT_EQ(c.tag, 1);
    // Wholly below the band, or more than the line's height above it.
    EXPECT_EQ(IntersectOutlineEdge({20, 60}, {20, 90}, band, 14).kind, 0);
    EXPECT_EQ(IntersectOutlineEdge({20, 10}, {20, 35}, band, 14).kind, 0);
    // A vertical edge ending within the line above the band still counts.
    EXPECT_EQ(IntersectOutlineEdge({20, 40}, {20, 0}, band, 14).kind, 1);
    // Slanted: crossing at the band's y, right and left of it clamped.
    c = IntersectOutlineEdge({0, 0}, {100, 100}, band, 14);
    EXPECT_EQ(c.kind, 1);
    EXPECT_EQ(c.x, 50);
    c = IntersectOutlineEdge({200, 0}, {300, 100}, band, 14);
    EXPECT_EQ(c.kind, 2);
    EXPECT_EQ(c.x, 100);
    // At a vertex touching the band from above only one edge counts.
    EXPECT_EQ(IntersectOutlineEdge({30, 50}, {40, 30}, band, 14).kind, 0);
    EXPECT_EQ(IntersectOutlineEdge({30, 50}, {20, 70}, band, 14).kind, 0);
    // An edge moved down onto the band is not such a vertex.
    c = IntersectOutlineEdge({102, 48}, {100, 58}, IntRect{0, 50, 200, 50}, 14);
    EXPECT_EQ(c.kind, 1);
    EXPECT_EQ(c.tag, 1);
}

TEST(WrapCrossings, TheWidestFreePieceWins)
{
    LayoutContext ctx;
    Load(&ctx, Box(20, 0, 40, 100));
    IntRect band{0, 50, 100, 50};
    IntRect slot;
    ASSERT_TRUE(ComputeLineSlot(&ctx, 15, 400, &band, &slot));
    EXPECT_EQ(slot.left, 40);
    EXPECT_EQ(slot.right, 100);
    Load(&ctx, Box(60, 0, 80, 100));
    ASSERT_TRUE(ComputeLineSlot(&ctx, 15, 400, &band, &slot));
    EXPECT_EQ(slot.left, 0);
    EXPECT_EQ(slot.right, 60);
    // Two obstacles: the middle piece is the widest.
    std::vector<IntPoint> two = Box(0, 0, 10, 100);
    const std::vector<IntPoint> other = Box(70, 0, 100, 100);
    two.insert(two.end(), other.begin(), other.end());
    Load(&ctx, two);
    ASSERT_TRUE(ComputeLineSlot(&ctx, 15, 400, &band, &slot));
    EXPECT_EQ(slot.left, 10);
    EXPECT_EQ(slot.right, 70);
}

TEST(WrapCrossings, ACoveredBandMovesDownByHalfLines)
{
    LayoutContext ctx;
    Load(&ctx, Box(-10, 0, 110, 100));
    IntRect band{0, 12, 100, 12};
    IntRect slot;
    ASSERT_TRUE(ComputeLineSlot(&ctx, 15, 400, &band, &slot));
    // Steps of 7 until the line clears the obstacle's bottom by its height.
    EXPECT_EQ(band.top, 117);
    EXPECT_EQ(slot.left, 0);
    EXPECT_EQ(slot.right, 100);
    // No room before the bottom: the search gives up.
    band = IntRect{0, 12, 100, 12};
    EXPECT_FALSE(ComputeLineSlot(&ctx, 15, 80, &band, &slot));
}

TEST(WrapOutline, TheFramesAboveOnThePageGiveTheirOutlines)
{
    TempDir dir;
    SamplePageDocument doc(dir.path(), IntSize{400, 300}, 100);
    ASSERT_TRUE(doc.ok());
    FrameObjText* text = static_cast<FrameObjText*>(doc.AddFrame(kFrameText, IntRect{0, 0, 200, 200}));
    FrameObj* ellipse = doc.AddFrame(kFrameEllipse, IntRect{50, 60, 150, 120});
    ASSERT_NE(text, nullptr);
    ASSERT_NE(ellipse, nullptr);
    ellipse->SetOutline(2, 4);
    StandInTextHost host;
    BuildTextWrapOutline(text, &host);
    LayoutContext ctx;
    LoadWrapOutline(text, &ctx);
    ASSERT_GT(ctx.wrapCount, 8);
    EXPECT_EQ(ctx.wrapCount % 2, 0);
    for (int32_t i = 0; i < ctx.wrapCount; ++i) {
        EXPECT_GE(ctx.wrapPoints[size_t(i)].x, 50 - 5);
        EXPECT_LE(ctx.wrapPoints[size_t(i)].x, 150 + 5);
        EXPECT_GE(ctx.wrapPoints[size_t(i)].y, 60 - 5);
        EXPECT_LE(ctx.wrapPoints[size_t(i)].y, 120 + 5);
    }
    // A band through the middle: the two sides are as wide, the left wins.
    IntRect band{0, 90, 200, 90};
    IntRect slot;
    ASSERT_TRUE(ComputeLineSlot(&ctx, 15, 200, &band, &slot));
    EXPECT_EQ(slot.left, 0);
    EXPECT_GE(slot.right, 44);
    EXPECT_LE(slot.right, 50);
    // Nothing above it: no outline.
    FrameObjText* alone = static_cast<FrameObjText*>(doc.AddFrame(kFrameText, IntRect{250, 0, 300, 50}));
    BuildTextWrapOutline(alone, &host);
    EXPECT_EQ(alone->WrapOutline(), nullptr);
}

class WrapLayoutTest : public TextTest {};

TEST_F(WrapLayoutTest, LinesFlowAroundAnOverlappingFrame)
{
    FrameObjText* frame = AddFrame(IntRect{0, 0, 120, 400});
    host.outlines = Box(0, 20, 60, 60);
    BuildTextWrapOutline(frame, &host);
    SetStory(frame, {"aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll mmmm nnnn"});
    Flow(frame);
    const std::vector<TextLineRecord> lines = Lines();
    ASSERT_GE(lines.size(), 6u);
    // Beside the obstacle a line keeps to the free piece right of it.
    EXPECT_EQ(lines[0].rect.left, 0);
    EXPECT_EQ(lines[1].rect.left, 60);
    EXPECT_EQ(lines[1].rect.right, 120);
    EXPECT_EQ(LineText(lines[1]), "eeee ffff ");
    // Below it the whole width again.
    TextLineRecord below;
    for (const TextLineRecord& l : lines) {
        if (l.rect.top - 14 > 60) {
            below = l;
            break;
        }
    }
    EXPECT_EQ(below.rect.left, 0);
    EXPECT_EQ(below.rect.right, 120);
    // Without its outline the frame has its whole width again.
    frame->SetWrapOutline(nullptr);
    Flow(frame);
    EXPECT_EQ(Lines()[1].rect.left, 0);
}

}  // namespace
