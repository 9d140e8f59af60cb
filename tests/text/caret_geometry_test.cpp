#include <gtest/gtest.h>

#include "text/caret_geometry.h"
#include "editing_fixture.h"

namespace {

class CaretGeometryTest : public EditingTest {
protected:
    TextLineRecord Line(int32_t i) const { return ctx.Lines().At(i); }
};

TEST_F(CaretGeometryTest, TheCaretSpansItsLineAtEveryZoom)
{
    Story({"abcd efgh ijkl"});
    Caret(0, 2);
    IntPoint point;
    int32_t height = 0;
    ASSERT_TRUE(GetCaretPoint(&ctx, &point, &height));
    const TextLineRecord first = Line(1);
    EXPECT_EQ(point.x, 12);
    EXPECT_EQ(point.y, first.Baseline() + first.descent);
    EXPECT_EQ(height, first.Height());
    // On the second line, twice as large at a zoom of 2.
    host.zoomNumerator = 2;
    Caret(0, 12);
    ASSERT_TRUE(GetCaretPoint(&ctx, &point, &height));
    const TextLineRecord second = Line(2);
    EXPECT_EQ(point.x, 24);
    EXPECT_EQ(point.y, 2 * (second.Baseline() + second.descent));
    EXPECT_EQ(height, 2 * second.Height());
    EXPECT_EQ(GetCharWidth(&ctx, 0), 12);

    // Clamped inside the text rectangle.
    host.zoomNumerator = 1;
    Story({"aaaaaaaaaa"});
    Caret(0, 10);
    ASSERT_TRUE(GetCaretPoint(&ctx, &point, &height));
    EXPECT_EQ(point.x, 59);
}

TEST_F(CaretGeometryTest, AnEmptyParagraphShowsTheCaretInTheToolsSize)
{
    Story({""});
    host.typing[kRankSize] = 24;
    IntPoint point;
    int32_t height = 0;
    ASSERT_TRUE(GetCaretPoint(&ctx, &point, &height));
    const TextLineRecord line = Line(1);
    EXPECT_EQ(height, 26);
    EXPECT_EQ(point.y, line.Baseline() + line.descent + 12);
}

TEST_F(CaretGeometryTest, NoCaretBeyondTheFramesLinesAndAFrameWithoutLinesHasItAtItsStart)
{
    Chain({"aaaa bbbb cccc"});
    Caret(0, 12);
    IntPoint point;
    int32_t height = 1;
    ASSERT_TRUE(GetCaretPoint(&ctx, &point, &height));
    EXPECT_EQ(height, 0);
    // A frame too small for a line: the caret stands at its start, as
    // high as the frame.
    Story({"abc"}, 60, 5);
    ASSERT_TRUE(GetCaretPoint(&ctx, &point, &height));
    const IntRect rect = ctx.TextRect();
    EXPECT_EQ(point.x, rect.left + 1);
    EXPECT_EQ(point.y, rect.bottom - 1);
    EXPECT_EQ(height, rect.bottom - 1 - rect.top);
}

}  // namespace
