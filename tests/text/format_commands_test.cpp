#include <gtest/gtest.h>

#include "editing_fixture.h"
#include "frames/style_runs.h"
#include "frames/tab_stops.h"
#include "support/alert_capture.h"
#include "text/format_commands.h"
#include "text/para_format.h"
#include "text/paragraph_commands.h"

namespace {

class FormatCommandsTest : public EditingTest {
protected:
    // A style "Heading" (id 7): bold, centred.
    void AddHeadingStyle()
    {
        uint8_t record[kStyleRecordSize];
        StyleSheet::MakeNormalStyle(record);
        std::memcpy(record + kStyleNameOffset, "Heading", 8);
        PutU32LE(record + kStyleIdOffset, 7);
        PutI16LE(record + kStyleBaseFormatOffset + 2 * kRankStyle, 1);
        ParaFormat format;
        format.alignment = 2;
        PutParaFormat(record + kStyleParaFormatOffset, format);
        styles.InsertRecords(1, 2, record);
    }
    int16_t Attribute(int32_t paragraph, int32_t i, int rank)
    {
        ctx.SelectParagraph(paragraph);
        RunCache run;
        if (!LoadRunAt(ctx.Current(), i, &run) || !run.Has(RankBit(rank)))
            return -9999;
        return run.Value(rank);
    }
    ParaFormat Format(int32_t paragraph)
    {
        ctx.SelectParagraph(paragraph);
        return EffectiveParaFormat(&styles, ctx.Current(), false);
    }
    uint32_t HandleBytes(int32_t paragraph)
    {
        ctx.SelectParagraph(paragraph);
        return HandleGetSize(ctx.Current().handle());
    }

    AlertCapture alerts;
};

TEST_F(FormatCommandsTest, StyleWordsTurnBitsOnOffOrPlain)
{
    AddHeadingStyle();
    Story({"abcdef", "heading"});
    ctx.SelectParagraph(1);
    ParagraphText heading = ctx.Current();
    heading.SetStyleId(7);
    ctx.StoreFlags(heading);

    Select({0, 1}, {0, 3});
    SetStyle(&ctx, 0x4001, false);
    // Italic on over part of the bold: bold stays.
    Select({0, 2}, {0, 4});
    SetStyle(&ctx, 0x4002, false);
    EXPECT_EQ(Attribute(0, 1, kRankStyle), 1);
    EXPECT_EQ(Attribute(0, 2, kRankStyle), 3);
    EXPECT_EQ(Attribute(0, 3, kRankStyle), 2);
    // Bold off leaves text without bold as it was.
    Select({0, 0}, {0, 4});
    SetStyle(&ctx, 1, false);
    EXPECT_EQ(Attribute(0, 0, kRankStyle), 0);
    EXPECT_EQ(Attribute(0, 2, kRankStyle), 2);
    // Bold off in a bold style.
    Select({1, 0}, {1, 4});
    SetStyle(&ctx, 1, false);
    EXPECT_EQ(Attribute(1, 0, kRankStyle), 0);
    EXPECT_EQ(Attribute(1, 5, kRankStyle), -9999);
    // Plain also takes super/subscript and caps away when the tool has them.
    host.typing[kRankCaps] = 1;
    Select({0, 0}, {0, 2});
    SetCaps(&ctx, 1);
    SetStyle(&ctx, 0, true);
    EXPECT_EQ(Attribute(0, 1, kRankStyle), 0);
    EXPECT_EQ(Attribute(0, 1, kRankCaps), 0);
    // At a caret nothing changes but the typing check.
    doc.frames.SetEditFlag(host.editFrame, false);
    ctx.edit.typingCheck = false;
    SetFont(&ctx, 2);
    EXPECT_TRUE(ctx.edit.typingCheck);
    EXPECT_EQ(Attribute(0, 4, kRankFont), -9999);
}

TEST_F(FormatCommandsTest, ColourRedrawsLinesWhileFontFlows)
{
    Story({"abcdefghijklmnop"});
    Select({0, 2}, {0, 12});
    const int32_t paints = host.framePaints;
    SetColor(&ctx, 3, 1);
    EXPECT_EQ(Attribute(0, 2, kRankColour), -9999);
    SetColor(&ctx, 3, kTargetText);
    EXPECT_EQ(Attribute(0, 2, kRankColour), 3);
    EXPECT_EQ(host.framePaints, paints);
    ASSERT_FALSE(host.changed.empty());
    EXPECT_EQ(host.changed.back(), (std::pair<int32_t, int32_t>{1, 2}));
    SetFont(&ctx, 1);
    EXPECT_EQ(Attribute(0, 5, kRankFont), 1);
    EXPECT_GT(host.framePaints, paints);
}

TEST_F(FormatCommandsTest, PairSpacingAtTheCaretAndRangeSpacingOverASelection)
{
    Story({"abcd"});
    host.typing[kRankPairSpacing] = 20;
    SetPairOrRangeValue(&ctx, 20);
    EXPECT_EQ(alerts.beeps().size(), 1u);
    EXPECT_EQ(host.typing[kRankPairSpacing], 0);
    EXPECT_EQ(host.attributePublishes, 1);
    Caret(0, 2);
    SetPairOrRangeValue(&ctx, 20);
    EXPECT_EQ(Attribute(0, 2, kRankPairSpacing), 20);
    EXPECT_EQ(Attribute(0, 3, kRankPairSpacing), -9999);
    Select({0, 0}, {0, 3});
    SetPairOrRangeValue(&ctx, -5);
    EXPECT_EQ(Attribute(0, 1, kRankRangeSpacing), -5);
}

TEST_F(FormatCommandsTest, AWholeStorySelectionReachesEveryFrameOfTheChain)
{
    Chain({"aaaa bbbb", "cccc"});
    host.SelectAll(true, true);
    const int32_t selectAlls = host.selectAlls;
    SetSize(&ctx, 24);
    EXPECT_EQ(Attribute(0, 0, kRankSize), 24);
    EXPECT_EQ(Attribute(1, 4, kRankSize), 24);
    // Selected whole again afterwards.
    EXPECT_EQ(host.selectAlls, selectAlls + 1);
    EXPECT_TRUE(doc.stories.IsAllSelected());
}

TEST_F(FormatCommandsTest, AlignmentEqualToTheStyleDropsTheOverride)
{
    Story({"one", "two", "three"});
    Select({0, 1}, {1, 1});
    const uint32_t bytes = HandleBytes(0);
    SetAlignment(&ctx, 3);
    EXPECT_EQ(Format(0).alignment, 3);
    EXPECT_EQ(Format(1).alignment, 3);
    EXPECT_EQ(Format(2).alignment, 1);
    EXPECT_EQ(HandleBytes(0), bytes + 22);
    SetAlignment(&ctx, 1);
    EXPECT_EQ(HandleBytes(0), bytes);
    EXPECT_EQ(ctx.Current().flags() & kParaHasOverride, 0);
}

TEST_F(FormatCommandsTest, ParagraphInfoStyleAndTabs)
{
    AddHeadingStyle();
    Story({"one", "two"});
    host.paragraph.alignment = 1;
    host.paragraph.leftIndent = 10;
    host.paragraph.keepWithNext = 1;
    ApplyParagraphInfo(&ctx, 1);
    EXPECT_EQ(Format(0).leftIndent, 10);
    EXPECT_EQ(Format(0).keepWithNext, 1);
    EXPECT_EQ(OverrideFlags(ctx.Current()), kOverLeftIndent | kOverKeepNext);
    ApplyParagraphInfo(&ctx, 0);
    EXPECT_EQ(ctx.Current().OverrideBlock(), nullptr);

    Caret(1, 1);
    SetParagraphStyle(&ctx, 7);
    EXPECT_EQ(Format(1).alignment, 2);
    EXPECT_EQ(GetU32LE(host.published.data() + kStyleIdOffset), 7u);

    uint8_t tabs[kTabBlockBytes];
    ClearTabBlock(tabs);
    tabs[0] = 1;
    SetTabPosition(tabs, 0, 30);
    Select({0, 0}, {1, 2});
    SetTabs(&ctx, tabs);
    ASSERT_NE(ctx.Current().TabBlock(), nullptr);
    EXPECT_EQ(TabPosition(ctx.Current().TabBlock(), 0), 30);
    tabs[0] = 0;
    SetTabs(&ctx, tabs);
    for (int32_t i : {0, 1}) {
        ctx.SelectParagraph(i);
        EXPECT_EQ(ctx.Current().TabBlock(), nullptr);
    }
}

}  // namespace
