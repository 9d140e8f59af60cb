#include <gtest/gtest.h>

#include "foundation/byte_order.h"
#include "frames/style_runs.h"
#include "text/format_publish.h"
#include "text/para_format.h"
#include "text_fixture.h"

namespace {

class FormatPublishTest : public TextTest {
protected:
    void Story(const std::vector<std::string>& paragraphs) { FlowStory(paragraphs, IntRect{0, 0, 600, 400}); }
    int16_t Word(int rank) const { return GetI16LE(host.published.data() + kStyleBaseFormatOffset + 2 * rank); }
    ParaFormat Format() const { return GetParaFormat(host.published.data() + kStyleParaFormatOffset); }

};

TEST_F(FormatPublishTest, SelectionsHandOverMixedMarkers)
{
    Story({"abcd", "efgh"});
    Run(0, 0, 1, kRankFont, 1);
    Run(0, 1, 2, kRankFont, 2);
    Run(0, 2, 4, kRankStyle, 0);
    Select(TextPosition{0, 0}, TextPosition{0, 2});
    ASSERT_TRUE(PublishSelectionFormat(&ctx, nullptr));
    EXPECT_EQ(Word(kRankFont), -1);
    EXPECT_EQ(Word(kRankSize), 12);
    EXPECT_EQ(Word(kRankStyle), 0);
    // Two characters whose runs both set plain count as no bits in common.
    Select(TextPosition{0, 2}, TextPosition{0, 4});
    ASSERT_TRUE(PublishSelectionFormat(&ctx, nullptr));
    EXPECT_EQ(Word(kRankStyle), -1111);
    EXPECT_EQ(Word(kRankFont), 0);

    // Paragraph fields that differ.
    ctx.SelectParagraph(0);
    ParagraphText p = ctx.Current();
    SetOverrideField(&p, kOverLeftIndent, 10);
    SetOverrideField(&p, kOverLeading, 14);
    SetOverrideField(&p, kOverAlignment, 3);
    ctx.StoreFlags(p);
    ctx.SelectParagraph(1);
    p = ctx.Current();
    SetOverrideField(&p, kOverLeftIndent, 20);
    ctx.StoreFlags(p);
    Select(TextPosition{0, 1}, TextPosition{1, 2});
    ASSERT_TRUE(PublishSelectionFormat(&ctx, nullptr));
    EXPECT_EQ(Format().leftIndent, -1);
    EXPECT_EQ(Format().leading, -1111);
    EXPECT_EQ(Format().alignment, 0);
    EXPECT_EQ(Format().rightIndent, 0);
    // A selection that holds no character: the format before its start,
    // as at a caret there, never values no text has.
    Select(TextPosition{0, 1}, TextPosition{0, 1});
    ASSERT_TRUE(PublishSelectionFormat(&ctx, nullptr));
    EXPECT_EQ(Word(kRankFont), 1);
    EXPECT_EQ(Word(kRankSize), 12);
    EXPECT_EQ(Word(kRankCaps), 0);
}

TEST_F(FormatPublishTest, TheCaretTakesTheCharacterBeforeIt)
{
    Story({"abcd"});
    Run(0, 0, 1, kRankCaps, 0);
    Run(0, 1, 2, kRankCaps, 2);
    Run(0, 2, 3, kRankSize, 30);
    ctx.SelectParagraph(0);
    PublishCaretFormat(&ctx, 1);
    EXPECT_EQ(Word(kRankCaps), 0);
    PublishCaretFormat(&ctx, 2);
    EXPECT_EQ(Word(kRankCaps), 1);
    PublishCaretFormat(&ctx, 3);
    EXPECT_EQ(Word(kRankSize), 30);
    // Not while the frame shows a selection.
    host.published.clear();
    Select(TextPosition{0, 0}, TextPosition{0, 1});
    PublishCaretFormat(&ctx, 1);
    EXPECT_TRUE(host.published.empty());
}

TEST_F(FormatPublishTest, TypingRunsCarryWhatDiffersFromTheStyle)
{
    Story({"ab"});
    ctx.SelectParagraph(0);
    EXPECT_FALSE(TypingFormatDiffers(&ctx));
    host.typing[kRankStyle] = 1;
    host.typing[kRankSize] = 18;
    EXPECT_TRUE(TypingFormatDiffers(&ctx));
    std::array<int16_t, kAttributeCount> values{};
    uint16_t flags = BuildTypingRun(&ctx, 0, host.typing, &values);
    EXPECT_EQ(flags, kRunStyle | kRunSize);
    EXPECT_EQ(values[kRankStyle], 1 | kStyleTurnOn);
    EXPECT_EQ(values[kRankSize], 18);
    // Equal to the style, but set by the run before the position.
    Run(0, 0, 1, kRankColour, 15);
    host.typing = {0, 0, 0, 12, 0, 15, 100, 0, 0, 0};
    flags = BuildTypingRun(&ctx, 1, host.typing, &values);
    EXPECT_EQ(flags, kRunColour);
}

}  // namespace
