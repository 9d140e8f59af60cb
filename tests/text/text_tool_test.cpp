// The Text tool on a card page: entering and leaving a frame, clicks and
// drags that select, keys with undo, page numbers and merge fields.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include "database/field_table.h"
#include "frames/style_runs.h"
#include "platform/key_event.h"
#include "text/para_format.h"
#include "text/selection_highlight.h"
#include "text/text_tool.h"
#include "text_tool_fixture.h"

namespace {

const std::vector<std::string> kStory = {
    "The quick brown fox jumps over the lazy dog and keeps on running",
    "  Second paragraph here",
    "Third",
};

class TextToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.ok());
        doc = std::make_unique<ToolTextDocument>(dir.path(), &measurer, int16_t(1), int16_t(1));
        frame = doc->AddTextFrame(IntRect{20, 20, 200, 160}, kStory);
    }
    TextTool& Tool() { return doc->tool; }
    // A click that puts the caret before the position.
    void ClickAt(int32_t paragraph, int32_t character, uint8_t clicks = 1)
    {
        doc->Click(doc->At(frame, paragraph, character), clicks);
    }
    // Presses at the first position and lets go at the second, the pointer
    // moved by QTest mouse events inside the drag.
    void Drag(TextPosition from, TextPosition to)
    {
        const QPoint a = doc->view.Pixel(doc->At(frame, int32_t(from.paragraph), from.character));
        const QPoint b = doc->view.Pixel(doc->At(frame, int32_t(to.paragraph), to.character));
        doc->clickState = 1;
        QTimer::singleShot(0, &doc->view, [&] { QTest::mouseMove(&doc->view, (a + b) / 2); });
        QTimer::singleShot(5, &doc->view, [&] {
            QTest::mouseMove(&doc->view, b);
            QTest::mouseRelease(&doc->view, Qt::LeftButton, {}, b);
        });
        QTest::mousePress(&doc->view, Qt::LeftButton, {}, a);
    }
    void Type(const std::string& text)
    {
        for (char c : text)
            Tool().KeyDown(TypedKey(uint8_t(c)));
    }
    void ExpectSelection(TextPosition start, TextPosition end)
    {
        EXPECT_TRUE(doc->frames.IsInEdit(frame));
        EXPECT_EQ(doc->Ref(frame, 0), start);
        EXPECT_EQ(doc->Ref(frame, 1), end);
    }

    TempDir dir;
    FixedMeasurer measurer;
    AlertCapture alerts;
    std::unique_ptr<ToolTextDocument> doc;
    FrameObjText* frame = nullptr;
};

TEST_F(TextToolTest, OneToFourClicksSelectWordLineAndParagraph)
{
    ClickAt(0, 6);
    EXPECT_EQ(Tool().EditFrame(), frame);
    EXPECT_FALSE(doc->frames.IsInEdit(frame));
    EXPECT_TRUE(doc->caret.IsVisible());
    EXPECT_EQ(doc->ctx.CaretPosition(), (TextPosition{0, 6}));

    ClickAt(0, 6, 2);
    ExpectSelection({0, 4}, {0, 9});
    EXPECT_FALSE(doc->caret.IsVisible());

    ClickAt(0, 6, 3);
    const TextLineRecord line = doc->ctx.Lines().At(1);
    ExpectSelection({0, 0}, {0, uint16_t(line.End())});

    // The paragraph from its first character that is not a space.
    ClickAt(1, 5, 4);
    ExpectSelection({1, 2}, {1, uint16_t(kStory[1].size())});
    EXPECT_EQ(Tool().ClickState(), 4);
}

TEST_F(TextToolTest, DragSelectsTheSameRangeInEitherDirection)
{
    ClickAt(2, 0);
    // The picture without the caret, which the drag takes away.
    doc->caret.Hide(true);
    const QImage before = doc->view.surface.copy();
    Drag({0, 4}, {1, 8});
    ExpectSelection({0, 4}, {1, 8});
    // The feedback went and the selection shows once: inverting it again
    // gives the picture back.
    ToggleSelectionHighlight(&doc->ctx, doc->view.GetViewDC());
    EXPECT_EQ(doc->view.surface, before);
    ToggleSelectionHighlight(&doc->ctx, doc->view.GetViewDC());

    Drag({1, 8}, {0, 4});
    ExpectSelection({0, 4}, {1, 8});

    // Back and forth to where it began selects nothing and shows the caret.
    Drag({0, 10}, {0, 10});
    EXPECT_FALSE(doc->frames.IsInEdit(frame));
    EXPECT_TRUE(doc->caret.IsVisible());
}

TEST_F(TextToolTest, UndoGivesBackTheTextOfBeforeTheRunOfTyping)
{
    ClickAt(0, 4);
    // Caret keys never make an undo state.
    Tool().KeyDown(DownKey(kKeyRight));
    Tool().KeyDown(DownKey(kKeyLeft));
    std::string menu;
    EXPECT_FALSE(Tool().GetUndoMenuText(&menu));

    Type("XY");
    EXPECT_EQ(doc->Paragraph(frame, 0).substr(0, 12), "The XYquick ");
    EXPECT_TRUE(Tool().GetUndoMenuText(&menu));
    EXPECT_EQ(menu, "Undo Change Text");
    EXPECT_EQ(doc->UndoOwner(), &Tool());

    const int16_t edited = frame->Block().storyId;
    Tool().UndoRedo();
    EXPECT_NE(frame->Block().storyId, edited);
    EXPECT_EQ(doc->Paragraph(frame, 0), kStory[0]);
    EXPECT_EQ(doc->ParagraphCount(frame), 3);
    EXPECT_TRUE(Tool().GetUndoMenuText(&menu));
    EXPECT_EQ(menu, "Redo Change Text");

    Tool().UndoRedo();
    EXPECT_EQ(frame->Block().storyId, edited);
    EXPECT_EQ(doc->Paragraph(frame, 0).substr(0, 12), "The XYquick ");

    // Leaving the tool forgets the undo state and the copy with it.
    Tool().Deactivate();
    EXPECT_FALSE(Tool().GetUndoMenuText(&menu));
}

TEST_F(TextToolTest, FourthClickDeletesTheParagraphOnlyWhileItsSelectionStands)
{
    ClickAt(1, 5, 4);
    Tool().KeyDown(TypedKey(kKeyBackspace));
    EXPECT_EQ(doc->ParagraphCount(frame), 2);
    EXPECT_EQ(doc->Paragraph(frame, 1), "Third");

    // Reshaped after the click (as Shift and an arrow do), the selection
    // alone goes; the paragraph stays with the rest of its text.
    ClickAt(0, 10, 4);
    EXPECT_EQ(Tool().ClickState(), 4);
    doc->frames.SetTextRef(frame->FrameId(), 1, 0, 9);
    EXPECT_EQ(Tool().ClickState(), 0);
    Tool().KeyDown(TypedKey(kKeyBackspace));
    EXPECT_EQ(doc->ParagraphCount(frame), 2);
    EXPECT_EQ(doc->Paragraph(frame, 0), kStory[0].substr(9));
}

TEST_F(TextToolTest, TypingPutsTheReflowOffUntilTheKeysStop)
{
    // Kept with the next paragraph: a line more cannot be laid out locally.
    doc->SetStory(frame, {"aaaa bbbb cccc dddd eeee ffff", "next"});
    doc->ctx.SelectParagraph(0);
    ParagraphText p = doc->ctx.Current();
    ASSERT_TRUE(SetOverrideField(&p, kOverKeepNext, 1));
    doc->ctx.StoreFlags(p);
    doc->Flow(frame);
    ClickAt(0, 29);
    int32_t before = doc->layouts;
    Type(" gg");
    EXPECT_TRUE(Tool().ReflowPending());
    EXPECT_EQ(doc->layouts, before);
    QCoreApplication::processEvents();
    EXPECT_FALSE(Tool().ReflowPending());
    EXPECT_EQ(doc->layouts, before + 1);
    EXPECT_EQ(doc->Paragraph(frame, 0), "aaaa bbbb cccc dddd eeee ffff gg");

    // A move first brings the lines up to date; so does the end of editing.
    const std::string line(30, 'h');
    before = doc->layouts;
    Type(line);
    EXPECT_EQ(doc->layouts, before);
    Tool().KeyDown(DownKey(kKeyLeft));
    EXPECT_EQ(doc->layouts, before + 1);
    Type(line);
    EXPECT_EQ(doc->layouts, before + 1);
    Tool().EndEdit(1);
    EXPECT_GT(doc->layouts, before + 1);
    EXPECT_FALSE(Tool().ReflowPending());
}

TEST_F(TextToolTest, MergeFieldGoesInAtTheCaretButNeverInsideAnother)
{
    doc->host.showFieldNames = true;
    ClickAt(1, 9);
    const int32_t column = FieldIndexOfId(kFieldCity, 0);
    Tool().SetDatabaseField(int16_t(column));
    char name[kFieldTypeNameSize] = {};
    FieldTypeName(kFieldCity, name, true, true);
    const std::string expected = kStory[1].substr(0, 9) + name + kStory[1].substr(9);
    EXPECT_EQ(doc->Paragraph(frame, 1), expected);
    EXPECT_EQ(GetFieldIdAt(doc->ctx.Current(), 10), kFieldCity);
    std::string menu;
    EXPECT_TRUE(Tool().GetUndoMenuText(&menu));

    ClickAt(1, 11);
    alerts.clear();
    Tool().SetDatabaseField(int16_t(column));
    EXPECT_EQ(alerts.beeps().size(), 1u);
    EXPECT_EQ(doc->Paragraph(frame, 1), expected);
}

TEST_F(TextToolTest, EnteringAndLeavingEditing)
{
    Tool().EndEdit(1);
    doc->selection = {frame};
    Tool().Activate(nullptr, kToolObject);
    EXPECT_EQ(Tool().EditFrame(), frame);
    EXPECT_TRUE(frame->Block().selected);
    EXPECT_TRUE(doc->bars[kTextBarId]);
    EXPECT_EQ(doc->graphic.textColour, 15);

    Tool().Deactivate();
    EXPECT_EQ(Tool().EditFrame(), nullptr);
    EXPECT_FALSE(frame->Block().selected);
    EXPECT_FALSE(doc->bars[kTextBarId]);
    EXPECT_EQ(Tool().RememberedId(), int16_t(frame->FrameId()));

    // A click beside every frame ends editing, and keys then reach no text.
    ClickAt(0, 4);
    ASSERT_EQ(Tool().EditFrame(), frame);
    doc->Click(IntPoint{300, 230}, 1);
    EXPECT_EQ(Tool().EditFrame(), nullptr);
    EXPECT_EQ(Tool().KeyDown(TypedKey('Z')), 0);
    EXPECT_EQ(doc->Paragraph(frame, 0), kStory[0]);
}

TEST_F(TextToolTest, AClickOnAnEmptyFrameOfTheChainEditsTheFrameBefore)
{
    FrameObjText* second = doc->AddTextFrame(IntRect{220, 20, 340, 160}, {});
    doc->frames.LinkAfter(frame->FrameId(), second);
    doc->Flow(frame);
    doc->Flow(second);
    doc->Click(IntPoint{280, 100}, 1);
    EXPECT_EQ(Tool().EditFrame(), frame);
}

// Insert Page Number on the page a document shows.
class PageNumberTest : public ::testing::Test {
protected:
    void Make(int16_t pages, int16_t shown, const IntRect& rect)
    {
        ASSERT_TRUE(dir.ok());
        doc = std::make_unique<ToolTextDocument>(dir.path(), &measurer, pages, shown);
        frame = doc->AddTextFrame(rect, {"Page", "x"});
        doc->Click(doc->At(frame, 0, 0), 1);
    }
    std::string Text() { return doc->Paragraph(frame, 0); }

    TempDir dir;
    FixedMeasurer measurer;
    AlertCapture alerts;
    std::unique_ptr<ToolTextDocument> doc;
    FrameObjText* frame = nullptr;
};

TEST_F(PageNumberTest, RomanOnPageFourAndLettersOnPageTwentyEight)
{
    Make(4, 4, IntRect{20, 20, 200, 100});
    doc->tool.InsertPageNumber(2);
    EXPECT_EQ(Text(), "iv Page");
    RunCache run;
    ASSERT_TRUE(LoadRunAt(doc->ctx.Current(), 0, &run));
    EXPECT_TRUE(run.Has(kRunPageNumber));
    EXPECT_EQ(run.pageKind, 3);
    // At a plain caret no undo state is made.
    std::string menu;
    EXPECT_FALSE(doc->tool.GetUndoMenuText(&menu));

    doc.reset();
    Make(28, 28, IntRect{20, 20, 200, 100});
    doc->tool.InsertPageNumber(4);
    EXPECT_EQ(Text(), "ab Page");
}

TEST_F(PageNumberTest, AParagraphAtItsLimitTakesNoNumber)
{
    Make(1, 1, IntRect{20, 20, 200, 100});
    doc->SetStory(frame, {std::string(kParagraphMaxLength - 2, 'a')});
    doc->Click(doc->At(frame, 0, 3), 1);
    alerts.clear();
    doc->tool.InsertPageNumber(0);
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.lastText(), "Paragraph is too large. Please make a new one.");
    EXPECT_EQ(Text().size(), kParagraphMaxLength - 2);
    RunCache run;
    EXPECT_FALSE(LoadRunAt(doc->ctx.Current(), 3, &run) && run.Has(kRunPageNumber));
}

TEST_F(PageNumberTest, PasteboardFramesTakeAHyphen)
{
    Make(3, 2, IntRect{400, 300, 560, 380});
    for (int16_t style = 0; style < 5; ++style) {
        doc->tool.InsertPageNumber(style);
        EXPECT_EQ(Text().substr(0, 2), "- ");
    }
}

TEST_F(PageNumberTest, ASelectionIsReplacedAndAFieldTextTakesNone)
{
    Make(5, 3, IntRect{20, 20, 200, 100});
    doc->Click(doc->At(frame, 0, 1), 2);
    doc->tool.InsertPageNumber(0);
    EXPECT_EQ(Text(), "3 ");
    std::string menu;
    EXPECT_TRUE(doc->tool.GetUndoMenuText(&menu));

    // Inside a merge field's text nothing goes in: the field would write
    // its own text over the number and leave the rest of it behind.
    doc->host.showFieldNames = true;
    doc->Click(doc->At(frame, 1, 0), 1);
    doc->tool.SetDatabaseField(int16_t(FieldIndexOfId(kFieldCity, 0)));
    const std::string field = doc->Paragraph(frame, 1);
    doc->Click(doc->At(frame, 1, 2), 1);
    alerts.clear();
    doc->tool.InsertPageNumber(0);
    EXPECT_EQ(alerts.beeps().size(), 1u);
    EXPECT_EQ(doc->Paragraph(frame, 1), field);
}

}  // namespace
