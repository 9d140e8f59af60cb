// Editing text on the card as a person does: the Text tool, a click in a
// frame, typing and formatting keys, and the text bar that follows the
// caret. What is typed or formatted is on the screen at once.
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>

#include "app/main_frame.h"
#include "app/tool_bar_draw.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "records/command_ids.h"
#include "typography/font_size_combo_box.h"
#include "journey_fixture.h"

namespace {

constexpr uint32_t kTextTool = 33285;
constexpr uint32_t kFrameTextTool = 33286;

class TextEditingJourney : public JourneyTest {
protected:
    void SetUp() override
    {
        JourneyTest::SetUp();
        ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
        MaximizeCardWindow();
    }
};

// The company line: frame 4 of the sample, 178 x 24 at (62, 16).
const QRect kCompany(62, 16, 178, 24);

TEST_F(TextEditingJourney, TypedTextShowsAtOnceInAFrameOfTheSample)
{
    ASSERT_TRUE(Trigger(kTextTool));
    // The right half of the company line holds no text yet.
    const QRect rightHalf = CardRect(kCompany.x() + 100, kCompany.y(), 78, kCompany.height());
    const int emptyInk = Ink(ViewPixels(), rightHalf);

    Click(CardPoint(kCompany.x() + 170, kCompany.y() + 12));
    Type(" Brothers and Sons");
    EXPECT_GT(Ink(ViewPixels(), rightHalf), emptyInk + 60) << "the typed words are not on the screen";
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(TextEditingJourney, TheKeyOfAnItemGreyedWhenItsMenuLastOpenedWorksOnceItsCommandCan)
{
    // With the Object tool and nothing selected the style items are grey.
    EXPECT_FALSE(Enabled("Text > Style > Bold"));
    ASSERT_TRUE(Trigger(kTextTool));
    const QRect frame = CardRect(kCompany.x(), kCompany.y(), kCompany.width(), kCompany.height());
    Click(CardPoint(kCompany.x() + 20, kCompany.y() + 12));
    Key(Qt::Key_A, Qt::ControlModifier);
    const QImage selected = ViewPixels();
    // The company line is bold: the key makes it plain.
    Key(Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_GT(Changed(selected, ViewPixels(), frame), 40) << "Ctrl+Shift+B did nothing";
}

TEST_F(TextEditingJourney, TheSizeBoxShowsTheSizeAtTheCaret)
{
    ASSERT_TRUE(Trigger(kTextTool));
    Click(CardPoint(kCompany.x() + 20, kCompany.y() + 12));
    const QString first = MainWindow()->TextBar()->SizeCombo()->currentText();
    EXPECT_FALSE(first.isEmpty()) << "the size box is empty with the caret in the company line";

    // The name's frame is set in another size.
    Click(CardPoint(30, 70));
    const QString second = MainWindow()->TextBar()->SizeCombo()->currentText();
    EXPECT_FALSE(second.isEmpty());
    EXPECT_NE(first, second);
}

TEST_F(TextEditingJourney, TextTypedIntoANewFrameShowsAtOnceAndTakesBoldAndPlain)
{
    ASSERT_TRUE(Trigger(kFrameTextTool));
    const QRect empty = CardRect(185, 52, 58, 44);
    const int before = Ink(ViewPixels(), empty);
    Drag(CardPoint(186, 52), {CardPoint(210, 70), CardPoint(244, 96)});
    Type("Hi there");
    const int typed = Ink(ViewPixels(), empty);
    EXPECT_GT(typed, before + 40) << "the text typed into the new frame is not on the screen";
    // The first line, inside the frame's edges.
    const QRect line = CardRect(189, 55, 52, 12);
    const int plain = Ink(ViewPixels(), line);

    // Everything typed made bold with the Text menu's key: the highlighted
    // words change at once; with the caret back at the end they carry more
    // ink.
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(Checked(kCmdStyleBold));
    const QImage selected = ViewPixels();
    Key(Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_GT(Changed(selected, ViewPixels(), empty), 40) << "bold does not show while editing";
    EXPECT_TRUE(Checked(kCmdStyleBold)) << "Text > Style > Bold is not checked for the bold selection";
    Key(Qt::Key_End);
    const int bold = Ink(ViewPixels(), line);
    EXPECT_GT(bold, plain + plain / 8) << plain << " " << bold;

    // Plain again from the menu.
    Key(Qt::Key_A, Qt::ControlModifier);
    const QImage boldSelected = ViewPixels();
    ASSERT_TRUE(Trigger("Text > Style > Plain"));
    EXPECT_GT(Changed(boldSelected, ViewPixels(), empty), 40) << "plain does not show while editing";
    EXPECT_FALSE(Checked(kCmdStyleBold));
    Key(Qt::Key_End);
    EXPECT_LT(Ink(ViewPixels(), line), bold - plain / 8);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(TextEditingJourney, TheBoldNameLineLooksBoldAtTheNormalSize)
{
    // The name line of the sample is bold, 11 points: at 100% its stems
    // are a pixel and a half wide unless the face's hints widen them.
    ASSERT_TRUE(Trigger(kTextTool));
    const QRect line = CardRect(14, 62, 166, 14);
    Click(CardPoint(150, 68));
    Key(Qt::Key_End);
    const int bold = Ink(ViewPixels(), line);
    Key(Qt::Key_Home);
    Key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_TRUE(Checked(kCmdStyleBold)) << "Text > Style > Bold is not checked for the bold name";
    ASSERT_TRUE(Trigger("Text > Style > Plain"));
    Key(Qt::Key_End);
    const int plain = Ink(ViewPixels(), line);
    EXPECT_GT(bold, plain + plain / 4) << "bold " << bold << ", plain " << plain;
}

TEST_F(TextEditingJourney, ShiftAndAnArrowAfterADragGoOnFromWhereTheMouseWasLetGo)
{
    // A new frame with a line of text, then a drag from left to right over
    // the start of the line.
    ASSERT_TRUE(Trigger(kFrameTextTool));
    Drag(CardPoint(186, 52), {CardPoint(210, 70), CardPoint(244, 96)});
    Type("abcdefghij");
    const int y = 60;
    Drag(CardPoint(189, y), {CardPoint(200, y), CardPoint(212, y)});
    ASSERT_TRUE(Trigger("Edit > Copy"));
    const QString dragged = QGuiApplication::clipboard()->text();
    ASSERT_GE(dragged.size(), 3) << dragged.toStdString();

    // Shift+Right takes one more character at the right end; Shift+Left
    // gives it back and one more.
    Key(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_TRUE(Trigger("Edit > Copy"));
    const QString wider = QGuiApplication::clipboard()->text();
    EXPECT_EQ(wider.size(), dragged.size() + 1) << wider.toStdString();
    EXPECT_TRUE(wider.startsWith(dragged)) << dragged.toStdString() << " became " << wider.toStdString();
    Key(Qt::Key_Left, Qt::ShiftModifier);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    ASSERT_TRUE(Trigger("Edit > Copy"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), dragged.left(dragged.size() - 1));
}

}  // namespace
