// Dragging with the two text tools over a part of the card that holds no
// frame: the Text tool types into text frames only, the Frame Text tool
// draws the frame to type into.
#include <QAction>
#include <QComboBox>
#include <QToolBar>

#include "app/main_frame.h"
#include "app/tool_bar_db.h"
#include "app/tool_bar_draw_tools.h"
#include "carddoc/labels_doc.h"
#include "frames/curr_page_mng.h"
#include "journey_fixture.h"
#include "support/shell.h"
#include "platform/menus.h"

namespace {

constexpr uint32_t kTextTool = 33285;
constexpr uint32_t kFrameTextTool = 33286;

class TextToolJourney : public JourneyTest {
protected:
    QAction* PaletteButton(uint32_t id)
    {
        for (QAction* action : MainWindow()->ToolPalette()->actions())
            if (MenuGetCommandId(action) == id)
                return action;
        return nullptr;
    }

    void ChooseTool(uint32_t id)
    {
        QAction* button = PaletteButton(id);
        ASSERT_NE(button, nullptr);
        QWidget* widget = MainWindow()->ToolPalette()->widgetForAction(button);
        ASSERT_NE(widget, nullptr);
        Click(widget->rect().center(), Qt::NoModifier, widget);
    }

    // File > Import Text of a file of these bytes into the address frame of
    // the card at path, its third story; then saved, closed and read back:
    // the story's dump.
    std::string ImportIntoAddress(const std::string& path, const std::string& name, const std::string& bytes)
    {
        const std::string file = TempFile(name);
        WriteFileBytes(file, bytes);
        if (!OpenThroughMenu(path))
            return alerts.lastText();
        MaximizeCardWindow();
        ChooseTool(kTextTool);
        const IntRect slot = CardDocument()->PageGeometry().slots[0];
        Click(ViewPoint(IntPoint{slot.left + 30, slot.top + 101}));
        alerts.clear();
        OnNextDialog(ChooseFile(file));
        EXPECT_TRUE(Trigger("File > Import Text..."));
        EXPECT_TRUE(Trigger("File > Save"));
        EXPECT_TRUE(Trigger("File > Close"));
        const std::string dump = Tool("card dump '" + path + "'");
        const size_t story = dump.find("story 3: ");
        return story == std::string::npos ? dump : dump.substr(story, dump.find("\nstory ", story + 1) - story);
    }

    // A drag over the card's right middle, where the sample has no frame.
    void DragOverEmptyPart()
    {
        const IntRect slot = CardDocument()->PageGeometry().slots[0];
        Drag(ViewPoint(IntPoint{slot.left + 188, slot.top + 52}),
             {ViewPoint(IntPoint{slot.left + 215, slot.top + 75}), ViewPoint(IntPoint{slot.left + 245, slot.top + 98})});
    }
};

TEST_F(TextToolJourney, TheTextToolTypesIntoFramesAndTheFrameTextToolDrawsThem)
{
    const std::string path = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(path), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    const int16_t frames = CardDocument()->PageManager()->FrameCount();

    // The Text tool's prompt says where new text frames come from.
    EXPECT_NE(PaletteButton(kTextTool)->statusTip().indexOf("Frame Text"), -1);
    ChooseTool(kTextTool);
    ASSERT_TRUE(PaletteButton(kTextTool)->isChecked());
    DragOverEmptyPart();
    EXPECT_EQ(CardDocument()->PageManager()->FrameCount(), frames);
    EXPECT_FALSE(CardDocument()->IsModified());
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    // The same drag with Frame Text makes a text frame, and the Text tool
    // is ready to type into it.
    ChooseTool(kFrameTextTool);
    DragOverEmptyPart();
    EXPECT_EQ(CardDocument()->PageManager()->FrameCount(), frames + 1);
    EXPECT_TRUE(PaletteButton(kTextTool)->isChecked());
    ASSERT_TRUE(Trigger("File > Save"));
    ASSERT_TRUE(Trigger("File > Close"));
    const std::string dump = Tool("card dump '" + path + "'");
    EXPECT_NE(dump.find("frame 8: type 5"), std::string::npos) << dump;
}

TEST_F(TextToolJourney, AnEmptyTextFrameClickedBackIntoTakesTypingAndFields)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_TRUE(ChooseWindow("Business Card.lqx"));
    MaximizeCardWindow();
    ChooseTool(kFrameTextTool);
    DragOverEmptyPart();
    // Left empty: a click on the page beside the card, then back into it.
    const IntRect slot = CardDocument()->PageGeometry().slots[0];
    const QRect frame(ViewPoint(IntPoint{slot.left + 190, slot.top + 54}),
                      ViewPoint(IntPoint{slot.left + 243, slot.top + 96}));
    auto leaveAndComeBack = [&] {
        Click(ViewPoint(IntPoint{slot.right + 40, slot.top + 40}));
        Click(ViewPoint(IntPoint{slot.left + 215, slot.top + 75}));
        return ViewPixels();
    };
    QImage empty = leaveAndComeBack();
    Type("Hi ");
    EXPECT_GT(Changed(empty, ViewPixels(), frame), 40) << "typing into the empty frame added nothing";

    // Emptied again, left and come back to: Insert Field puts the first
    // field's text in.
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_Backspace);
    empty = leaveAndComeBack();
    QComboBox* fields = MainWindow()->DatabaseBar()->InsertFieldCombo();
    ASSERT_GT(fields->count(), 0);
    Click(fields->rect().center(), Qt::NoModifier, fields);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_GT(Changed(empty, ViewPixels(), frame), 40) << "Insert Field added nothing";
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

// File > Import Text into the frame being typed in, from files as other
// programs write them: UTF-8 with or without its byte order mark, and LF,
// CR LF or CR line ends, each line a paragraph of its own. What the card
// can't hold is said, once.
TEST_F(TextToolJourney, ImportTextReadsUtf8AndEveryKindOfLineEnd)
{
    const std::string path = CopySample("Business Card.lqx");
    const auto import = [&](const std::string& name, const std::string& bytes) {
        return ImportIntoAddress(path, name, bytes);
    };

    std::string story = import("lf.txt", "\xEF\xBB\xBF" "caf\xC3\xA9 \xC5\x81\xC3\xB3" "d\xC5\xBA\nline two\n");
    EXPECT_NE(story.find("2 paragraphs"), std::string::npos) << story;
    EXPECT_NE(story.find("\"caf\xE9 ?\xF3" "d?\\x0D\""), std::string::npos) << story;
    EXPECT_NE(story.find("\"line two\\x0D\""), std::string::npos) << story;
    EXPECT_EQ(alerts.lastText(), "2 characters of the file have no place in the card's character set; each was put in "
                                 "as \"?\".");

    story = import("crlf.txt", "caf\xC3\xA9\r\nsecond\r\nthird");
    EXPECT_NE(story.find("\"caf\xE9\\x0D\""), std::string::npos) << story;
    EXPECT_NE(story.find("\"second\\x0D\""), std::string::npos) << story;
    EXPECT_NE(story.find("\"third\\x0D\""), std::string::npos) << story;
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    // Windows-1252 and CR alone, as the program's own files are.
    story = import("cr.txt", "caf\xE9\rend");
    EXPECT_NE(story.find("\"caf\xE9\\x0D\""), std::string::npos) << story;
    EXPECT_NE(story.find("\"end\\x0D\""), std::string::npos) << story;
}

// Windows' "Unicode" text comes in as the letters it holds; a file of more
// lines than a story has paragraphs is refused, saying so, the story kept.
TEST_F(TextToolJourney, ImportTextReadsUtf16AndSaysWhyAFileIsTooLong)
{
    const std::string path = CopySample("Business Card.lqx");
    static const char kUtf16[] = "\xFF\xFE" "c\0a\0f\0\xE9\0\n\0" "A\x01" "b\0";
    const std::string utf16(kUtf16, sizeof kUtf16 - 1);
    std::string story = ImportIntoAddress(path, "unicode.txt", utf16);
    EXPECT_NE(story.find("\"caf\xE9\\x0D\""), std::string::npos) << story;
    EXPECT_NE(story.find("\"?b\\x0D\""), std::string::npos) << story;

    std::string lines;
    for (int i = 0; i < 70000; ++i)
        lines += "line\n";
    story = ImportIntoAddress(path, "long.txt", lines);
    EXPECT_EQ(alerts.lastText(), "\"long.txt\" was not imported: its 70000 lines would make as many paragraphs, and "
                                 "a story holds at most 65535. The story was left as it was.");
    EXPECT_NE(story.find("\"caf\xE9\\x0D\""), std::string::npos) << story;
}

}  // namespace
