// Key sequences typed on the card view (QTest key events routed to the Text
// tool as the view hands them on), with the Edit commands between them: the
// paragraph selection of a fourth click reshaped by Shift, the length limit
// on joins and pastes, an over-long paragraph, smart quotes, which keys
// mark the document changed, and cut, copy, paste and undo.
#include <gtest/gtest.h>

#include <QTest>
#include <cstring>

#include "editing_fixture.h"
#include "foundation/byte_order.h"
#include "frames/style_runs.h"
#include "text/para_format.h"
#include "text_tool_fixture.h"

namespace {

const std::vector<std::string> kStory = {
    "The quick brown fox",
    "  Second paragraph here",
    "Third",
};

class ToolKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.ok());
        doc = std::make_unique<ToolTextDocument>(dir.path(), &measurer, int16_t(1), int16_t(1));
        clipboard = std::make_unique<MemoryClipboard>(dir.path());
        doc->host.clipboard = clipboard.get();
        frame = doc->AddTextFrame(IntRect{20, 20, 200, 160}, kStory);
    }
    void TearDown() override { doc.reset(); }

    TextTool& Tool() { return doc->tool; }
    QWidget* View() { return &doc->view; }
    void ClickAt(int32_t paragraph, int32_t character, uint8_t clicks = 1)
    {
        doc->Click(doc->At(frame, paragraph, character), clicks);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(View(), key, modifiers);
    }
    std::string Para(int32_t i) { return doc->Paragraph(frame, i); }
    int32_t Count() { return doc->ParagraphCount(frame); }
    bool Selected() { return doc->frames.IsInEdit(frame); }
    // The run value of an attribute at a character, or -999 without one.
    int16_t RunValue(int32_t paragraph, int32_t character, uint16_t bit, int rank)
    {
        Tool().BindEditor();
        doc->ctx.SelectParagraph(paragraph);
        RunCache run;
        return LoadRunAt(doc->ctx.Current(), character, &run) && run.Has(bit) ? run.Value(rank) : int16_t(-999);
    }
    TextPosition Caret()
    {
        Tool().BindEditor();
        return doc->ctx.CaretPosition();
    }

    TempDir dir;
    FixedMeasurer measurer;
    AlertCapture alerts;
    std::unique_ptr<ToolTextDocument> doc;
    std::unique_ptr<MemoryClipboard> clipboard;
    FrameObjText* frame = nullptr;
};

TEST_F(ToolKeysTest, MovesAndSelectionsLeaveTheDocumentUnchangedWhereTypingChangesIt)
{
    ClickAt(0, 4);
    doc->host.modified = false;
    Key(Qt::Key_Right, Qt::NoModifier, 2);
    Key(Qt::Key_Left);
    Key(Qt::Key_Down);
    Key(Qt::Key_Up);
    Key(Qt::Key_End);
    Key(Qt::Key_Home);
    EXPECT_EQ(Caret(), (TextPosition{0, 0}));
    Key(Qt::Key_Right, Qt::ShiftModifier, 3);
    EXPECT_TRUE(Selected());
    EXPECT_EQ(doc->Ref(frame, 1), (TextPosition{0, 3}));
    std::string menu;
    EXPECT_FALSE(Tool().GetUndoMenuText(&menu));
    EXPECT_FALSE(doc->host.modified);

    // Typing replaces the selection; Enter splits, Shift+Enter breaks the
    // line inside the paragraph.
    QTest::keyClicks(View(), "A");
    EXPECT_FALSE(Selected());
    EXPECT_TRUE(doc->host.modified);
    Key(Qt::Key_Return);
    QTest::keyClicks(View(), "b");
    Key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Count(), 4);
    EXPECT_EQ(Para(0), "A");
    EXPECT_EQ(Para(1), std::string("b\0 quick brown fox", 18));
    EXPECT_EQ(Caret(), (TextPosition{1, 2}));
    // Backspace takes the break, then Backspace at a paragraph's start joins.
    Key(Qt::Key_Backspace, Qt::NoModifier, 3);
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(Para(0), "A quick brown fox");
    EXPECT_EQ(Caret(), (TextPosition{0, 1}));
}

TEST_F(ToolKeysTest, AFourthClickReshapedByShiftDeletesOnlyTheSelection)
{
    ClickAt(1, 5, 4);
    EXPECT_EQ(Tool().ClickState(), 4);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Tool().ClickState(), 0);
    Key(Qt::Key_Backspace);
    // The selection began after the leading spaces; the caret passed the
    // "e" of "Second", which left the selection.
    ASSERT_EQ(Count(), 3);
    EXPECT_EQ(Para(1), "  cond paragraph here");
    EXPECT_EQ(Para(2), "Third");

    // Typed over as the click made it, the paragraph goes whole and the
    // character starts the next one.
    ClickAt(1, 5, 4);
    QTest::keyClicks(View(), "X");
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(Para(1), "XThird");
}

TEST_F(ToolKeysTest, JoinsAndPastesPastTheLimitAreRefusedAndChangeNothing)
{
    const std::string big(kParagraphMaxLength - 1, 'b');
    doc->SetStory(frame, {"ab", big});
    // Delete at the end of the short paragraph and Backspace at the start of
    // the long one would both make one of 65502 characters.
    ClickAt(0, 2);
    Key(Qt::Key_Delete);
    EXPECT_EQ(alerts.boxes().size(), 1u);
    ClickAt(1, 0);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(alerts.boxes().size(), 2u);
    EXPECT_EQ(alerts.lastText(), "Paragraph is too large. Please make a new one.");
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(Para(0), "ab");
    EXPECT_EQ(Para(1), big);

    // "ab" copied and pasted into the long paragraph.
    ClickAt(0, 0);
    Key(Qt::Key_Right, Qt::ShiftModifier, 2);
    ASSERT_TRUE(Tool().CanDoEditCommand(2));
    EXPECT_TRUE(Tool().DoEditCommand(2));
    ClickAt(1, 3);
    ASSERT_TRUE(Tool().CanDoEditCommand(4));
    EXPECT_TRUE(Tool().DoEditCommand(4));
    EXPECT_EQ(alerts.lastText(), "Can't paste text because paragraph is too large.");
    EXPECT_EQ(Para(0), "ab");
    EXPECT_EQ(Para(1), big);
    EXPECT_EQ(Caret(), (TextPosition{1, 3}));
}

TEST_F(ToolKeysTest, AnOverlongParagraphStillTakesMovesSelectionsAndDeletions)
{
    doc->SetStory(frame, {"x"});
    // Only an old file holds such a paragraph: it is made by hand.
    doc->ctx.SelectParagraph(0);
    Handle h = doc->ctx.Current().handle();
    ASSERT_EQ(HandleResize(h, 8 + 65501 + 256), 0);
    PutU16LE(HandleData(h) + 4, 65501);
    std::memset(HandleData(h) + 8, 'x', 65500);
    HandleData(h)[8 + 65500] = 13;
    doc->Flow(frame);
    ClickAt(0, 5);
    QTest::keyClicks(View(), "y");
    EXPECT_EQ(alerts.lastText(), "Paragraph is too large. Please make a new one.");
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    Key(Qt::Key_Home);
    EXPECT_EQ(Caret().paragraph, 0u);
    EXPECT_GT(Caret().character, 5);
    Key(Qt::Key_Right, Qt::ShiftModifier, 2);
    EXPECT_TRUE(Selected());
    Key(Qt::Key_Delete);
    EXPECT_EQ(Para(0).size(), 65498u);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Para(0).size(), 65497u);
    // Back under the limit, typing goes in again.
    QTest::keyClicks(View(), "yz");
    EXPECT_EQ(Para(0).size(), 65499u);
    EXPECT_EQ(alerts.boxes().size(), 1u);
}

TEST_F(ToolKeysTest, SmartQuotesFollowTheCharacterWhateverShiftSays)
{
    doc->host.prefs.smartQuotes = true;
    doc->host.prefs.quoteStyle = 3;
    ClickAt(2, 5);
    // An apostrophe typed with Shift (as some layouts need) stays single; a
    // double quote typed without it stays double.
    QTest::keyClick(View(), '\'', Qt::ShiftModifier);
    QTest::keyClick(View(), '"');
    QTest::keyClick(View(), ' ');
    QTest::keyClick(View(), '"', Qt::ShiftModifier);
    QTest::keyClick(View(), ' ');
    QTest::keyClick(View(), '\'');
    EXPECT_EQ(Para(2), "Third\x92\xBB \xAB \x91");
}

TEST_F(ToolKeysTest, CutCopyPasteAndUndoGoThroughTheClipboard)
{
    ClickAt(0, 4);
    EXPECT_FALSE(Tool().CanDoEditCommand(1));
    EXPECT_FALSE(Tool().CanDoEditCommand(4));
    Key(Qt::Key_Right, Qt::ShiftModifier, 6);
    ASSERT_TRUE(Tool().CanDoEditCommand(1));
    EXPECT_TRUE(Tool().DoEditCommand(1));
    EXPECT_EQ(Para(0), "The brown fox");
    EXPECT_FALSE(Selected());
    std::string menu;
    ASSERT_TRUE(Tool().GetUndoMenuText(&menu));

    // Pasted across a paragraph end: one paragraph goes into another.
    ClickAt(2, 0);
    EXPECT_TRUE(Tool().DoEditCommand(4));
    EXPECT_EQ(Para(2), "quick Third");
    EXPECT_EQ(Caret(), (TextPosition{2, 6}));
    // Undo takes the paste back, but not the cut before it (each command
    // keeps its own state).
    Tool().UndoRedo();
    EXPECT_EQ(Para(2), "Third");
    EXPECT_EQ(Para(0), "The brown fox");
    Tool().UndoRedo();
    EXPECT_EQ(Para(2), "quick Third");

    // Several paragraphs copied whole and pasted over a selection.
    ClickAt(1, 2);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_End, Qt::ShiftModifier);
    ASSERT_TRUE(Selected());
    EXPECT_TRUE(Tool().DoEditCommand(2));
    EXPECT_EQ(Para(1), "  Second paragraph here");
    ClickAt(0, 4);
    Key(Qt::Key_Right, Qt::ShiftModifier, 5);
    EXPECT_TRUE(Tool().DoEditCommand(4));
    ASSERT_EQ(Count(), 4);
    EXPECT_EQ(Para(0), "The Second paragraph here");
    EXPECT_EQ(Para(1), "quick Third fox");
    // Clear deletes without copying.
    ClickAt(0, 0);
    Key(Qt::Key_Right, Qt::ShiftModifier, 4);
    EXPECT_TRUE(Tool().DoEditCommand(3));
    EXPECT_EQ(Para(0), "Second paragraph here");
    EXPECT_EQ(Para(1), "quick Third fox");
}

TEST_F(ToolKeysTest, FormatCommandsActOnTheSelectionOrTheNextTypedCharacter)
{
    ClickAt(0, 4);
    Key(Qt::Key_Right, Qt::ShiftModifier, 5);
    // Bold as the text bar toggles it: the new style, and the bit with
    // 0x4000 to turn it on.
    Tool().SetFontStyle(1, 0, 0x4001);
    EXPECT_EQ(RunValue(0, 4, kRunStyle, kRankStyle), 1);
    EXPECT_EQ(RunValue(0, 8, kRunStyle, kRankStyle), 1);
    EXPECT_EQ(RunValue(0, 9, kRunStyle, kRankStyle), -999);
    TextAttrs attrs;
    Tool().GetTextAttrs(&attrs);
    EXPECT_EQ(attrs.style, 1);
    Tool().SetBaselineStyle(-1);
    EXPECT_EQ(RunValue(0, 6, kRunSuperSub, kRankSuperSub), -1);
    // Plain takes the bits, and the raised text with them.
    Tool().SetFontStyle(0, 1, 0);
    EXPECT_EQ(RunValue(0, 6, kRunStyle, kRankStyle), 0);
    EXPECT_EQ(RunValue(0, 6, kRunSuperSub, kRankSuperSub), 0);
    EXPECT_EQ(Para(0), kStory[0]);

    // At a caret nothing changes until a character is typed.
    ClickAt(2, 5);
    Tool().SetFontSize(20);
    EXPECT_EQ(Para(2), "Third");
    QTest::keyClicks(View(), "X");
    EXPECT_EQ(Para(2), "ThirdX");
    EXPECT_EQ(RunValue(2, 5, kRunSize, kRankSize), 20);
    // Pair spacing at a paragraph's start has no character to space from.
    ClickAt(1, 0);
    alerts.clear();
    Tool().SetTextToolAttrB(5);
    EXPECT_EQ(alerts.beeps().size(), 1u);
    Tool().GetTextAttrs(&attrs);
    EXPECT_EQ(attrs.toolWordB, 0);

    // Paragraph formats go to the caret's paragraph.
    Tool().SetAlignment(2);
    Tool().BindEditor();
    doc->ctx.SelectParagraph(1);
    EXPECT_EQ(EffectiveParaFormat(doc->ctx.Styles(), doc->ctx.Current(), false).alignment, 2);
    doc->ctx.SelectParagraph(0);
    EXPECT_NE(EffectiveParaFormat(doc->ctx.Styles(), doc->ctx.Current(), false).alignment, 2);
}

}  // namespace
