#include <gtest/gtest.h>

#include "editing_fixture.h"
#include "frames/style_runs.h"
#include "support/alert_capture.h"
#include "text/clipboard_text.h"

namespace {

class ClipboardTest : public EditingTest {
protected:
    void Run(int32_t paragraph, int32_t s, int32_t e, uint16_t bit, int16_t value, const RunExtras& extras = {})
    {
        SetRunBit(&ctx, paragraph, s, e, bit, value, extras);
    }
    int16_t StyleAt(int32_t paragraph, int32_t i)
    {
        ctx.SelectParagraph(paragraph);
        RunCache run;
        return LoadRunAt(ctx.Current(), i, &run) ? run.Value(kRankStyle) : -1;
    }
    void Copy(TextPosition a, TextPosition b)
    {
        Select(a, b);
        ASSERT_EQ(CopySelectionToClipboard(&ctx), 1);
        doc.frames.SetEditFlag(host.editFrame, false);
    }
    // Field 5 shows its column's name, "Company".
    void FieldStory()
    {
        Story({"next", "abCompanycd"});
        RunExtras field;
        field.fieldId = 5;
        field.fieldLength = 7;
        Run(1, 2, 3, kRunField, 0, field);
    }

    AlertCapture alerts;
};

TEST_F(ClipboardTest, CopiedTextKeepsItsRunsAndGoesInAtTheCaretOrOverTheSelection)
{
    EXPECT_EQ(CopySelectionToClipboard(&ctx), 0);
    Story({"abcdef"});
    Run(0, 2, 4, kRunStyle, 1);
    EXPECT_FALSE(CanPasteText(&ctx));
    Copy({0, 1}, {0, 4});
    EXPECT_EQ(clipboard->ContentKind(), TextClipboard::kContentText);
    Caret(0, 6);
    EXPECT_EQ(PasteText(&ctx), 1);
    EXPECT_EQ(Texts(), (Paras{"abcdefbcd\r"}));
    EXPECT_EQ(CaretAt(), (TextPosition{0, 9}));
    EXPECT_EQ(StyleAt(0, 6), -1);
    EXPECT_EQ(StyleAt(0, 8), 1);
    Select({0, 0}, {0, 6});
    EXPECT_EQ(PasteText(&ctx), 1);
    EXPECT_EQ(Texts(), (Paras{"bcdbcd\r"}));
    EXPECT_FALSE(Selected());
}

TEST_F(ClipboardTest, SeveralParagraphsJoinTheTextAroundTheCaret)
{
    Story({"one", "two", "three"});
    Copy({0, 1}, {2, 2});
    Story({"[]"});
    Caret(0, 1);
    EXPECT_EQ(PasteText(&ctx), 1);
    EXPECT_EQ(Texts(), (Paras{"[ne\r", "two\r", "th]\r"}));
    EXPECT_EQ(CaretAt(), (TextPosition{2, 2}));
    // A selection ending at a paragraph's start copies its break.
    Copy({1, 1}, {2, 0});
    Caret(2, 3);
    PasteText(&ctx);
    EXPECT_EQ(Texts(), (Paras{"[ne\r", "two\r", "th]wo\r", "\r"}));
}

TEST_F(ClipboardTest, APasteThatWouldOverfillAParagraphChangesNothing)
{
    Story({"ab", std::string(40000, 'y')});
    Copy({0, 1}, {1, 40000});
    // The first pasted paragraph fits; the last, joined to the 30000
    // characters after the caret, would not.
    Story({std::string(30000, 'x')});
    Caret(0, 10);
    EXPECT_EQ(PasteText(&ctx), 0);
    EXPECT_EQ(alerts.lastText(), "Can't paste text because paragraph is too large.");
    EXPECT_EQ(Texts().size(), 1u);
    Caret(0, 10000);
    EXPECT_EQ(PasteText(&ctx), 1);
    EXPECT_EQ(Texts()[1].size(), 60001u);
}

TEST_F(ClipboardTest, FieldsTravelWholeOrAsPlainText)
{
    FieldStory();
    Copy({1, 1}, {1, 10});
    Story({""});
    PasteText(&ctx);
    ctx.SelectParagraph(0);
    int32_t start = -1;
    EXPECT_EQ(GetFieldRunAt(ctx.Current(), 3, &start), 7);
    EXPECT_EQ(start, 1);
    // Not into a field's characters.
    Caret(0, 3);
    EXPECT_EQ(PasteText(&ctx), 0);
    EXPECT_EQ(alerts.beeps().size(), 1u);
    // Cut inside the field: its characters come as text, and the text
    // after them stays.
    FieldStory();
    Copy({0, 0}, {1, 5});
    Story({"zz"});
    Caret(0, 1);
    PasteText(&ctx);
    EXPECT_EQ(Texts(), (Paras{"znext\r", "abComz\r"}));
    ctx.SelectParagraph(1);
    EXPECT_EQ(GetFieldRunAt(ctx.Current(), 3, &start), 0);
}

}  // namespace
