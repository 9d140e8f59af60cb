#include <gtest/gtest.h>

#include <cstring>

#include "frames/style_runs.h"
#include "frames/tab_stops.h"
#include "support/alert_capture.h"
#include "text/edit_primitives.h"
#include "text/para_format.h"
#include "text_fixture.h"

namespace {

class EditTest : public TextTest {
protected:
    void Story(const std::vector<std::string>& paragraphs) { FlowStory(paragraphs, IntRect{0, 0, 600, 400}); }
    std::vector<std::string> Texts()
    {
        std::vector<std::string> out;
        for (int32_t i = 0; i < ctx.ParagraphCount(); ++i)
            out.push_back(Paragraph(i));
        return out;
    }

    AlertCapture alerts;
};

using Texts_ = std::vector<std::string>;

TEST_F(EditTest, EnterSplitsAndCarriesTheParagraphsFormat)
{
    Story({"abc", "z"});
    ctx.SelectParagraph(0);
    ParagraphText p = ctx.Current();
    ASSERT_TRUE(SetOverrideField(&p, kOverLeftIndent, 10));
    ASSERT_TRUE(p.AddTabBlock());
    SetTabsSetWord(p.TabBlock(), 1);
    SetTabPosition(p.TabBlock(), 0, 44);
    ctx.StoreFlags(p);
    ctx.SetCaretCharacter(1);
    ASSERT_TRUE(InsertCharAt(&ctx, 1, 13));
    EXPECT_EQ(ctx.ParagraphIndex(), 1);
    EXPECT_EQ(ctx.Caret(), 0);
    EXPECT_EQ(Texts(), (Texts_{"a\r", "bc\r", "z\r"}));
    ctx.SelectParagraph(1);
    const ParagraphText second = ctx.Current();
    EXPECT_EQ(EffectiveParaFormat(&styles, second, false).leftIndent, 10);
    ASSERT_NE(second.TabBlock(), nullptr);
    EXPECT_EQ(TabPosition(second.TabBlock(), 0), 44);

    // At the start: an empty paragraph before; at the end mark: one after.
    ctx.SelectParagraph(2);
    ctx.SetCaretCharacter(0);
    Flow(frame);
    ctx.SelectParagraph(2);
    ASSERT_TRUE(InsertCharAt(&ctx, 0, 13));
    Flow(frame);
    ctx.SelectParagraph(3);
    ctx.SetCaretCharacter(1);
    ASSERT_TRUE(InsertCharAt(&ctx, 1, 13));
    EXPECT_EQ(Texts(), (Texts_{"a\r", "bc\r", "\r", "z\r", "\r"}));
}

TEST_F(EditTest, JoinsKeepTheFirstParagraphAndOneEndMark)
{
    Story({"ab", "cd", "ef"});
    ASSERT_NO_FATAL_FAILURE(SetRunBit(&ctx, 1, 0, 2, kRunStyle, 1));
    // Backspace at the start of the second.
    EXPECT_EQ(DeleteCharAt(&ctx, 0, false), 0);
    EXPECT_EQ(ctx.Caret(), 2);
    EXPECT_EQ(Texts(), (Texts_{"abcd\r", "ef\r"}));
    RunCache run;
    ctx.SelectParagraph(0);
    ASSERT_TRUE(LoadRunAt(ctx.Current(), 3, &run));
    EXPECT_EQ(run.start, 2);
    EXPECT_EQ(run.Value(kRankStyle), 1);
    // Delete on the end mark.
    ctx.SelectParagraph(0);
    EXPECT_EQ(DeleteCharAt(&ctx, 4, true), 0);
    EXPECT_EQ(Texts(), (Texts_{"abcdef\r"}));
    // An ordinary deletion; nothing before the first paragraph to join.
    ctx.SelectParagraph(0);
    EXPECT_EQ(DeleteCharAt(&ctx, 1, true), 1);
    EXPECT_EQ(DeleteCharAt(&ctx, 0, false), 1);
    EXPECT_EQ(Texts(), (Texts_{"acdef\r"}));
}

TEST_F(EditTest, NoJoinOrInsertionPassesTheParagraphLimit)
{
    const std::string big(40000, 'x');
    Story({big, big});
    ctx.SelectParagraph(1);
    EXPECT_EQ(DeleteCharAt(&ctx, 0, false), 1);
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.lastText(), "Paragraph is too large. Please make a new one.");
    EXPECT_EQ(ctx.ParagraphCount(), 2);
    EXPECT_EQ(Paragraph(0).size(), 40001u);
    EXPECT_EQ(Paragraph(1).size(), 40001u);
    // A range whose two ends would join past it changes nothing either.
    DeleteRange(&ctx, TextPosition{0, 30000}, TextPosition{1, 5}, true);
    EXPECT_EQ(alerts.boxes().size(), 2u);
    EXPECT_EQ(Paragraph(0).size(), 40001u);
    // Inserting past it is refused.
    ctx.SelectParagraph(0);
    const std::string more(30000, 'y');
    EXPECT_FALSE(InsertBytes(&ctx, 5, reinterpret_cast<const uint8_t*>(more.data()), uint32_t(more.size())));
    EXPECT_EQ(Paragraph(0).size(), 40001u);
}

TEST_F(EditTest, RangesAcrossParagraphsJoinWhatIsLeft)
{
    Story({"one", "two", "three", "four"});
    DeleteRange(&ctx, TextPosition{0, 1}, TextPosition{2, 2}, true);
    EXPECT_EQ(Texts(), (Texts_{"oree\r", "four\r"}));
    // From a paragraph's start through another's end mark: both go.
    DeleteRange(&ctx, TextPosition{0, 0}, TextPosition{1, 5}, true);
    EXPECT_EQ(ctx.ParagraphCount(), 0);
    Story({"keep", "gone"});
    Select(TextPosition{1, 0}, TextPosition{1, 5});
    DeleteSelection(&ctx, true);
    EXPECT_EQ(Texts(), (Texts_{"keep\r"}));
}

TEST_F(EditTest, OnlyTheParagraphAFourthClickSelectedGoesWhole)
{
    Story({"  whole paragraph", "next"});
    host.clickState = 4;
    // The selection was narrowed after the click: only it goes.
    DeleteRange(&ctx, TextPosition{0, 4}, TextPosition{0, 8}, true);
    EXPECT_EQ(Texts(), (Texts_{"  whparagraph\r", "next\r"}));
    // As the click made it: the paragraph's record goes.
    DeleteRange(&ctx, TextPosition{0, 2}, TextPosition{0, 13}, true);
    EXPECT_EQ(Texts(), (Texts_{"next\r"}));
}

TEST_F(EditTest, LineSpacingGoesOverTheSelectedParagraphs)
{
    Story({"one", "two", "three"});
    Select(TextPosition{0, 1}, TextPosition{1, 1});
    SetLineSpacing(&ctx, 4);
    auto spacing = [&](int32_t i) {
        ctx.SelectParagraph(i);
        return EffectiveParaFormat(&styles, ctx.Current(), false).lineSpacing;
    };
    EXPECT_EQ(spacing(0), 4);
    EXPECT_EQ(spacing(1), 4);
    EXPECT_EQ(spacing(2), 0);
    SetLineSpacing(&ctx, 0);
    ctx.SelectParagraph(0);
    EXPECT_EQ(ctx.Current().OverrideBlock(), nullptr);
}

TEST_F(EditTest, SelectedTextForTheFindDialog)
{
    Story({std::string(300, 'q'), "second"});
    uint8_t out[256];
    Select(TextPosition{0, 10}, TextPosition{0, 13});
    GetSelectedText(&ctx, out);
    EXPECT_EQ(out[0], 3);
    EXPECT_EQ(std::memcmp(out + 1, "qqq", 3), 0);
    Select(TextPosition{0, 10}, TextPosition{0, 265});
    GetSelectedText(&ctx, out);
    EXPECT_EQ(out[0], 0);
    Select(TextPosition{0, 298}, TextPosition{1, 2});
    GetSelectedText(&ctx, out);
    EXPECT_EQ(out[0], 0);
}

}  // namespace
