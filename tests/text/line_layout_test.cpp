#include <gtest/gtest.h>

#include "frames/style_runs.h"
#include "frames/tab_stops.h"
#include "text/alignment.h"
#include "text/line_layout.h"
#include "text/para_format.h"
#include "text_fixture.h"

namespace {

class LineLayoutTest : public TextTest {
protected:
    // Lays a one-frame story out in a text rectangle 60 wide (ten
    // characters) and answers its lines as text.
    std::vector<std::string> Layout(const std::vector<std::string>& paragraphs, IntRect rect = {0, 0, 60, 400})
    {
        end = FlowStory(paragraphs, rect);
        std::vector<std::string> out;
        for (const TextLineRecord& line : Lines())
            out.push_back(LineText(line));
        return out;
    }
    void Override(int32_t paragraph, uint16_t bit, int16_t value)
    {
        ctx.SelectParagraph(paragraph);
        ParagraphText p = ctx.Current();
        ASSERT_TRUE(SetOverrideField(&p, bit, value));
        ctx.StoreFlags(p);
    }
    void Run(int32_t paragraph, int32_t s, int32_t e, uint16_t bit, int16_t value)
    {
        SetRunBit(&ctx, paragraph, s, e, bit, value);
    }

    TextPosition end;
};

using Lines_ = std::vector<std::string>;

TEST_F(LineLayoutTest, LinesBreakByTheWrapAndHyphenationPreferences)
{
    // Text wrap on: after the last space; the spaces at the end do not count
    // in the line's width.
    EXPECT_EQ(Layout({"aaaa bbbbbbb"}), (Lines_{"aaaa ", "bbbbbbb\r"}));
    std::vector<TextLineRecord> lines = Lines();
    EXPECT_EQ(lines[0].width, 24);
    EXPECT_EQ(lines[0].spaces, 0);
    EXPECT_EQ(lines[0].rect.top, 12);
    EXPECT_EQ(lines[0].rect.bottom, 12);
    EXPECT_EQ(lines[1].rect.top, 27);
    EXPECT_EQ(lines[1].ascent, 12);
    EXPECT_EQ(lines[1].descent, 3);

    // Both off: before the character that did not fit, inside a word.
    host.prefs.textWrap = false;
    EXPECT_EQ(Layout({"aaaa bbbbbbb"}), (Lines_{"aaaa bbbbb", "bb\r"}));
    // Wrap off, hyphenation on: a word without a hyphen point moves whole.
    host.prefs.hyphenation = true;
    EXPECT_EQ(Layout({"aaaa bbbbbbb"}), (Lines_{"aaaa ", "bbbbbbb\r"}));
    // A word with hyphen points breaks at the last one that fits.
    EXPECT_EQ(Layout({"a hyphenation"}), (Lines_{"a hyphen", "ation\r"}));
    EXPECT_EQ(Lines()[0].hyphen, 1);
    // ... but a word wider than the line still shows, cut where it must.
    EXPECT_EQ(Layout({"bbbbbbbbbbbbbbb"}), (Lines_{"bbbbbbbbbb", "bbbbb\r"}));
    host.prefs.textWrap = true;
    EXPECT_EQ(Layout({"bbbbbbbbbbbbbbb x"}), (Lines_{"bbbbbbbbbb", "bbbbb x\r"}));
    // After a space the break is a word's start: nothing to hyphenate
    // there, but on the next line the word has no space before it.
    EXPECT_EQ(Layout({"a hyphenation"}), (Lines_{"a ", "hyphen", "ation\r"}));
    EXPECT_EQ(Lines()[0].hyphen, 0);
    EXPECT_EQ(Lines()[1].hyphen, 1);
    // A space that does not fit ends the line cleanly.
    EXPECT_EQ(Layout({"aaaa bbbb  cc"}), (Lines_{"aaaa bbbb ", "cc\r"}));
    EXPECT_EQ(Lines()[1].first, 11);
}

TEST_F(LineLayoutTest, EveryLineTakesACharacterWhateverTheSlotOrSize)
{
    // A slot narrower than one character: one character a line.
    EXPECT_EQ(Layout({"abc"}, IntRect{0, 0, 3, 400}), (Lines_{"a", "b", "c\r"}));
    // Size 0 gives lines of height 1 that still move down.
    Layout({"ab cd ef", "gh"}, IntRect{0, 0, 60, 400});
    Run(0, 0, 9, kRunSize, 0);
    Run(1, 0, 3, kRunSize, 0);
    Flow(frame);
    const std::vector<TextLineRecord> lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rect.top, 1);
    EXPECT_EQ(lines[1].rect.top, 2);
    // Hyphenation with text wrap off on a frame narrower than any word.
    host.prefs.textWrap = false;
    host.prefs.hyphenation = true;
    EXPECT_EQ(Layout({"ab cd"}, IntRect{0, 0, 6, 400}), (Lines_{"a", "b", "c", "d\r"}));
}

TEST_F(LineLayoutTest, LineHeightsFollowLeadingSpacingAndSuperscripts)
{
    Layout({"aaaa bbbb cccc dddd"});
    Override(0, kOverLineSpacing, 4);
    Flow(frame);
    std::vector<TextLineRecord> lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    // Double: twice the font height (15), baseline at y + h - descent.
    EXPECT_EQ(lines[0].rect.top, 27);
    EXPECT_EQ(lines[1].rect.top - lines[0].rect.top, 30);

    Override(0, kOverLineSpacing, 0);
    Override(0, kOverLeading, 20);
    Flow(frame);
    lines = Lines();
    // Leading 20 on the frame's first line comes before the line too.
    EXPECT_EQ(lines[0].rect.top, 37);
    EXPECT_EQ(lines[1].rect.top - lines[0].rect.top, 20);

    // A superscript of 12 at 33 percent counts 15 for the ascent.
    Layout({"x2"});
    Run(0, 1, 2, kRunSuperSub, -1);
    Flow(frame);
    EXPECT_EQ(Lines()[0].ascent, 15);
    EXPECT_EQ(Lines()[0].styled, 1);
    // A bigger run raises the whole line.
    Run(0, 0, 1, kRunSize, 24);
    Flow(frame);
    EXPECT_EQ(Lines()[0].ascent, 24);
    EXPECT_EQ(Lines()[0].descent, 6);
    EXPECT_EQ(Lines()[0].rect.top, 24);

    // Paragraph spacing: space after of the first and space before of the
    // second lie between them.
    Layout({"one", "two"});
    Override(0, kOverSpaceAfter, 5);
    Override(1, kOverSpaceBefore, 7);
    Flow(frame);
    lines = Lines();
    EXPECT_EQ(lines[1].rect.top - lines[0].rect.top, 15 + 5 + 7);
}

TEST_F(LineLayoutTest, TabsReachStopsAndAlignTheirText)
{
    // Without stops: the default interval; a 17th tab is measured like any
    // character and not recorded.
    std::string tabs(17, '\t');
    tabs.push_back('x');
    Layout({tabs}, IntRect{0, 0, 1000, 400});
    TextLineRecord line = Lines()[0];
    EXPECT_EQ(line.TabAdvanceAt(0), 36);
    EXPECT_EQ(line.tabChars[15], 15);
    EXPECT_EQ(line.TabAdvanceAt(16), -1);
    EXPECT_EQ(line.width, 17 * 36 + 6);

    // A right stop at 50 and a left one at 70: the text between ends at 50.
    Layout({"a\tbbb\tc"}, IntRect{0, 0, 200, 400});
    ctx.SelectParagraph(0);
    ParagraphText p = ctx.Current();
    ASSERT_TRUE(p.AddTabBlock());
    SetTabsSetWord(p.TabBlock(), 1);
    SetTabPosition(p.TabBlock(), 0, 50);
    SetTabKind(p.TabBlock(), 0, kTabRight);
    SetTabPosition(p.TabBlock(), 1, 70);
    ctx.StoreFlags(p);
    Flow(frame);
    line = Lines()[0];
    EXPECT_EQ(line.TabAdvanceAt(1), 26);
    EXPECT_EQ(line.TabAdvanceAt(5), 20);
    EXPECT_EQ(line.width, 76);
    // Centred on the stop instead.
    ctx.SelectParagraph(0);
    p = ctx.Current();
    SetTabKind(p.TabBlock(), 0, kTabCentre);
    Flow(frame);
    EXPECT_EQ(Lines()[0].TabAdvanceAt(1), 35);
    // A right tab at the end of the line still ends its text at the stop.
    Layout({"\tbbb"}, IntRect{0, 0, 200, 400});
    ctx.SelectParagraph(0);
    p = ctx.Current();
    ASSERT_TRUE(p.AddTabBlock());
    SetTabsSetWord(p.TabBlock(), 1);
    SetTabPosition(p.TabBlock(), 0, 100);
    SetTabKind(p.TabBlock(), 0, kTabRight);
    ctx.StoreFlags(p);
    Flow(frame);
    EXPECT_EQ(Lines()[0].width, 100);
}

TEST_F(LineLayoutTest, AlignmentSpreadsTheSlack)
{
    Layout({"aa bb cc dd ee ff"});
    const std::vector<TextLineRecord> lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(LineText(lines[0]), "aa bb cc ");
    EXPECT_EQ(lines[0].width, 48);
    EXPECT_EQ(lines[0].spaces, 2);

    ComputeAlignment(&ctx, lines[0], 3, false);
    EXPECT_EQ(ctx.justification.offset, 12);
    ComputeAlignment(&ctx, lines[0], 2, false);
    EXPECT_EQ(ctx.justification.offset, 6);
    ComputeAlignment(&ctx, lines[0], 4, false);
    EXPECT_EQ(ctx.justification.perSpace, 6);
    // Alignment 5 leaves the paragraph's last line alone, 4 does not.
    ComputeAlignment(&ctx, lines[1], 5, true);
    EXPECT_EQ(ctx.justification.perSpace, 0);
    ComputeAlignment(&ctx, lines[1], 4, true);
    EXPECT_EQ(ctx.justification.perSpace, 6);
    // A line of 5 spaces' slack 7: one more unit for the first two gaps.
    TextLineRecord odd = lines[0];
    odd.width = 53;
    odd.spaces = 5;
    ComputeAlignment(&ctx, odd, 4, false);
    EXPECT_EQ(ctx.justification.perSpace, 1);
    EXPECT_EQ(ctx.justification.remainder, 2);
    // No spaces: over the gaps between the characters; less slack than
    // gaps spreads single units.
    odd.spaces = 0;
    odd.count = 9;
    odd.width = 57;
    ComputeAlignment(&ctx, odd, 4, false);
    EXPECT_EQ(ctx.justification.perChar, 0);
    EXPECT_EQ(ctx.justification.remainder, 3);
    EXPECT_TRUE(ctx.justification.oneUnit);
    // A shown hyphen takes 4; below 1:1 the width counts less.
    odd = lines[0];
    odd.hyphen = 1;
    ComputeAlignment(&ctx, odd, 3, false);
    EXPECT_EQ(ctx.justification.offset, 8);
    host.zoomNumerator = 1;
    host.zoomDenominator = 2;
    ComputeAlignment(&ctx, lines[0], 3, false);
    EXPECT_EQ(ctx.justification.offset, 16);
    ComputeAlignment(&ctx, lines[0], 2, false);
    EXPECT_EQ(ctx.justification.offset, 7);
}

TEST_F(LineLayoutTest, KeepRulesMoveParagraphsToTheNextFrame)
{
    // Three lines fit (bottom 46); the kept-together paragraph goes whole.
    Layout({"aaaa", std::string(25, 'x')}, IntRect{0, 0, 60, 46});
    EXPECT_EQ(Lines().size(), 3u);
    EXPECT_EQ(end, (TextPosition{1, 20}));
    Override(1, kOverKeepTogether, 1);
    end = Flow(frame);
    EXPECT_EQ(Lines().size(), 1u);
    EXPECT_EQ(end, (TextPosition{1, 0}));

    // Unless nothing else would stay in the frame.
    Layout({std::string(45, 'x')}, IntRect{0, 0, 60, 46});
    Override(0, kOverKeepTogether, 1);
    end = Flow(frame);
    EXPECT_EQ(Lines().size(), 3u);

    // Kept with the next paragraph, which gets no line here: the last line
    // goes along.
    Layout({std::string(15, 'y'), "next"}, IntRect{0, 0, 60, 31});
    EXPECT_EQ(end, (TextPosition{1, 0}));
    Override(0, kOverKeepNext, 1);
    end = Flow(frame);
    EXPECT_EQ(Lines().size(), 1u);
    EXPECT_EQ(end, (TextPosition{0, 10}));
}

TEST_F(LineLayoutTest, AChainContinuesWhereItsFirstFrameEnds)
{
    FrameObjText* first = AddFrame(IntRect{0, 0, 60, 31});
    FrameObjText* second = AddFrame(IntRect{100, 0, 160, 400});
    SetStory(first, {"one two three four five"});
    doc.frames.LinkAfter(first->FrameId(), second);
    const TextPosition firstEnd = Flow(first);
    // The space where the first frame broke stays behind.
    EXPECT_EQ(firstEnd, (TextPosition{0, 19}));
    EXPECT_EQ(Lines().size(), 2u);
    const TextPosition secondEnd = Flow(second);
    EXPECT_EQ(secondEnd, (TextPosition{0, 24}));
    const std::vector<TextLineRecord> lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(LineText(lines[0]), "five\r");
    EXPECT_EQ(lines[0].rect.left, 100);
    EXPECT_EQ(lines[0].rect.top, 12);
}

}  // namespace
