#include <gtest/gtest.h>

#include <QImage>

#include "frames/style_runs.h"
#include "platform/dc.h"
#include "text/selection_highlight.h"
#include "text/text_draw.h"
#include "text_fixture.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kYellow = 0xFFFFFF00;

class DrawTest : public TextTest {
protected:
    DrawTest() : image(400, 300, QImage::Format_RGB32) { Clear(kWhite); }
    void Clear(QRgb colour)
    {
        image.fill(colour);
        dc = Dc::ForImage(&image);
        host.dc = dc.get();
    }
    void Story(const std::vector<std::string>& paragraphs, IntRect rect = {10, 40, 200, 200})
    {
        FlowStory(paragraphs, rect);
    }
    void Draw() { DrawTextBlock(&ctx, dc.get(), 1, ctx.Lines().Count(), false); }
    // The first row holding a pixel other than the background in [x0, x1).
    int32_t InkTop(int32_t x0, int32_t x1, QRgb background = kWhite) const
    {
        for (int32_t y = 0; y < image.height(); ++y) {
            for (int32_t x = x0; x < x1; ++x) {
                if (image.pixel(x, y) != background)
                    return y;
            }
        }
        return -1;
    }
    QRect Changed(const QImage& before) const
    {
        QRect box;
        for (int32_t y = 0; y < image.height(); ++y) {
            for (int32_t x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != before.pixel(x, y))
                    box |= QRect(x, y, 1, 1);
            }
        }
        return box;
    }

    QImage image;
    std::unique_ptr<Dc> dc;
};

TEST_F(DrawTest, TheHighlightInvertsTheSelectionAndTwiceRestores)
{
    Story({"abcdefgh", "second line"});
    Draw();
    const QImage drawn = image.copy();
    Select(TextPosition{0, 2}, TextPosition{0, 5});
    ToggleSelectionHighlight(&ctx, dc.get());
    // Between the two x positions, from the ascent's top to the descent's
    // bottom of the line (baseline 52).
    EXPECT_EQ(Changed(drawn), QRect(QPoint(10 + 12, 40), QPoint(10 + 30 - 1, 54)));
    ToggleSelectionHighlight(&ctx, dc.get());
    EXPECT_EQ(image, drawn);
    // Across paragraphs: the start's line to its right end, the end's line
    // from its left end.
    Select(TextPosition{0, 6}, TextPosition{1, 3});
    ToggleSelectionHighlight(&ctx, dc.get());
    const QRect both = Changed(drawn);
    EXPECT_EQ(both.left(), 10);
    EXPECT_EQ(both.right(), 199);
    EXPECT_EQ(both.bottom(), 69);
    ToggleSelectionHighlight(&ctx, dc.get());
    EXPECT_EQ(image, drawn);
    // A caret paints nothing.
    Select(TextPosition{0, 3}, TextPosition{0, 3});
    ToggleSelectionHighlight(&ctx, dc.get());
    EXPECT_EQ(image, drawn);
}

TEST_F(DrawTest, TextStaysInItsRectangleOnScreenOnly)
{
    // Raised above the frame's top, only the descenders stay inside.
    Story({"Xylophone"});
    Run(0, 0, 10, kRankSize, 30);
    Run(0, 0, 10, kRankBaselineShift, 30);
    Flow(frame);
    Clear(kWhite);
    Draw();
    EXPECT_GE(InkTop(0, 400), 40);
    Clear(kWhite);
    host.screen = false;
    Draw();
    EXPECT_LT(InkTop(0, 400), 40);
    EXPECT_GT(InkTop(0, 400), 0);
}

TEST_F(DrawTest, OffsetsComeFromTheStylesSizeAndTheShift)
{
    host.zoomNumerator = 4;
    Story({"xxxx"}, IntRect{0, 10, 90, 70});
    Run(0, 0, 4, kRankSize, 24);
    Run(0, 1, 2, kRankSuperSub, -1);
    Run(0, 2, 3, kRankBaselineShift, 10);
    Run(0, 3, 4, kRankBaselineShift, -40);
    Flow(frame);
    image = QImage(500, 400, QImage::Format_RGB32);
    Clear(kWhite);
    Draw();
    const int32_t plain = InkTop(0, 40);
    ASSERT_GT(plain, 0);
    // 33 percent of the style's 12, not of the run's 24: 3 units, 12 pixels.
    EXPECT_NEAR(plain - InkTop(50, 90), 12, 1);
    EXPECT_NEAR(plain - InkTop(100, 140), 40, 1);
    EXPECT_NEAR(plain - InkTop(150, 190), 0, 1);
}

TEST_F(DrawTest, BackgroundsStayAndOverflowShowsOnlyOnScreen)
{
    Clear(kYellow);
    Story({"aa", "bb", "cc", "dd"}, IntRect{10, 40, 100, 72});
    Draw();
    // The line's fill paints nothing: the frame's colour stays between and
    // beside the letters.
    EXPECT_EQ(image.pixel(69, 45), kYellow);
    EXPECT_EQ(image.pixel(11, 41), kYellow);
    EXPECT_NE(InkTop(10, 30, kYellow), -1);
    // Text remains: the black mark in the lower right corner.
    EXPECT_EQ(image.pixel(100 - 8, 72 - 8), 0xFF000000u);
    EraseBelowText(&ctx, dc.get(), false);
    EXPECT_EQ(image.pixel(40, 71), kWhite);

    Clear(kYellow);
    host.screen = false;
    Draw();
    EXPECT_EQ(image.pixel(100 - 8, 72 - 8), kYellow);
    host.screen = true;
    frame->SetGeometryField(4, 30);
    Clear(kYellow);
    Draw();
    EXPECT_EQ(image.pixel(100 - 8, 72 - 8), kYellow);
}

}  // namespace
