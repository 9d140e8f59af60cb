#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <cstring>

#include "editing_fixture.h"
#include "frames/style_runs.h"
#include "support/alert_capture.h"
#include "text/key_event_qt.h"
#include "text/para_format.h"

namespace {

using Range = std::pair<TextPosition, TextPosition>;

class KeyboardTest : public EditingTest {
protected:
    AlertCapture alerts;
};

TEST_F(KeyboardTest, TypingAndSplittingMarkTheDocumentWhereMovesDoNot)
{
    Story({"abc"});
    Caret(0, 3);
    EXPECT_EQ(Type("d"), ReflowLevel::kLocal);
    EXPECT_EQ(Press(kKeyLeft), ReflowLevel::kNone);
    Press(kKeyHome);
    EXPECT_EQ(host.modified, 1);
    EXPECT_EQ(Type("\r"), ReflowLevel::kFrame);
    EXPECT_EQ(CaretAt(), (TextPosition{1, 0}));
    // Shift+Enter breaks the line inside the paragraph.
    Caret(1, 2);
    Type("\r", true);
    EXPECT_EQ(Texts(), (Paras{"\r", std::string("ab\0cd\r", 6)}));
    EXPECT_EQ(CaretAt(), (TextPosition{1, 3}));
    EXPECT_EQ(host.modified, 3);
    host.editFrame = nullptr;
    EXPECT_EQ(HandleKey(&ctx, TypedKey('x')), 0);
}

TEST_F(KeyboardTest, TypingAheadLeavesTheFlowToTheEndOfTheRun)
{
    // Kept with the next paragraph: a line more cannot be laid out locally.
    Story({"aaaa bbbb", "next"});
    ParagraphText p = ctx.Current();
    ASSERT_TRUE(SetOverrideField(&p, kOverKeepNext, 1));
    ctx.StoreFlags(p);
    Caret(0, 9);
    EXPECT_EQ(Type(" "), ReflowLevel::kLocal);
    EXPECT_EQ(Type("c"), ReflowLevel::kDeferred);
    EXPECT_EQ(Type("d"), ReflowLevel::kDeferred);
    FlowPendingText(&ctx);
    EXPECT_EQ(ctx.Lines().Count(), 3);
    EXPECT_EQ(CaretAt(), (TextPosition{0, 12}));
    // A move first brings the lines up to date.
    Type("e");
    Press(kKeyLeft);
    EXPECT_EQ(ctx.Lines().At(2).count, 4);
    EXPECT_EQ(CaretAt(), (TextPosition{0, 12}));
}

TEST_F(KeyboardTest, BackspaceAndDeleteJoinAtParagraphEnds)
{
    Story({"ab", "cd"});
    Caret(1, 0);
    EXPECT_EQ(Type("\b"), ReflowLevel::kFrame);
    EXPECT_EQ(CaretAt(), (TextPosition{0, 2}));
    Press(kKeyDelete);
    Type("\b");
    EXPECT_EQ(Texts(), (Paras{"ad\r"}));
    // The story's start and its last end mark: nothing changes.
    const int32_t modified = host.modified;
    Caret(0, 0);
    Type("\b");
    Caret(0, 2);
    Press(kKeyDelete);
    EXPECT_EQ(Texts(), (Paras{"ad\r"}));
    EXPECT_EQ(host.modified, modified);
}

TEST_F(KeyboardTest, ShiftSelectsWhatTheCaretPassesAcrossParagraphs)
{
    Story({"abcd", "efgh"});
    Caret(0, 2);
    Press(kKeyLeft, true);
    EXPECT_EQ(Selection(), (Range{{0, 1}, {0, 2}}));
    EXPECT_EQ(host.undoClears, 1);
    Press(kKeyLeft, true);
    EXPECT_EQ(Selection(), (Range{{0, 0}, {0, 2}}));
    // From a paragraph's start: the previous end mark up to it, which
    // Backspace then joins.
    doc.frames.SetEditFlag(host.editFrame, false);
    Caret(1, 0);
    Press(kKeyLeft, true);
    EXPECT_EQ(Selection(), (Range{{0, 4}, {1, 0}}));
    EXPECT_EQ(Type("\b"), ReflowLevel::kPage);
    EXPECT_EQ(Texts(), (Paras{"abcdefgh\r"}));
    // Where the caret cannot move, nothing is selected.
    Caret(0, 0);
    Press(kKeyLeft, true);
    EXPECT_FALSE(Selected());
}

TEST_F(KeyboardTest, MovesReshapeOrCollapseASelection)
{
    Story({"abcdef"});
    Select({0, 1}, {0, 4});
    Caret(0, 4);
    Press(kKeyLeft);
    EXPECT_FALSE(Selected());
    EXPECT_EQ(CaretAt(), (TextPosition{0, 3}));
    Select({0, 1}, {0, 4});
    Caret(0, 4);
    Press(kKeyRight, true);
    EXPECT_EQ(Selection(), (Range{{0, 1}, {0, 5}}));
    Press(kKeyLeft, true);
    Press(kKeyLeft, true);
    EXPECT_EQ(Selection(), (Range{{0, 1}, {0, 3}}));
    // Up without Shift collapses to the start; with Shift on the first line
    // it beeps and keeps the selection.
    Press(kKeyUp, true);
    EXPECT_EQ(alerts.beeps().size(), 1u);
    EXPECT_EQ(Selection(), (Range{{0, 1}, {0, 3}}));
    Press(kKeyUp);
    EXPECT_EQ(CaretAt(), (TextPosition{0, 1}));
    EXPECT_FALSE(Selected());
    // A typed key replaces a selection.
    Select({0, 0}, {0, 4});
    EXPECT_EQ(Type("X"), ReflowLevel::kPage);
    EXPECT_EQ(Texts(), (Paras{"Xef\r"}));
    EXPECT_EQ(CaretAt(), (TextPosition{0, 1}));
}

TEST_F(KeyboardTest, AReshapedFourthClickSelectionDeletesOnlyWhatIsSelected)
{
    Story({"  whole paragraph", "next"});
    host.clickState = 4;
    Select({0, 2}, {0, 17});
    Caret(0, 17);
    Press(kKeyLeft, true);
    Type("\b");
    EXPECT_EQ(Texts(), (Paras{"  h\r", "next\r"}));
    // Typed over as the click made it: the paragraph goes whole.
    Select({0, 2}, {0, 3});
    Type("X");
    EXPECT_EQ(Texts(), (Paras{"Xnext\r"}));
}

TEST_F(KeyboardTest, VerticalMovesKeepTheColumnAndStayInAnUnchainedFrame)
{
    Story({"aaaa bbbb cccc dddd"});
    Caret(0, 2);
    Press(kKeyDown);
    EXPECT_EQ(CaretAt(), (TextPosition{0, 12}));
    Press(kKeyDown);
    EXPECT_EQ(CaretAt(), (TextPosition{0, 19}));
    Press(kKeyUp, true);
    EXPECT_EQ(Selection(), (Range{{0, 9}, {0, 19}}));
    doc.frames.SetEditFlag(host.editFrame, false);
    Caret(0, 3);
    Press(kKeyUp);
    EXPECT_EQ(CaretAt(), (TextPosition{0, 0}));
}

TEST_F(KeyboardTest, TheCaretCrossesBetweenChainedFrames)
{
    Chain({"aaaa bbbb cccc"});
    Caret(0, 3);
    Press(kKeyDown);
    EXPECT_EQ(host.editFrame, second);
    EXPECT_EQ(ctx.Frame(), second);
    EXPECT_EQ(CaretAt(), (TextPosition{0, 10}));
    Press(kKeyUp);
    EXPECT_EQ(host.editFrame, first);
    EXPECT_EQ(CaretAt(), (TextPosition{0, 8}));
    // Backspace at the second frame's start edits the first.
    host.editFrame = second;
    Caret(0, 10);
    Type("\b");
    EXPECT_EQ(Texts(), (Paras{"aaaa bbbbcccc\r"}));
    EXPECT_EQ(host.editFrame, first);
}

TEST_F(KeyboardTest, SmartQuotesFollowTheCharacterTyped)
{
    host.prefs.smartQuotes = true;
    host.prefs.quoteStyle = 3;
    Story({"a "});
    Caret(0, 2);
    for (const char* key : {"\"", "b", "\"", " "})
        Type(key, true);
    // An apostrophe keeps the single pair whatever Shift says.
    Type("'", true);
    Type("c'");
    EXPECT_EQ(Texts(), (Paras{"a \xAB" "b\xBB \x91" "c\x92\r"}));
    host.prefs.smartQuotes = false;
    Story({""});
    Type("\"", true);
    EXPECT_EQ(Texts(), (Paras{"\"\r"}));
}

TEST_F(KeyboardTest, AFieldsCharactersAreEditedOnlyAsAWhole)
{
    // Field 5 shows its column's name.
    Story({"abCompanycd"});
    ParagraphText p = ctx.Current();
    ASSERT_TRUE(MarkFieldRun(&p, 2, 5, 7));
    ctx.StoreFlags(p);
    Caret(0, 2);
    Press(kKeyDelete);
    Caret(0, 9);
    Type("\b");
    Caret(0, 5);
    Type("x");
    Select({0, 0}, {0, 4});
    Press(kKeyDelete);
    Select({0, 4}, {0, 10});
    Type("y");
    EXPECT_EQ(alerts.beeps().size(), 5u);
    EXPECT_EQ(Texts(), (Paras{"abCompanycd\r"}));
    EXPECT_EQ(host.modified, 0);
    // At its edges the text around it changes; as a whole it goes.
    doc.frames.SetEditFlag(host.editFrame, false);
    Caret(0, 9);
    Type("x");
    Caret(0, 2);
    Type("z");
    EXPECT_EQ(Texts(), (Paras{"abzCompanyxcd\r"}));
    Select({0, 3}, {0, 10});
    Press(kKeyDelete);
    EXPECT_EQ(Texts(), (Paras{"abzxcd\r"}));
}

TEST_F(KeyboardTest, AnOverlongParagraphCanStillBeMovedInAndShortened)
{
    // Only an old file holds such a paragraph: it is made by hand.
    FrameObjText* frame = Story({"x"});
    Handle h = ctx.Current().handle();
    ASSERT_EQ(HandleResize(h, 8 + 65501 + 256), 0);
    PutU16LE(HandleData(h) + 4, 65501);
    std::memset(HandleData(h) + 8, 'x', 65500);
    HandleData(h)[8 + 65500] = 13;
    Flow(frame);
    Caret(0, 5);
    Type("y");
    EXPECT_EQ(alerts.lastText(), "Paragraph is too large. Please make a new one.");
    Press(kKeyRight);
    Type("\b");
    EXPECT_EQ(Texts()[0].size(), 65500u);
    // At the limit typing is still refused; Enter splits.
    Type("y");
    EXPECT_EQ(alerts.boxes().size(), 2u);
    Type("\r");
    EXPECT_EQ(Texts()[0].size(), 6u);
}

TEST_F(KeyboardTest, TypedTextTakesTheToolsTypingAttributes)
{
    host.typing[kRankStyle] = 1;
    Story({"ab"});
    Type("xy");
    ctx.SelectParagraph(0);
    RunCache run;
    for (int32_t i : {0, 1}) {
        ASSERT_TRUE(LoadRunAt(ctx.Current(), i, &run));
        EXPECT_EQ(run.Value(kRankStyle), 1);
    }
    EXPECT_FALSE(LoadRunAt(ctx.Current(), 2, &run));
}

// Records the key presses a widget receives, as the card view will.
class KeyRecorder : public QWidget {
public:
    std::vector<KeyEvent> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        for (const KeyEvent& k : KeyEventsFromQt(*event))
            keys.push_back(k);
    }
};

TEST(KeyEventsFromQt, KeyDownsAndTypedCharacters)
{
    KeyRecorder w;
    QTest::keyClick(&w, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&w, Qt::Key_Delete);
    QTest::keyClick(&w, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(&w, Qt::Key_Backspace);
    QTest::sendKeyEvent(QTest::Click, &w, Qt::Key_Eacute, QString(QChar(0xE9)), Qt::NoModifier);
    QTest::keyClick(&w, Qt::Key_PageUp);
    QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(w.keys.size(), 5u);
    EXPECT_TRUE(IsKeyDown(w.keys[0], kKeyLeft));
    EXPECT_EQ(w.keys[0].shift, 1);
    EXPECT_TRUE(IsKeyDown(w.keys[1], kKeyDelete));
    EXPECT_EQ(w.keys[2].keyCode, kKeyEnter);
    EXPECT_EQ(w.keys[2].virtualKey, 0u);
    EXPECT_EQ(w.keys[3].keyCode, kKeyBackspace);
    EXPECT_EQ(w.keys[4].keyCode, 0xE9u);
    // A typed '%' (37) is no Left arrow.
    EXPECT_FALSE(IsKeyDown(TypedKey('%'), kKeyLeft));
}

}  // namespace
