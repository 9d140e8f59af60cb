// The card view's context menus and the star's own dialog: a right click
// shows the menu for what is selected (or for the text being edited), its
// items do what the window's menus do, and a star opens Star Info from its
// menu or by a double click.
#include <QDialog>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "app/main_frame.h"
#include "app/main_status_bar.h"
#include "carddoc/labels_doc.h"
#include "dialogs/counter_spec_dialog.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/star_info_dialog.h"
#include "records/command_ids.h"
#include "sample_card_journey.h"

namespace {

constexpr uint32_t kTextTool = 33285;

class ContextMenuJourney : public SampleCardJourney {
protected:
    // The whole of its square.
    QRect StarArea() const { return CardRect(20, 20, 28, 28); }

    // Answers Star Info: two more peaks, a polygon, OK.
    static DialogDriver MorePeaksAsPolygon(bool* seen)
    {
        return [seen](QWidget* dialog) {
            auto* star = dynamic_cast<CDlgStarInfo*>(dialog);
            *seen = star != nullptr;
            if (!star) {
                static_cast<QDialog*>(dialog)->reject();
                return;
            }
            QTest::mouseClick(star->PeaksUp(), Qt::LeftButton);
            QTest::mouseClick(star->PeaksUp(), Qt::LeftButton);
            star->PolygonButton()->click();
            star->accept();
        };
    }

    // Notes the dialog's title and accepts it.
    static DialogDriver NoteAndAccept(QString* title)
    {
        return [title](QWidget* dialog) {
            *title = dialog->windowTitle();
            static_cast<QDialog*>(dialog)->accept();
        };
    }

    // A right click at the point, and the menu's first item chosen: the
    // menu's items, and the title of the dialog the item opened (accepted).
    std::vector<QString> ChooseFirstItem(const QPoint& at, QString* opened)
    {
        std::vector<QString> items;
        OnNextMenu([&items](QMenu* menu) {
            items = ItemTexts(menu);
            if (!items.empty())
                ChooseItem(items.front())(menu);
            else
                Dismiss()(menu);
        });
        OnNextDialog(NoteAndAccept(opened));
        RightClick(at);
        return items;
    }
};

TEST_F(ContextMenuJourney, WithNothingSelectedTheMenuOffersPasteAndSelectAll)
{
    EXPECT_FALSE(Enabled(kCmdDelete));
    std::vector<QString> items;
    OnNextMenu([&items](QMenu* menu) {
        items = ItemTexts(menu);
        ChooseItem("Select All")(menu);
    });
    RightClick(CardPoint(215, 75));
    EXPECT_EQ(items, (std::vector<QString>{"Paste", "Preferences...", "Select All"}));
    // Every frame of the card is selected: the Object menu acts on them.
    EXPECT_TRUE(Enabled(kCmdDelete));
    EXPECT_TRUE(Enabled("Object > Align Object..."));
}

TEST_F(ContextMenuJourney, StarInfoFromTheStarsMenuReshapesTheStar)
{
    Click(Star());
    const QImage before = ViewPixels();
    std::vector<QString> items;
    OnNextMenu([&items](QMenu* menu) {
        items = ItemTexts(menu);
        ChooseItem("Star Info...")(menu);
    });
    bool seen = false;
    OnNextDialog(MorePeaksAsPolygon(&seen));
    RightClick(Star());
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), "Star Info...");
    EXPECT_TRUE(seen) << "Star Info did not open";
    EXPECT_GT(Changed(before, ViewPixels(), StarArea()), 30) << "the star was not drawn anew";
    EXPECT_TRUE(CardDocument()->IsModified());
}

TEST_F(ContextMenuJourney, ADoubleClickOnTheStarOpensStarInfoAndCancelChangesNothing)
{
    Click(Star());
    const QImage before = ViewPixels();
    bool opened = false;
    OnNextDialog([&opened](QWidget* dialog) {
        opened = dynamic_cast<CDlgStarInfo*>(dialog) != nullptr;
        static_cast<QDialog*>(dialog)->reject();
    });
    DoubleClick(Star());
    EXPECT_TRUE(opened);
    EXPECT_EQ(Changed(before, ViewPixels(), StarArea()), 0);

    bool seen = false;
    OnNextDialog(MorePeaksAsPolygon(&seen));
    DoubleClick(Star());
    EXPECT_TRUE(seen);
    EXPECT_GT(Changed(before, ViewPixels(), StarArea()), 30);
}

TEST_F(ContextMenuJourney, TheTextToolsMenuSetsAllCapsOnTheSelection)
{
    ASSERT_TRUE(Trigger(kTextTool));
    // The name's frame: 166 x 32 at (14, 62).
    const QRect name = CardRect(14, 62, 166, 32);
    Click(CardPoint(100, 72));
    Key(Qt::Key_A, Qt::ControlModifier);
    const QImage before = ViewPixels();
    std::vector<QString> items;
    OnNextMenu([&items](QMenu* menu) {
        items = ItemTexts(menu);
        ChooseItem("Style > All Caps")(menu);
    });
    RightClick(CardPoint(100, 72));
    EXPECT_NE(std::find(items.begin(), items.end(), "Font"), items.end());
    EXPECT_GT(Changed(before, ViewPixels(), name), 40) << "All Caps did not show";
    EXPECT_TRUE(Checked(kCmdSmallCaps));
}

TEST_F(ContextMenuJourney, AMixedSelectionGetsTheSimpleObjectsMenuAndItsDeleteWorks)
{
    // The star and the rule under the company line.
    Click(Star());
    Click(CardPoint(150, 43), Qt::ShiftModifier);
    std::vector<QString> items;
    OnNextMenu([&items](QMenu* menu) {
        items = ItemTexts(menu);
        ChooseItem("Delete")(menu);
    });
    RightClick(CardPoint(150, 43));
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), "Cut");
    EXPECT_EQ(std::find(items.begin(), items.end(), "Star Info..."), items.end());
    EXPECT_FALSE(Enabled(kCmdDelete)) << "the two frames are still selected";
}

TEST_F(ContextMenuJourney, TheBarcodesMenuOpensBarcodeInfo)
{
    // The sample's barcode: 73 x 29 at (172, 104).
    const QPoint barcode = CardPoint(208, 118);
    Click(barcode);
    QString opened;
    const std::vector<QString> items = ChooseFirstItem(barcode, &opened);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), "Barcode Info...");
    EXPECT_EQ(std::find(items.begin(), items.end(), "Font"), items.end()) << "a barcode has no text to format";
    EXPECT_EQ(opened, "Barcode Info");
}

TEST_F(ContextMenuJourney, APowerTextFramesMenuOpensPowerTextInfo)
{
    QString styles;
    OnNextDialog(NoteAndAccept(&styles));
    ASSERT_TRUE(Trigger(33287));
    ASSERT_FALSE(styles.isEmpty()) << "the Power Text tool asked for no effect";
    // A frame drawn on the empty right of the card shows the effect.
    const QRect area = CardRect(186, 52, 58, 44);
    const int empty = Ink(ViewPixels(), area);
    Drag(CardPoint(186, 52), {CardPoint(210, 70), CardPoint(244, 96)});
    EXPECT_GT(Ink(ViewPixels(), area), empty + 40) << "the power text frame shows nothing";
    QString opened;
    const std::vector<QString> items = ChooseFirstItem(CardPoint(215, 75), &opened);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), "Power Text Info...");
    EXPECT_EQ(opened, styles) << "Power Text Info opened another dialog";
}

// Object > Place Counter asks for the counter's settings, then (the status
// bar says so) places it where the card is clicked; its menu opens the same dialog again.
TEST_F(ContextMenuJourney, APlacedCounterHasCounterInfoOnItsMenu)
{
    QString asked;
    OnNextDialog(NoteAndAccept(&asked));
    ASSERT_TRUE(Trigger("Object > Place Counter"));
    ASSERT_FALSE(asked.isEmpty()) << "placing asked nothing";
    EXPECT_EQ(MainWindow()->MainStatusBar()->MessageText(), "Click on the card where the counter goes.");
    const QRect area = CardRect(186, 52, 58, 40);
    const int empty = Ink(ViewPixels(), area);
    Click(CardPoint(190, 56));
    EXPECT_GT(Ink(ViewPixels(), area), empty + 20) << "no counter was placed";
    QString opened;
    const std::vector<QString> items = ChooseFirstItem(CardPoint(196, 60), &opened);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), "Counter Info...");
    EXPECT_EQ(std::find(items.begin(), items.end(), "Font"), items.end());
    EXPECT_EQ(opened, asked);
}

// A ticket counter started past 32000 with a fixed length of 4: the start
// is taken as typed, and the numbers that outgrow the length print whole,
// never as the last four digits (tickets would repeat).
TEST_F(ContextMenuJourney, ACounterKeepsItsStartAndPrintsEveryNumberWhole)
{
    OnNextDialog([this](QWidget* dialog) {
        auto* counterDialog = dynamic_cast<CDlgCounterSpec*>(dialog);
        ASSERT_NE(counterDialog, nullptr);
        for (const auto& [edit, text] : {std::pair{counterDialog->Start(), "99998"}, std::pair{counterDialog->FixedLength(), "4"}}) {
            counterDialog->Padding(kCounterPadZeros)->click();
            edit->setFocus();
            edit->selectAll();
            Type(text, edit);
            Key(Qt::Key_Tab, Qt::NoModifier, edit);
        }
        EXPECT_EQ(counterDialog->Start()->text(), QStringLiteral("99998"));
        counterDialog->accept();
    });
    ASSERT_TRUE(Trigger("Object > Place Counter"));
    Click(CardPoint(190, 56));
    const std::string pdf = TempFile("tickets.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle(100);
    const std::string text = PdfText(pdf);
    for (const char* number : {"99998", "99999", "100000", "100001", "100007"})
        EXPECT_NE(text.find(number), std::string::npos) << number << "\n" << text;
    EXPECT_EQ(text.find("0000\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("32000"), std::string::npos) << text;
}

}  // namespace
