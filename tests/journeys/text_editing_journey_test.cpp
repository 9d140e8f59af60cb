// Editing text on the card as a person does: the Text tool, a click in a
// frame, typing and formatting keys, and the text bar that follows the
// caret. What is typed or formatted is on the screen at once.
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "app/main_frame.h"
#include "app/tool_bar_draw.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "dialogs/char_info_dialog.h"
#include "dialogs/find_replace_dialog.h"
#include "dialogs/value_dialogs.h"
#include "records/command_ids.h"
#include "text/caret_manager.h"
#include "typography/font_combo_box.h"
#include "typography/font_size_combo_box.h"
#include "sample_card_journey.h"
#include "support/shell.h"

namespace {

constexpr uint32_t kTextTool = 33285;
constexpr uint32_t kFrameTextTool = 33286;
constexpr uint32_t kRectangleTool = 33289;

class TextEditingJourney : public SampleCardJourney {
protected:
    // A size typed into the text bar's size box, with Enter.
    void TypeSizeIntoTheBox(const QString& points)
    {
        FontSizeComboBox* size = MainWindow()->TextBar()->SizeCombo();
        Click(size->lineEdit()->geometry().center(), Qt::NoModifier, size);
        Key(Qt::Key_End);
        for (int i = 0; i < 3; ++i)
            Key(Qt::Key_Backspace);
        Type(points);
        Key(Qt::Key_Return);
    }

    // Edit > Find/Replace..., Replace All, then Close.
    void ReplaceAll(const QString& find, const QString& with)
    {
        ASSERT_TRUE(Trigger("Edit > Find/Replace..."));
        auto* dialog = VisibleWindow<CDlgFindReplace>();
        ASSERT_NE(dialog, nullptr);
        dialog->FindEdit()->setText(find);
        dialog->ReplaceEdit()->setText(with);
        QTest::mouseClick(dialog->ReplaceAllButton(), Qt::LeftButton);
        Settle();
        QTest::mouseClick(dialog->CloseButton(), Qt::LeftButton);
        Settle();
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

TEST_F(TextEditingJourney, AClickShowsTheCaretAtOnceAndItBlinks)
{
    ASSERT_TRUE(Trigger(kTextTool));
    const QRect frame = CardRect(kCompany.x(), kCompany.y(), kCompany.width(), kCompany.height());
    Click(CardPoint(kCompany.x() + 170, kCompany.y() + 12));
    const QImage shown = ViewPixels();
    // The first picture that differs is the caret's blink: the line was
    // on at once and goes off, as high as the line of text.
    QImage blinked = shown;
    QElapsedTimer clock;
    clock.start();
    while (Changed(shown, blinked, frame) == 0 && clock.elapsed() < 3000)
        blinked = ViewPixels();
    const int changed = Changed(shown, blinked, frame);
    EXPECT_GE(changed, 10) << "the caret does not blink after a click";
    EXPECT_LE(changed, 40);
    EXPECT_GT(Ink(shown, frame), Ink(blinked, frame)) << "the caret was not on the screen at once";
}

TEST_F(TextEditingJourney, ASizeTypedIntoTheSizeBoxAppliesWithEnterAndCtrlSSavesFromThere)
{
    ASSERT_TRUE(Trigger(kTextTool));
    const QRect frame = CardRect(kCompany.x(), kCompany.y(), kCompany.width(), kCompany.height());
    Click(CardPoint(kCompany.x() + 20, kCompany.y() + 12));
    Key(Qt::Key_A, Qt::ControlModifier);
    const QImage before = ViewPixels();

    // 13 is not among the sizes the list offers.
    FontSizeComboBox* size = MainWindow()->TextBar()->SizeCombo();
    Click(size->lineEdit()->geometry().center(), Qt::NoModifier, size);
    ASSERT_TRUE(size->hasFocus());
    Key(Qt::Key_End);
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_Backspace);
    Type("13");
    Key(Qt::Key_Return);
    EXPECT_GT(Changed(before, ViewPixels(), frame), 40) << "Enter in the size box left the text as it was";
    EXPECT_EQ(size->currentText(), "13");
    EXPECT_TRUE(CardDocument()->IsModified());

    // Ctrl+S with the focus in the box saves the card.
    const std::string path = TempFile("Business Card.lqx");
    const std::string saved = ReadFileBytes(path);
    Click(size->lineEdit()->geometry().center(), Qt::NoModifier, size);
    ASSERT_TRUE(size->hasFocus());
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(CardDocument()->IsModified()) << "Ctrl+S in the size box did not save";
    EXPECT_NE(ReadFileBytes(path), saved);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(TextEditingJourney, TheSizeBoxAppliesExactlyTheSizeTypedAndRefusesWhatOtherSizeRefuses)
{
    ASSERT_TRUE(Trigger(kTextTool));
    const QRect frame = CardRect(kCompany.x(), kCompany.y(), kCompany.width(), kCompany.height());
    DoubleClick(CardPoint(kCompany.x() + 20, kCompany.y() + 12));
    CToolBarDraw* bar = MainWindow()->TextBar();
    FontSizeComboBox* size = bar->SizeCombo();
    const QString font = bar->NameCombo()->currentText();
    ASSERT_FALSE(font.isEmpty());
    auto enter = [&](const QString& text) {
        Click(size->lineEdit()->geometry().center(), Qt::NoModifier, size);
        Key(Qt::Key_End);
        Key(Qt::Key_Home, Qt::ShiftModifier);
        Key(Qt::Key_Backspace);
        Type(text);
        Key(Qt::Key_Return);
    };

    // 7 is taken as typed, not completed from the list to 72.
    enter("7");
    const QImage small = ViewPixels();
    EXPECT_GT(Ink(small, frame), 20) << "the word left the frame";
    EXPECT_EQ(size->currentText(), "7");
    EXPECT_EQ(bar->NameCombo()->currentText(), font);
    EXPECT_TRUE(alerts.beeps().empty());
    OnNextDialog([](QWidget* dialog) {
        auto* other = dynamic_cast<CDlgOtherValue*>(dialog);
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(other->Value()->text(), "7");
        Reject()(dialog);
    });
    ASSERT_TRUE(Trigger("Text > Size > Other..."));

    // What the Other Size prompt refuses, the box refuses with a beep and
    // shows the size again; the text stays as it was.
    for (const char* refused : {"7.5", "5", "401", "abc", ""}) {
        alerts.clear();
        enter(refused);
        EXPECT_EQ(alerts.beeps().size(), 1u) << refused;
        EXPECT_TRUE(QToolTip::text().endsWith("A text size is a whole number of points from 6 to 400.")) << refused;
        EXPECT_EQ(size->currentText(), "7") << refused;
        EXPECT_EQ(Changed(small, ViewPixels(), frame), 0) << refused;
    }

    // A size too large for the frame pushes the word out of it: the box
    // still shows that size and the font, not a made-up format.
    enter("72");
    EXPECT_EQ(size->currentText(), "72");
    EXPECT_EQ(bar->NameCombo()->currentText(), font);

    // Replace All leaves the box showing a size too.
    ASSERT_NO_FATAL_FAILURE(ReplaceAll("Company", "Works"));
    EXPECT_FALSE(size->currentText().isEmpty());
    EXPECT_FALSE(size->currentText().startsWith('0')) << size->currentText().toStdString();
    EXPECT_EQ(bar->NameCombo()->currentText(), font);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(TextEditingJourney, CharacterInfoTakesTheSizeTypedAndEnterAppliesIt)
{
    ASSERT_TRUE(Trigger(kTextTool));
    const QRect frame = CardRect(kCompany.x(), kCompany.y(), kCompany.width(), kCompany.height());
    DoubleClick(CardPoint(kCompany.x() + 20, kCompany.y() + 12));
    QString typed;
    OnNextDialog([&](QWidget* dialog) {
        auto* info = dynamic_cast<CDlgCharInfo*>(dialog);
        ASSERT_NE(info, nullptr) << dialog->metaObject()->className();
        QLineEdit* size = info->Size()->lineEdit();
        size->setFocus();
        size->selectAll();
        // 7 is typed, not completed from the list to 72; Enter is OK.
        QTest::keyClicks(size, "7");
        typed = info->Size()->currentText();
        QTest::keyClick(size, Qt::Key_Return);
    });
    ASSERT_TRUE(Trigger("Text > Character Info..."));
    Settle();
    EXPECT_EQ(typed, "7");
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_EQ(MainWindow()->TextBar()->SizeCombo()->currentText(), "7");
    EXPECT_GT(Ink(ViewPixels(), frame), 20) << "the word left the frame";
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

// On a German desktop as on any other: a size typed as letters or with a
// decimal mark is refused with a word, and the text keeps its size.
TEST_F(TextEditingJourney, CharacterInfoRefusesASizeThatIsNotAWholeNumberOfPoints)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_TRUE(Trigger(kTextTool));
    const QRect frame = CardRect(kCompany.x(), kCompany.y(), kCompany.width(), kCompany.height());
    DoubleClick(CardPoint(kCompany.x() + 20, kCompany.y() + 12));
    const QImage shown = ViewPixels();
    int stayed = 0;
    OnNextDialog([&](QWidget* dialog) {
        auto* info = dynamic_cast<CDlgCharInfo*>(dialog);
        ASSERT_NE(info, nullptr) << dialog->metaObject()->className();
        QLineEdit* size = info->Size()->lineEdit();
        for (const char* typed : {"abc", "10,5", "12.5"}) {
            size->setFocus();
            size->selectAll();
            QTest::keyClicks(size, typed);
            QTest::keyClick(size, Qt::Key_Return);
            stayed += info->isVisible() ? 1 : 0;
        }
        info->reject();
    });
    ASSERT_TRUE(Trigger("Text > Character Info..."));
    Settle();
    QLocale::setDefault(before);
    EXPECT_EQ(stayed, 3) << "a size that is no size closed the dialog";
    ASSERT_EQ(alerts.boxes().size(), 3u);
    EXPECT_EQ(alerts.lastText(), "Please enter an integer between 6 and 400.");
    EXPECT_EQ(Changed(shown, ViewPixels(), frame), 0) << "the text changed";
}

TEST_F(TextEditingJourney, EnterStartsTheNewParagraphInTheFontBeingTypedIn)
{
    // A new frame on the page beside the card, its text set at 20 points
    // from the size box before typing.
    ASSERT_TRUE(Trigger(kFrameTextTool));
    Drag(CardPoint(262, 8), {CardPoint(300, 60), CardPoint(340, 110)});
    FontSizeComboBox* size = MainWindow()->TextBar()->SizeCombo();
    TypeSizeIntoTheBox("20");
    Type("Same");
    Key(Qt::Key_Return);
    EXPECT_EQ(size->currentText().toStdString(), "20") << "the new paragraph does not go on in the size typed in";
    Type("Same");
    EXPECT_EQ(size->currentText().toStdString(), "20");
    const QImage shown = ViewPixels();
    const int first = Ink(shown, CardRect(264, 10, 74, 24));
    const int second = Ink(shown, CardRect(264, 34, 74, 24));
    EXPECT_GT(first, 100);
    EXPECT_GT(second, first * 3 / 4) << "the second line is smaller: " << first << " " << second;
}

TEST_F(TextEditingJourney, TextWrappedRoundAFrameFlowsBackWhenTheFrameIsMovedAway)
{
    // The name and title lines: frame 5 of the sample.
    const QRect name = CardRect(14, 62, 166, 32);
    const QImage plain = ViewPixels();
    // A rectangle drawn over them: the lines wrap round it.
    ASSERT_TRUE(Trigger(kRectangleTool));
    Drag(CardPoint(50, 58), {CardPoint(70, 80), CardPoint(90, 100)});
    EXPECT_GT(Changed(plain, ViewPixels(), name), 100);
    // Dragged away onto the page beside the card, then nudged further with
    // the arrow keys: the lines are as they were, without a click.
    Drag(CardPoint(70, 80), {CardPoint(150, 100), CardPoint(290, 120)});
    EXPECT_EQ(Changed(plain, ViewPixels(), name), 0) << "the name keeps the lines it wrapped";
    for (int i = 0; i < 5; ++i)
        Key(Qt::Key_Down);
    EXPECT_EQ(Changed(plain, ViewPixels(), name), 0);
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

// Text typed at 48 points into a frame 32 points high: not even its first
// line fits. The frame says so with its overflow mark, and the caret stays
// on the screen while typing goes on.
TEST_F(TextEditingJourney, AFirstLineTallerThanItsFrameShowsTheOverflowMarkAndTheCaret)
{
    ASSERT_TRUE(Trigger(kFrameTextTool));
    Drag(CardPoint(186, 52), {CardPoint(210, 70), CardPoint(244, 84)});
    const QRect corner = CardRect(226, 66, 14, 14);
    const int empty = Ink(ViewPixels(), corner);
    TypeSizeIntoTheBox("48");
    Type("Hello");
    EXPECT_GT(Ink(ViewPixels(), corner), empty + 20) << "no overflow mark: " << empty;
    const CaretManager* caret = CardDocument()->Caret();
    EXPECT_TRUE(caret->IsVisible());
    EXPECT_GT(caret->Height(), 0) << "the caret is gone";
}

// "the" replaced by "ZZZ" at the normal size: each Z's bars keep a pixel
// between them, as on paper, and do not run on into one stroke that reads
// as an underline.
TEST_F(TextEditingJourney, ReplacedWordsAtTheNormalSizeKeepTheirLettersApart)
{
    ASSERT_TRUE(Trigger(kFrameTextTool));
    Drag(CardPoint(20, 80), {CardPoint(100, 100), CardPoint(244, 136)});
    Type("the cat saw the dog");
    Key(Qt::Key_Home, Qt::ControlModifier);
    ASSERT_NO_FATAL_FAILURE(ReplaceAll("the", "ZZZ"));
    EXPECT_EQ(alerts.lastText(), "2 instances changed !");
    // The first word, inside the frame: no row of its ink is longer than
    // one Z is wide.
    const QImage shown = ViewPixels();
    const QRect word = CardRect(21, 81, 22, 16);
    int longest = 0;
    for (int y = word.top(); y <= word.bottom(); ++y) {
        int run = 0;
        for (int x = word.left(); x <= word.right(); ++x) {
            run = qGray(shown.pixel(x, y)) < 128 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    EXPECT_GT(longest, 4) << "no ZZZ where the text begins";
    EXPECT_LE(longest, 8) << "the Zs' bars run on into one stroke";
}
