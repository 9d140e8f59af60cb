// The card window's menus that follow the document: its sides in the View
// menu, the backdrop, layout and print-option items, and the wizard's
// template items with their keys in master mode.
#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QImage>
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTest>

#include "app/child_frame.h"
#include "app/main_frame.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "database/field_table.h"
#include "database/merge_text.h"
#include "dialogs/print_options_dialog.h"
#include "frames/curr_page_mng.h"
#include "records/command_ids.h"
#include "support/shell.h"
#include "journey_fixture.h"

namespace {

class CardMenusJourney : public JourneyTest {
protected:
    // Master mode is the profile's "Wizard" value; the program reads it
    // as it starts.
    void RestartInMasterMode()
    {
        Stop();
        QSettings().setValue("Wizard/MasterMode", 1);
        Start();
    }

    // The text after the tab is the key a person reads beside the item.
    QString KeysOf(uint32_t id)
    {
        QAction* action = Action(id);
        return action ? action->shortcut().toString(QKeySequence::PortableText) : QString();
    }
};

TEST_F(CardMenusJourney, TheViewMenuOffersTheCardsSidesAndShowsTheOneChosen)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    // A card with a front and a back: the two sides, no page commands.
    ASSERT_NE(Action(kCmdFrontPage), nullptr);
    ASSERT_NE(Action(kCmdBackPage), nullptr);
    EXPECT_EQ(Action(kCmdInsertPage), nullptr);
    EXPECT_TRUE(Checked(kCmdFrontPage));
    EXPECT_FALSE(Checked(kCmdBackPage));

    ASSERT_TRUE(Trigger("View > Back Page"));
    EXPECT_EQ(CardWindow()->PageText(), "Back Page");
    EXPECT_TRUE(Checked(kCmdBackPage));
    EXPECT_FALSE(Checked(kCmdFrontPage));
    ASSERT_TRUE(Trigger("View > Front Page"));
    EXPECT_EQ(CardWindow()->PageText(), "Front Page");

    // No backdrop on this card yet.
    ASSERT_NE(Action("View > Printable Backdrop"), nullptr);
    EXPECT_FALSE(Enabled(kCmdPrintableBackdrop));
    // Opening the menu twice leaves one set of side items.
    Enabled(kCmdFrontPage);
    QMenu* view = Action("View > Show Rulers")->associatedObjects().isEmpty()
                      ? nullptr
                      : qobject_cast<QMenu*>(Action("View > Show Rulers")->associatedObjects().first());
    ASSERT_NE(view, nullptr);
    int fronts = 0;
    for (QAction* action : view->actions())
        fronts += action->text() == "Front Page";
    EXPECT_EQ(fronts, 1);
}

TEST_F(CardMenusJourney, WithoutMasterModeTheWizardItemsAndKeysAreAbsent)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    EXPECT_EQ(Action("File > Templates"), nullptr);
    EXPECT_EQ(Action(kCmdSaveTemplateToFile), nullptr);
    // Change Layout and Design works in either mode.
    EXPECT_TRUE(Enabled("Edit > Change Layout and Design..."));
    // Ctrl+Alt+B (Change Backdrop) asks for no picture: the one dialog
    // was the open's.
    Key(Qt::Key_B, Qt::ControlModifier | Qt::AltModifier, CardView());
    EXPECT_EQ(DialogTitles().size(), 1u);
}

TEST_F(CardMenusJourney, MasterModePutsTheTemplatesAfterCloseAllWithTheirKeys)
{
    RestartInMasterMode();
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    QAction* templates = Action("File > Templates");
    ASSERT_NE(templates, nullptr);
    // Right after "Close All" and a separator.
    QMenu* file = qobject_cast<QMenu*>(templates->associatedObjects().first());
    ASSERT_NE(file, nullptr);
    const QList<QAction*> items = file->actions();
    const qsizetype at = items.indexOf(templates);
    ASSERT_GE(at, 2);
    EXPECT_TRUE(items[at - 1]->isSeparator());
    EXPECT_EQ(items[at - 2]->text(), "Close A&ll");

    EXPECT_TRUE(Enabled(kCmdSaveTemplateToFile));
    EXPECT_TRUE(Enabled(kCmdAddTemplateToWizard));
    EXPECT_TRUE(Enabled(kCmdLoadTemplateFromFile));
    // The sample was not made from a wizard template.
    EXPECT_FALSE(Enabled(kCmdChangeTemplateInWizard));
    EXPECT_EQ(KeysOf(kCmdLoadTemplateFromFile), "Ctrl+Alt+L");
    EXPECT_EQ(KeysOf(kCmdAddTemplateToWizard), "Ctrl+Alt+A");
    EXPECT_EQ(KeysOf(kCmdChangeTemplateInWizard), "Ctrl+Alt+C");
    EXPECT_TRUE(Action("Edit > Wizard Setup..."));

    // Activating the window again adds nothing twice.
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx", "Second.lqx")), nullptr);
    int count = 0;
    for (QAction* action : file->actions())
        count += action->text() == "Templates";
    EXPECT_EQ(count, 1);

    // Ctrl+Alt+L asks for the template file; cancelled, nothing changes.
    OnNextDialog(Reject());
    Key(Qt::Key_L, Qt::ControlModifier | Qt::AltModifier, CardView());
    ASSERT_EQ(DialogTitles().size(), 3u);
    EXPECT_EQ(DialogTitles().back(), "Load Template from File");
}

TEST_F(CardMenusJourney, ABackdropPictureComesWithCtrlAltBAndCtrlAltVTurnsItBack)
{
    RestartInMasterMode();
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    const std::string picture = TempFile("backdrop.png");
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(QString::fromStdString(picture)));

    OnNextDialog(ChooseFile(picture));
    Key(Qt::Key_B, Qt::ControlModifier | Qt::AltModifier, CardView());
    EXPECT_EQ(PendingDialogs(), 0u);
    ASSERT_NE(CardDocument()->PageManager()->GetBackdropFrame(), nullptr);
    EXPECT_TRUE(Enabled(kCmdPrintableBackdrop));
    const bool printable = Checked(kCmdPrintableBackdrop);
    ASSERT_TRUE(Trigger("View > Printable Backdrop"));
    EXPECT_NE(Checked(kCmdPrintableBackdrop), printable);

    // With nothing selected Ctrl+Alt+V takes the backdrop back into the page.
    Key(Qt::Key_V, Qt::ControlModifier | Qt::AltModifier, CardView());
    EXPECT_EQ(CardDocument()->PageManager()->GetBackdropFrame(), nullptr);
    EXPECT_FALSE(Enabled(kCmdPrintableBackdrop));
}

TEST_F(CardMenusJourney, ChangeLayoutAndDesignAsksFirstThenRunsTheWizard)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    alerts.answer(kIdCancel);
    ASSERT_TRUE(Trigger(kCmdChangeLayout));
    ASSERT_FALSE(alerts.boxes().empty());
    EXPECT_NE(alerts.lastText().find("Changing your professional layout"), std::string::npos);
    EXPECT_EQ(DialogTitles().size(), 1u);  // only the file dialog of the open

    alerts.answer(kIdOk);
    OnNextDialog(Reject());
    ASSERT_TRUE(Trigger(kCmdChangeLayout));
    ASSERT_EQ(DialogTitles().size(), 2u);
    EXPECT_EQ(DialogTitles().back(), "Change Layout");
}

TEST_F(CardMenusJourney, PrintOptionsAreKeptWithTheCard)
{
    const std::string path = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(path), nullptr) << alerts.lastText();
    ASSERT_TRUE(Enabled(kCmdPrintOptions));
    OnNextDialog([](QWidget* dialog) {
        auto* options = dynamic_cast<CDlgPrintOptions*>(dialog);
        ASSERT_NE(options, nullptr);
        EXPECT_FALSE(options->CropMarks()->isChecked());
        options->CropMarks()->setChecked(true);
        options->HorizontalEdit()->setText("12");
        options->accept();
    });
    ASSERT_TRUE(Trigger("File > Print Options..."));
    EXPECT_TRUE(CardDocument()->IsModified());
    ASSERT_TRUE(Trigger(kCmdFileSave));
    ASSERT_TRUE(Trigger("File > Close"));

    ASSERT_NE(OpenThroughMenu(path), nullptr) << alerts.lastText();
    bool crop = false;
    QString across;
    OnNextDialog([&](QWidget* dialog) {
        auto* options = dynamic_cast<CDlgPrintOptions*>(dialog);
        ASSERT_NE(options, nullptr);
        crop = options->CropMarks()->isChecked();
        across = options->HorizontalEdit()->text();
        options->reject();
    });
    ASSERT_TRUE(Trigger(kCmdPrintOptions));
    EXPECT_TRUE(crop);
    EXPECT_EQ(across, "12");
}

}  // namespace

namespace {

// The texts of a dialog's labels and buttons.
QStringList TextsOf(QWidget* dialog)
{
    QStringList texts;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        texts << label->text();
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        texts << button->text();
    return texts;
}

TEST_F(CardMenusJourney, TheProgramsOwnWordsAreSpelledRight)
{
    // A card whose last save went wrong says so in plain words.
    const std::string damaged = CopySample("Business Card.lqx", "Damaged.lqx");
    std::string bytes = ReadFileBytes(damaged);
    bytes[0] = 1;
    WriteFileBytes(damaged, bytes);
    ASSERT_NE(OpenThroughMenu(damaged), nullptr);
    EXPECT_EQ(alerts.lastText(), "Damaged.lqx: The document is damaged. It was opened with what could be read of "
                                 "it: check it before saving it, or save it under another name.");

    EXPECT_NE(Action("View > Show Rulers"), nullptr);
    EXPECT_NE(Action("Graphics > Line Width > 8 pt"), nullptr);
    QStringList counter, barcode;
    OnNextDialog([&](QWidget* dialog) {
        counter = TextsOf(dialog);
        Reject()(dialog);
    });
    ASSERT_TRUE(Trigger("Object > Place Counter"));
    EXPECT_TRUE(counter.contains("Fixed Length Width")) << counter.join("|").toStdString();
    OnNextDialog([&](QWidget* dialog) {
        barcode = TextsOf(dialog);
        Reject()(dialog);
    });
    ASSERT_TRUE(Trigger("Object > Place Barcode"));
    EXPECT_TRUE(barcode.contains("Print System Number")) << barcode.join("|").toStdString();
}

TEST_F(CardMenusJourney, DefaultCardInfoNamesEachCustomRowByTheFieldItStores)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    // The names of the rows below Picture, top to bottom, and the text
    // typed into the row a person reads as "Custom5".
    QStringList rows;
    OnNextDialog([&rows](QWidget* dialog) {
        auto* grid = dialog->findChild<QGridLayout*>();
        ASSERT_NE(grid, nullptr);
        QLineEdit* custom5 = nullptr;
        for (int row = 0; row < grid->rowCount(); ++row) {
            QLayoutItem* name = grid->itemAtPosition(row, 0);
            auto* label = name ? qobject_cast<QLabel*>(name->widget()) : nullptr;
            if (!label || (rows.isEmpty() && label->text() != "Picture"))
                continue;
            rows << label->text();
            if (label->text() == "Custom5")
                custom5 = qobject_cast<QLineEdit*>(grid->itemAtPosition(row, 1)->widget());
        }
        ASSERT_NE(custom5, nullptr) << rows.join(", ").toStdString();
        custom5->selectAll();
        QTest::keyClicks(custom5, "Size M");
        Accept()(dialog);
    });
    ASSERT_TRUE(Trigger("Edit > Default Card Info..."));
    EXPECT_EQ(rows.join(", ").toStdString(), "Picture, Custom1, Custom2, Custom3, Custom4, Custom5, Custom6");
    char stored[kPreviewTextSize] = {};
    GetPreviewFieldText(kFieldCustom1 + 4, false, stored);
    EXPECT_STREQ(stored, "Size M");
}

}  // namespace
