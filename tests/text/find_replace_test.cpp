#include <gtest/gtest.h>

#include "frames/style_runs.h"
#include "support/alert_capture.h"
#include "text/find_replace.h"
#include "text_fixture.h"

namespace {

class FindReplaceTest : public TextTest {
protected:
    void Story(const std::vector<std::string>& paragraphs)
    {
        FlowStory(paragraphs, IntRect{0, 0, 600, 400});
        ctx.SelectParagraph(0);
        ctx.SetCaretCharacter(0);
    }
    FindSettings Settings(const std::string& find, const std::string& replace = "", bool whole = false,
                          bool ignoreCase = false)
    {
        FindSettings s;
        s.find = find;
        s.replace = replace;
        s.wholeWord = whole;
        s.ignoreCase = ignoreCase;
        return s;
    }
    TextPosition Selection(int selector)
    {
        uint32_t p = 0;
        uint16_t c = 0;
        doc.frames.GetTextRef(frame->FrameId(), int16_t(selector), &p, &c);
        return TextPosition{p, c};
    }

    AlertCapture alerts;
};

TEST_F(FindReplaceTest, SettingsKeepTheirPlaces)
{
    uint8_t bytes[kFindSettingsSize];
    WriteFindSettings(Settings("abc", "de", true, false), bytes);
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[256], 2);
    EXPECT_EQ(bytes[257], 'd');
    EXPECT_EQ(bytes[512], 1);
    EXPECT_EQ(bytes[513], 0);
    const FindSettings back = ReadFindSettings(bytes);
    EXPECT_EQ(back.find, "abc");
    EXPECT_EQ(back.replace, "de");
    EXPECT_TRUE(back.wholeWord);
}

TEST_F(FindReplaceTest, WholeWordsIgnoreCaseAndParagraphEnds)
{
    Story({"other the@ the, x", "at the end the"});
    const FindSettings the = Settings("the", "", true);
    ASSERT_TRUE(FindInStory(&ctx, 0, the));
    EXPECT_EQ(ctx.match.paragraph, 0);
    EXPECT_EQ(ctx.match.start, 11);
    ASSERT_TRUE(FindInStory(&ctx, 12, the));
    EXPECT_EQ(ctx.match.paragraph, 1);
    EXPECT_EQ(ctx.match.start, 3);
    ASSERT_TRUE(FindInStory(&ctx, 4, the));
    EXPECT_EQ(ctx.match.start, 11);
    EXPECT_FALSE(FindInStory(&ctx, 12, the));
    EXPECT_EQ(ctx.match.paragraph, -1);

    Story({"A WORD and \xC9t\xE9"});
    EXPECT_TRUE(FindInStory(&ctx, 0, Settings("word", "", false, true)));
    EXPECT_EQ(ctx.match.start, 2);
    ctx.SelectParagraph(0);
    EXPECT_FALSE(FindInStory(&ctx, 0, Settings("\xE9t\xE9", "", false, true)));
    EXPECT_TRUE(CharsMatch('q', 'Q', true));
    EXPECT_FALSE(CharsMatch('q', 'Q', false));
    // Never across a paragraph's end.
    Story({"ab", "cd"});
    EXPECT_FALSE(FindInStory(&ctx, 0, Settings("b\rc")));
    EXPECT_FALSE(FindInStory(&ctx, 0, Settings("bc")));
}

TEST_F(FindReplaceTest, FindNextSelectsEachMatchThenBeeps)
{
    Story({"one two one", "one"});
    const FindSettings one = Settings("one");
    EXPECT_EQ(ReplaceInText(&ctx, FindMode::kFindNext, one), 1);
    EXPECT_EQ(Selection(0), (TextPosition{0, 0}));
    EXPECT_EQ(Selection(1), (TextPosition{0, 3}));
    EXPECT_TRUE(ctx.match.selected);
    EXPECT_FALSE(host.published.empty());
    EXPECT_EQ(ReplaceInText(&ctx, FindMode::kFindNext, one), 1);
    EXPECT_EQ(Selection(0), (TextPosition{0, 8}));
    EXPECT_EQ(ReplaceInText(&ctx, FindMode::kFindNext, one), 1);
    EXPECT_EQ(Selection(0), (TextPosition{1, 0}));
    EXPECT_EQ(ReplaceInText(&ctx, FindMode::kFindNext, one), 0);
    EXPECT_EQ(alerts.beeps().size(), 1u);
    // Replace acts on the match found, then finds the next.
    Story({"cat cat"});
    const FindSettings cat = Settings("cat", "dog");
    ReplaceInText(&ctx, FindMode::kFindNext, cat);
    EXPECT_EQ(ReplaceInText(&ctx, FindMode::kReplace, cat), 1);
    EXPECT_EQ(Paragraph(0), "dog cat\r");
    EXPECT_EQ(Selection(0), (TextPosition{0, 4}));
    EXPECT_EQ(host.undoSaves, 1);
}

TEST_F(FindReplaceTest, ReplaceAllCountsAndAlwaysEnds)
{
    Story({"a cat, a cat", "no", "cat"});
    EXPECT_EQ(ReplaceInText(&ctx, FindMode::kReplaceAll, Settings("cat", "dog")), 3);
    EXPECT_EQ(alerts.lastText(), "3 instances changed !");
    EXPECT_EQ(Paragraph(0), "a dog, a dog\r");
    EXPECT_EQ(Paragraph(2), "dog\r");
    // A replacement holding what it replaces: each search starts after it.
    Story({"aa a"});
    EXPECT_EQ(ReplaceInText(&ctx, FindMode::kReplaceAll, Settings("a", "aa")), 3);
    EXPECT_EQ(Paragraph(0), "aaaa aa\r");
    // An empty replacement deletes.
    Story({"x-y-z"});
    EXPECT_EQ(ReplaceInText(&ctx, FindMode::kReplaceAll, Settings("-", "")), 2);
    EXPECT_EQ(Paragraph(0), "xyz\r");
    // Nothing found: a beep.
    alerts.clear();
    EXPECT_EQ(ReplaceInText(&ctx, FindMode::kReplaceAll, Settings("q", "r")), 0);
    EXPECT_EQ(alerts.beeps().size(), 1u);
}

TEST_F(FindReplaceTest, AMatchThePargraphLimitRefusesEndsReplaceAll)
{
    std::string long_(64990, 'b');
    long_.append("x x");
    Story({long_, "x"});
    EXPECT_EQ(ReplaceInText(&ctx, FindMode::kReplaceAll, Settings("x", "0123456789ABC")), 0);
    ASSERT_FALSE(alerts.boxes().empty());
    EXPECT_EQ(alerts.boxes().front().text, "Can't paste text because paragraph is too large.");
    EXPECT_EQ(Paragraph(0).size(), 64994u);
    EXPECT_EQ(Paragraph(1), "x\r");
}

TEST_F(FindReplaceTest, TheReplacementTakesTheSelectionsFormat)
{
    Story({"plain bold plain"});
    ASSERT_NO_FATAL_FAILURE(SetRunBit(&ctx, 0, 6, 10, kRunStyle, 1));
    EXPECT_EQ(ReplaceInText(&ctx, FindMode::kReplaceAll, Settings("bold", "heavy")), 1);
    EXPECT_EQ(Paragraph(0), "plain heavy plain\r");
    RunCache run;
    ctx.SelectParagraph(0);
    ASSERT_TRUE(LoadRunAt(ctx.Current(), 8, &run));
    EXPECT_EQ(run.Value(kRankStyle), 1);
    EXPECT_FALSE(LoadRunAt(ctx.Current(), 12, &run) && run.Has(kRunStyle) && run.Value(kRankStyle) == 1);
}

}  // namespace
