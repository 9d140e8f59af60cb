// File > New > Document...: the wizard offers the catalogue the program
// ships, its kinds of documents, their backdrops and layouts, and Finish
// opens a card made of them that prints filled from the contacts.
#include <array>
#include <filesystem>
#include <vector>

#include <QComboBox>
#include <QCursor>
#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QLineEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QSettings>
#include <QToolButton>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "support/needed_tools.h"
#include "app/child_frame.h"
#include "app/document_child_frame.h"
#include "app/main_frame.h"
#include "app/main_status_bar.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "carddoc/print_preview_dialog.h"
#include "dialogs/filtered_edit.h"
#include "dialogs/label_type_list.h"
#include "dialogs/label_type_list_dlg.h"
#include "dialogs/print_dialog.h"
#include "foundation/cp1252.h"
#include "foundation/program_folder.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "journey_fixture.h"
#include "platform/menus.h"
#include "records/command_ids.h"
#include "wizard/category_tree_ctrl.h"
#include "wizard/dlg_wizard.h"
#include "wizard/pg_wiz_1.h"
#include "wizard/pg_wiz_2.h"
#include "wizard/pg_wiz_3.h"
#include "wizard/pg_wiz_db_info.h"

namespace {

// On the wizard's backdrop page: the backdrop of the row, Next, and the
// layout named, ready for Next or Finish.
void ChooseBackdropAndLayout(CDlgWizard* sheet, int backdropRow, const QString& layout)
{
    const auto settle = [] {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    };
    QTreeWidget* designs = static_cast<CPgWiz_2*>(sheet->Page(kPageBackdrop))->Tree();
    designs->setCurrentItem(designs->topLevelItem(backdropRow));
    settle();
    sheet->PressNext();
    settle();
    QListWidget* list = static_cast<CPgWiz_3*>(sheet->Page(kPageLayout))->List();
    list->setCurrentItem(list->findItems(layout, Qt::MatchExactly).value(0));
    settle();
}

// Replaces the edit's text with the one typed, key by key, letters beyond
// ASCII too.
void TypeInto(QWidget* edit, const QString& text)
{
    static_cast<QLineEdit*>(edit)->selectAll();
    QKeyEvent erase(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &erase);
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(edit, &press);
    }
}

class NewCardWizardJourney : public JourneyTest {
protected:
    void SetUp() override
    {
        JourneyTest::SetUp();
        // The program folder as the installed data seeds it: the first start
        // made an empty catalogue, which seeding would keep.
        Stop();
        std::filesystem::remove_all(ProgramFolderPath() + "Wizard");
        ASSERT_EQ(SeedFolder(std::string(TESSALINE_BINARY_DIR) + "/share/tessaline/Wizard",
                             ProgramFolderPath() + "Wizard"),
                  0);
        Start();
    }

    static void ProcessEvents()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    // File > New > Document... through to Finish: a business card with the
    // backdrop of the row and the layout named, no personal information.
    void NewBusinessCard(int backdropRow, const QString& layout)
    {
        OnNextDialog([&](QWidget* dialog) {
            auto* sheet = dynamic_cast<CDlgWizard*>(dialog);
            ASSERT_NE(sheet, nullptr);
            QTreeWidget* types = static_cast<CPgWiz_1*>(sheet->Page(kPageDocumentType))->Tree();
            types->setCurrentItem(types->findItems("Business Cards", Qt::MatchExactly | Qt::MatchRecursive).value(0));
            ProcessEvents();
            sheet->PressNext();
            ProcessEvents();
            ChooseBackdropAndLayout(sheet, backdropRow, layout);
            for (int page = 0; page < 2; ++page) {
                sheet->PressNext();
                ProcessEvents();
            }
            sheet->PressFinish();
        });
        ASSERT_TRUE(Trigger("File > New > Document..."));
        ASSERT_NE(CardDocument(), nullptr) << alerts.lastText();
        MaximizeCardWindow();
    }

    static QStringList Texts(QTreeWidget* tree)
    {
        QStringList texts;
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            texts << (*it)->text(0);
        return texts;
    }
};

TEST_F(NewCardWizardJourney, ABusinessCardLayoutFromTheWizardPrintsTheContacts)
{
    QStringList kinds, backdrops, layouts;
    OnNextDialog([&](QWidget* dialog) {
        auto* sheet = dynamic_cast<CDlgWizard*>(dialog);
        ASSERT_NE(sheet, nullptr) << dialog->metaObject()->className();
        QTreeWidget* types = static_cast<CPgWiz_1*>(sheet->Page(kPageDocumentType))->Tree();
        kinds = Texts(types);
        const QList<QTreeWidgetItem*> cards = types->findItems("Business Cards", Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(cards.size(), 1) << kinds.join(", ").toStdString();
        types->setCurrentItem(cards.front());
        ProcessEvents();
        sheet->PressNext();
        ProcessEvents();
        QTreeWidget* designs = static_cast<CPgWiz_2*>(sheet->Page(kPageBackdrop))->Tree();
        backdrops = Texts(designs);
        ASSERT_GE(designs->topLevelItemCount(), 2);
        designs->setCurrentItem(designs->topLevelItem(1));
        ProcessEvents();
        sheet->PressNext();
        ProcessEvents();
        QListWidget* list = static_cast<CPgWiz_3*>(sheet->Page(kPageLayout))->List();
        for (int i = 0; i < list->count(); ++i)
            layouts << list->item(i)->text();
        const QList<QListWidgetItem*> chosen = list->findItems("Two Columns", Qt::MatchExactly);
        ASSERT_EQ(chosen.size(), 1) << layouts.join(", ").toStdString();
        list->setCurrentItem(chosen.front());
        ProcessEvents();
        sheet->PressNext();  // personal information
        ProcessEvents();
        sheet->PressNext();  // finish
        ProcessEvents();
        sheet->PressFinish();
    });
    ASSERT_TRUE(Trigger("File > New > Document..."));
    for (const char* kind : {"Business Cards", "Labels", "Address Labels", "Shipping Labels", "Name Badges",
                             "Index Cards"})
        EXPECT_TRUE(kinds.contains(kind)) << kind << ": " << kinds.join(", ").toStdString();
    EXPECT_GE(backdrops.size(), 5);  // "No Backdrop" and the four designs
    EXPECT_GE(layouts.size(), 7);    // "No Layout" and six layouts

    // The new card holds the backdrop and the layout's frames, and shows
    // the backdrop's blue along the card's bottom edge.
    CLabelsDoc* card = CardDocument();
    ASSERT_NE(card, nullptr) << alerts.lastText();
    ASSERT_NE(card->PageManager()->GetBackdropFrame(), nullptr);
    EXPECT_GE(card->PageManager()->FrameCount(), 4);
    MaximizeCardWindow();
    const IntRect slot = card->PageGeometry().slots[0];
    const QImage picture = ViewPixels();
    const QPoint bottom = ViewPoint(IntPoint{(slot.left + slot.right) / 2, slot.bottom - 3});
    ASSERT_TRUE(picture.rect().contains(bottom));
    const QColor edge = picture.pixelColor(bottom);
    EXPECT_GT(edge.blue(), edge.red() + 40) << edge.name().toStdString();

    // The contacts open in a window of their own; the card's window, the
    // first in the Window menu, comes back to the front.
    OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_EQ(CardDocument(), nullptr);
    QAction* windowMenu = Action("Window");
    ASSERT_TRUE(windowMenu && windowMenu->menu());
    OnNextMenu([](QMenu* menu) {
        for (QAction* item : menu->actions()) {
            if (MenuGetCommandId(item) == kFirstWindowListId) {
                ChooseItem(item->text())(menu);
                return;
            }
        }
        ADD_FAILURE() << "no window list in the Window menu";
        menu->close();
    });
    windowMenu->menu()->popup(QPoint(0, 0));
    Settle();
    ASSERT_EQ(CardDocument(), card);

    const std::string pdf = TempFile("cards.pdf");
    OnNextDialog([pdf](QWidget* dialog) {
        auto* print = dynamic_cast<CDlgPrint*>(dialog);
        ASSERT_NE(print, nullptr) << dialog->metaObject()->className();
        print->PrinterList()->setCurrentIndex(print->PdfEntry());
        print->FileEdit()->setText(QString::fromStdString(pdf));
        print->accept();
    });
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    const std::string text = PdfText(pdf);
    if (text.empty())
        SKIP_FOR_MISSING_TOOL() << "no pdftotext";
    // Every contact's card: the first and the last one.
    EXPECT_NE(text.find("Ada Abbott"), std::string::npos) << text.substr(0, 400);
    EXPECT_NE(text.find("Yusuf Yilmaz"), std::string::npos);
    EXPECT_NE(text.find("Abbott Bakery"), std::string::npos);
}

TEST_F(NewCardWizardJourney, TheClassicLayoutShowsItsCompanyLine)
{
    // No backdrop, so that all the ink is the text's. The company's box is
    // the top one; with no contact it shows the field's name.
    NewBusinessCard(0, "Classic");
    EXPECT_GT(Ink(ViewPixels(), CardRect(34, 17, 150, 13)), 40) << "the company's line is missing";
}

TEST_F(NewCardWizardJourney, APreviewAfterAMergePrintShowsTheCardsOwnPagesAndLeavesTheViewAsItWas)
{
    NewBusinessCard(1, "Two Columns");
    CLabelsDoc* card = CardDocument();
    const int16_t pages = card->GetPageCount();
    const int16_t shown = card->GetCurrentPage();
    const QString pageText = CardWindow()->PageText();
    OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_TRUE(ChooseWindow("Untitled"));
    ASSERT_EQ(CardDocument(), card);
    // The database window settles on its current record a little after it
    // opens; the card shows that record from then on.
    Settle(500);
    const QImage before = ViewPixels();

    OnNextDialog(PrintToPdfFile(TempFile("cards.pdf")));
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    EXPECT_EQ(card->GetPageCount(), pages);
    EXPECT_EQ(CardWindow()->PageText().toStdString(), pageText.toStdString());

    // The preview offers the card's own sides; it is closed on its last.
    QString count;
    OnNextDialog([&](QWidget* dialog) {
        auto* preview = dynamic_cast<CDlgPrintPreview*>(dialog);
        ASSERT_NE(preview, nullptr);
        count = preview->PageCountValue()->text();
        while (preview->Page() < pages && preview->NextButton()->isEnabled())
            preview->NextButton()->click();
        preview->reject();
    });
    ASSERT_TRUE(Trigger("File > Print Preview..."));
    EXPECT_EQ(count.toStdString(), std::to_string(pages));
    EXPECT_EQ(card->GetCurrentPage(), shown);
    EXPECT_EQ(CardWindow()->PageText().toStdString(), pageText.toStdString());
    EXPECT_EQ(Changed(before, ViewPixels(), before.rect()), 0) << "the view changed";
}

// Where the frames of the card are now: type, left and top, in page order.
std::vector<std::array<int32_t, 3>> Placements(CLabelsDoc* card)
{
    std::vector<std::array<int32_t, 3>> out;
    CurrPageMng* pages = card->PageManager();
    for (int16_t i = 0; i < pages->FrameCount(); ++i) {
        const FrameObj* f = pages->FrameAt(i);
        out.push_back({f->GetType(), f->Attributes().geometry.x, f->Attributes().geometry.y});
    }
    return out;
}

TEST_F(NewCardWizardJourney, APastedGroupOverTheEdgeReopensWhereItWasSavedAndPasteUndoes)
{
    NewBusinessCard(1, "Two Columns");
    CLabelsDoc* card = CardDocument();
    const int before = card->PageManager()->FrameCount();
    // Everything on the card but its backdrop, grouped.
    Drag(CardPoint(-6, -6), {CardPoint(100, 60), CardPoint(258, 150)});
    ASSERT_TRUE(Trigger("Object > Group"));
    ASSERT_TRUE(Trigger("Edit > Copy"));
    // Pasted with the mouse near the card's bottom-right corner: the group
    // hangs over that edge.
    QCursor::setPos(CardView()->mapToGlobal(CardPoint(240, 136)));
    ASSERT_TRUE(Trigger("Edit > Paste"));
    const int pasted = card->PageManager()->FrameCount() - before;
    ASSERT_GT(pasted, 0);
    // Undone and redone as a new frame is.
    ASSERT_TRUE(Enabled(uint32_t(kCmdEditUndo))) << "Paste cannot be undone";
    ASSERT_TRUE(Trigger(uint32_t(kCmdEditUndo)));
    EXPECT_EQ(card->PageManager()->FrameCount(), before);
    ASSERT_TRUE(Trigger("Edit > Paste"));
    ASSERT_EQ(card->PageManager()->FrameCount(), before + pasted);
    const auto placed = Placements(card);
    const IntRect slot = card->PageGeometry().slots[0];
    ASSERT_GE(placed.back()[1], slot.left + 200) << "the paste did not go where the mouse was";
    ASSERT_GE(placed.back()[2], slot.top + 100);
    const QImage shown = ViewPixels();

    const std::string path = TempFile("edge.lqx");
    OnNextDialog(ChooseFile(path));
    ASSERT_TRUE(Trigger("File > Save As..."));
    ASSERT_TRUE(Trigger("File > Close"));
    ASSERT_NE(OpenThroughMenu(path), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    EXPECT_EQ(Placements(CardDocument()), placed);
    // And the card looks as it did.
    EXPECT_LT(Changed(shown, ViewPixels(), CardRect(0, 0, 252, 144)), 40);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace

namespace {

// Whoever keeps the wizard's stock (master mode) sees on the status bar the
// layout and the wizard's template the card shown was made of.
TEST_F(NewCardWizardJourney, TheStatusBarNamesTheCardsLayoutAndTemplate)
{
    Stop();
    QSettings().setValue("Wizard/MasterMode", 1);
    Start();
    NewBusinessCard(1, "Two Columns");
    Settle(300);
    CMainStatusBar* bar = MainWindow()->MainStatusBar();
    EXPECT_EQ(bar->PaneText(bar->CommandToIndex(kPaneTemplateName)).toStdString(), "Two Columns");
    EXPECT_EQ(bar->PaneText(bar->CommandToIndex(kPaneDocument)).toStdString(), CardDocument()->DocumentNameText());
    EXPECT_FALSE(CardDocument()->DocumentNameText().empty());
}

// The wizard's data page and the databases of the program: one already
// open is the user's, taken on the page, and stays open in its window when
// the wizard lets it go.
// The wizard as far as its data page: a business card of the classic
// layout.
void ToDataPage(CDlgWizard* sheet)
{
    const auto settle = [] {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    };
    QTreeWidget* types = static_cast<CPgWiz_1*>(sheet->Page(kPageDocumentType))->Tree();
    types->setCurrentItem(types->findItems("Business Cards", Qt::MatchExactly | Qt::MatchRecursive).value(0));
    settle();
    sheet->PressNext();
    settle();
    ChooseBackdropAndLayout(sheet, 0, "Classic");
    sheet->PressNext();
    settle();
}

TEST_F(NewCardWizardJourney, ADatabaseAlreadyOpenStaysTheUsersAndTheDataPageChangesNoRecordOfIt)
{
    const std::string contacts = CopySample("Contacts.dqx");
    const std::string before = Tool("db dump \"" + contacts + "\"");
    ASSERT_NE(before.find("\tOwner\t"), std::string::npos) << before;
    OnNextDialog(ChooseFile(contacts));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_NE(DatabaseDocument(), nullptr);

    // The data page holds no database of its own: its fields are the
    // user's details, not the first record of the open database, and
    // what is typed there goes nowhere near it.
    QString title, name;
    bool canDelete = true;
    // What the data page shows; then Title becomes Chef, and Cancel.
    const auto chefThenCancel = [&](CDlgWizard* sheet) {
        auto* page = static_cast<CPgWiz_DBInfo*>(sheet->Page(kPagePersonalInfo));
        title = sheet->windowTitle();
        name = page->Edit(0)->text();
        canDelete = page->Item<QPushButton>(kIdDeleteRecord)->isEnabled();
        page->Edit(2)->setFocus();
        page->Edit(2)->selectAll();
        QTest::keyClicks(page->Edit(2), "Chef");
        sheet->PressCancel();
    };
    OnNextDialog([&](QWidget* dialog) {
        auto* sheet = dynamic_cast<CDlgWizard*>(dialog);
        ASSERT_NE(sheet, nullptr) << dialog->metaObject()->className();
        ToDataPage(sheet);
        ASSERT_EQ(sheet->ActiveIndex(), kPagePersonalInfo);
        chefThenCancel(sheet);
    });
    ASSERT_TRUE(Trigger("File > New > Document..."));
    Settle();
    EXPECT_TRUE(title.endsWith(" - No Database")) << title.toStdString();
    EXPECT_NE(name, QStringLiteral("Ada"));
    EXPECT_FALSE(canDelete) << "the page offers to delete the open database's records";
    EXPECT_EQ(PendingDialogs(), 0u);
    // Cancel leaves the user's database open, its window back, and its
    // records as they were.
    ASSERT_TRUE(ChooseWindow("Contacts.dqx"));
    ASSERT_NE(DatabaseDocument(), nullptr) << "the wizard closed the user's database";
    EXPECT_TRUE(MainWindow()->ActiveChildFrame()->isVisible());

    // Chosen with "..." on the page, the open database is worked there;
    // Cancel leaves it open with its record as it was.
    OnNextDialog([&](QWidget* dialog) {
        auto* sheet = dynamic_cast<CDlgWizard*>(dialog);
        ASSERT_NE(sheet, nullptr) << dialog->metaObject()->className();
        ToDataPage(sheet);
        auto* open = sheet->Page(kPagePersonalInfo)->Item<QPushButton>(kIdOpenDatabase);
        QTimer::singleShot(0, open, &QPushButton::click);
    });
    OnNextDialog(ChooseFile(contacts));
    OnNextDialog([&](QWidget* dialog) {
        auto* sheet = dynamic_cast<CDlgWizard*>(dialog);
        ASSERT_NE(sheet, nullptr) << dialog->metaObject()->className();
        chefThenCancel(sheet);
    });
    ASSERT_TRUE(Trigger("File > New > Document..."));
    Settle();
    EXPECT_TRUE(title.endsWith(" - Contacts.dqx")) << title.toStdString();
    EXPECT_EQ(name, QStringLiteral("Ada"));
    EXPECT_EQ(PendingDialogs(), 0u);
    ASSERT_TRUE(ChooseWindow("Contacts.dqx"));
    ASSERT_NE(DatabaseDocument(), nullptr) << "the wizard closed the user's database";
    ASSERT_TRUE(Trigger("File > Close"));
    EXPECT_EQ(Tool("db dump \"" + contacts + "\""), before);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(NewCardWizardJourney, ADatabaseOpenedOnTheDataPageShowsItsWindowFromTheWindowMenu)
{
    const std::string contacts = CopySample("Contacts.dqx");
    QString title;
    OnNextDialog([&](QWidget* dialog) {
        auto* sheet = dynamic_cast<CDlgWizard*>(dialog);
        ASSERT_NE(sheet, nullptr) << dialog->metaObject()->className();
        ToDataPage(sheet);
        EXPECT_TRUE(sheet->windowTitle().endsWith(" - No Database")) << sheet->windowTitle().toStdString();
        auto* open = sheet->Page(kPagePersonalInfo)->Item<QPushButton>(kIdOpenDatabase);
        ASSERT_NE(open, nullptr);
        // Clicked from the wizard's own loop, as a person does: the file
        // dialog it opens is answered like any other.
        QTimer::singleShot(0, open, &QPushButton::click);
    });
    OnNextDialog(ChooseFile(contacts));
    // The wizard, uncovered again, goes on to Finish.
    OnNextDialog([&](QWidget* dialog) {
        auto* sheet = dynamic_cast<CDlgWizard*>(dialog);
        ASSERT_NE(sheet, nullptr) << dialog->metaObject()->className();
        title = sheet->windowTitle();
        sheet->PressNext();
        ProcessEvents();
        sheet->PressFinish();
    });
    ASSERT_TRUE(Trigger("File > New > Document..."));
    Settle();
    EXPECT_TRUE(title.endsWith(" - Contacts.dqx")) << title.toStdString();
    EXPECT_EQ(PendingDialogs(), 0u);
    ASSERT_NE(CardDocument(), nullptr) << alerts.lastText();

    // The database is listed in the Window menu, and choosing it brings
    // its window up, in front.
    ASSERT_TRUE(ChooseWindow("Contacts.dqx"));
    ASSERT_NE(DatabaseDocument(), nullptr);
    DocumentChildFrame* shown = MainWindow()->ActiveChildFrame();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_FALSE(shown->isMinimized());
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace

namespace {

// The database window the user started from still feeds the new card: the
// merge print is offered at once, not only after its window is shown again.
TEST_F(NewCardWizardJourney, TheOpenDatabasePrintsTheNewCardRightAfterTheWizard)
{
    OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_NE(DatabaseDocument(), nullptr);
    NewBusinessCard(1, "Two Columns");
    ASSERT_NE(CardDocument(), nullptr);
    EXPECT_TRUE(Enabled("File > Print > Document From Database..."));
}

TEST_F(NewCardWizardJourney, ExitAsksToSaveACardWhoseLayoutAndDesignChanged)
{
    // Made with a backdrop and left as the wizard made it: nothing to ask.
    NewBusinessCard(1, "No Layout");
    ASSERT_NE(CardDocument()->PageManager()->GetBackdropFrame(), nullptr);
    EXPECT_FALSE(CardDocument()->IsModified());

    // Edit > Change Layout and Design..., OK, No Backdrop, No Layout, Finish:
    // no frame is made, yet the card's design is another.
    alerts.answer(kIdOk);
    OnNextDialog([&](QWidget* dialog) {
        auto* sheet = dynamic_cast<CDlgWizard*>(dialog);
        ASSERT_NE(sheet, nullptr);
        ChooseBackdropAndLayout(sheet, 0, "No Layout");
        sheet->PressFinish();
    });
    ASSERT_TRUE(Trigger("Edit > Change Layout and Design..."));
    EXPECT_EQ(PendingDialogs(), 0u);

    // File > Exit asks; Cancel keeps the card and its window.
    OnNextDialog(Answer(QMessageBox::Cancel));
    ASSERT_TRUE(Trigger("File > Exit"));
    EXPECT_EQ(PendingDialogs(), 0u) << "Exit did not ask to save the changed card";
    ASSERT_NE(CardWindow(), nullptr);
    EXPECT_TRUE(CardDocument()->IsModified());
}

TEST_F(NewCardWizardJourney, TheCardShowsThePersonalInfoTypedAndTheNextNewLabelOnlyItsOwn)
{
    // Waves Ocean with "Name Right", a title typed on Personal Info.
    OnNextDialog([&](QWidget* dialog) {
        auto* sheet = dynamic_cast<CDlgWizard*>(dialog);
        ASSERT_NE(sheet, nullptr);
        QTreeWidget* types = static_cast<CPgWiz_1*>(sheet->Page(kPageDocumentType))->Tree();
        types->setCurrentItem(types->findItems("Business Cards", Qt::MatchExactly | Qt::MatchRecursive).value(0));
        ProcessEvents();
        sheet->PressNext();
        ProcessEvents();
        QTreeWidget* designs = static_cast<CPgWiz_2*>(sheet->Page(kPageBackdrop))->Tree();
        const QTreeWidgetItem* waves = designs->findItems("Waves Ocean", Qt::MatchExactly | Qt::MatchRecursive).value(0);
        ASSERT_NE(waves, nullptr) << Texts(designs).join(", ").toStdString();
        ChooseBackdropAndLayout(sheet, designs->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(waves)), "Name Right");
        sheet->PressNext();
        ProcessEvents();
        ASSERT_EQ(sheet->ActiveIndex(), kPagePersonalInfo);
        auto* info = static_cast<CPgWiz_DBInfo*>(sheet->Page(kPagePersonalInfo));
        QTest::keyClicks(info->Edit(2), "Head Baker");
        sheet->PressNext();
        ProcessEvents();
        sheet->PressFinish();
    });
    ASSERT_TRUE(Trigger("File > New > Document..."));
    ASSERT_NE(CardDocument(), nullptr) << alerts.lastText();
    const std::string pdf = TempFile("card.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));

    // File > New > Label..., a sheet of address labels: the new card is
    // the sheet's alone, as blank as after a restart.
    OnNextDialog([](QWidget* dialog) {
        auto* list = dynamic_cast<CDlgListOfLabels*>(dialog);
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->List()->count(); ++i) {
            LabelTypeRecord record;
            if (!list->List()->GetLabel(i, &record) || !Cp1252ToQString(record.name).startsWith("Address labels 3×10"))
                continue;
            list->List()->scrollToItem(list->List()->item(i));
            QTest::mouseClick(list->List()->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->List()->visualItemRect(list->List()->item(i)).center());
            break;
        }
        list->OkButton()->click();
    });
    ASSERT_TRUE(Trigger("File > New > Label..."));
    ASSERT_NE(CardDocument(), nullptr) << alerts.lastText();
    EXPECT_EQ(CardDocument()->PageGeometry().cardHeight, 72.0);
    EXPECT_EQ(CardDocument()->PageManager()->GetBackdropFrame(), nullptr);
    EXPECT_EQ(CardDocument()->PageManager()->FrameCount(), 0);

    // The wizard's card printed with the title typed.
    const std::string text = PdfText(pdf);
    if (text.empty())
        SKIP_FOR_MISSING_TOOL() << "no pdftotext";
    EXPECT_NE(text.find("Head Baker"), std::string::npos) << text.substr(0, 400);
    EXPECT_EQ(text.find("Title"), std::string::npos) << text.substr(0, 400);
}

// Every layout of every kind the wizard offers whose lines hold the title,
// with each of its backdrops: the title typed on Personal Info is what the
// saved card holds, never the field's name; also when the page was left
// with Back and come back to, and with letters beyond ASCII.
TEST_F(NewCardWizardJourney, EveryLayoutWithATitleHoldsTheTitleTyped)
{
    struct Run {
        QString kind, backdrop, layout;
    };
    std::vector<Run> runs;
    // The catalogue as the wizard lists it.
    OnNextDialog([&](QWidget* dialog) {
        auto* sheet = dynamic_cast<CDlgWizard*>(dialog);
        ASSERT_NE(sheet, nullptr);
        QTreeWidget* types = static_cast<CPgWiz_1*>(sheet->Page(kPageDocumentType))->Tree();
        QStringList kinds;
        for (QTreeWidgetItemIterator it(types); *it; ++it)
            if ((*it)->childCount() == 0)
                kinds << (*it)->text(0);
        for (const QString& kind : kinds) {
            types->setCurrentItem(types->findItems(kind, Qt::MatchExactly | Qt::MatchRecursive).value(0));
            ProcessEvents();
            sheet->PressNext();
            ProcessEvents();
            if (sheet->ActiveIndex() != kPageBackdrop) {
                sheet->PressBack();
                ProcessEvents();
                continue;
            }
            QTreeWidget* designs = static_cast<CPgWiz_2*>(sheet->Page(kPageBackdrop))->Tree();
            for (int row = 0; row < designs->topLevelItemCount(); ++row) {
                const QString backdrop = designs->topLevelItem(row)->text(0);
                designs->setCurrentItem(designs->topLevelItem(row));
                ProcessEvents();
                sheet->PressNext();
                ProcessEvents();
                QListWidget* list = static_cast<CPgWiz_3*>(sheet->Page(kPageLayout))->List();
                for (int i = 0; i < list->count(); ++i)
                    if (list->item(i)->text() != "No Layout")
                        runs.push_back({kind, backdrop, list->item(i)->text()});
                sheet->PressBack();
                ProcessEvents();
            }
            sheet->PressBack();
            ProcessEvents();
        }
        sheet->reject();
    });
    ASSERT_TRUE(Trigger("File > New > Document..."));
    ASSERT_GE(runs.size(), 24u);
    // And once more as the issue's, with no title typed.
    runs.push_back({"Business Cards", "Waves Ocean", "Name Right"});
    RecordProperty("runs", int(runs.size()));

    int withTitle = 0;
    int round = 0;
    for (const Run& run : runs) {
        SCOPED_TRACE((run.kind + " / " + run.backdrop + " / " + run.layout).toStdString());
        // Every other run goes Back from Personal Info to the layout and on
        // again before Finish.
        const bool backAndOn = ++round % 2 == 0;
        // The last run leaves the title empty: the card then holds the
        // field's name, as for any field without a text.
        const bool last = &run == &runs.back();
        const QString title = last ? QString() : QString::fromUtf8("Bäckermeisterin %1").arg(round);
        const std::string expected = last ? std::string("Title")
                                          : std::string("B\xE4" "ckermeisterin ") + std::to_string(round);
        OnNextDialog([&](QWidget* dialog) {
            auto* sheet = dynamic_cast<CDlgWizard*>(dialog);
            ASSERT_NE(sheet, nullptr);
            QTreeWidget* types = static_cast<CPgWiz_1*>(sheet->Page(kPageDocumentType))->Tree();
            types->setCurrentItem(types->findItems(run.kind, Qt::MatchExactly | Qt::MatchRecursive).value(0));
            ProcessEvents();
            sheet->PressNext();
            ProcessEvents();
            QTreeWidget* designs = static_cast<CPgWiz_2*>(sheet->Page(kPageBackdrop))->Tree();
            const QTreeWidgetItem* item = designs->findItems(run.backdrop, Qt::MatchExactly).value(0);
            ASSERT_NE(item, nullptr);
            ChooseBackdropAndLayout(sheet, designs->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)), run.layout);
            sheet->PressNext();
            ProcessEvents();
            ASSERT_EQ(sheet->ActiveIndex(), kPagePersonalInfo);
            auto* info = static_cast<CPgWiz_DBInfo*>(sheet->Page(kPagePersonalInfo));
            // A name as long as people's are: on the narrower layouts it
            // takes two lines and pushes the title out of its frame.
            TypeInto(info->Edit(0), "Maximiliane");
            TypeInto(info->Edit(1), "Schwarzenberger-Holt");
            TypeInto(info->Edit(2), title);
            if (backAndOn) {
                sheet->PressBack();
                ProcessEvents();
                sheet->PressNext();
                ProcessEvents();
            }
            sheet->PressNext();
            ProcessEvents();
            sheet->PressFinish();
        });
        ASSERT_TRUE(Trigger("File > New > Document..."));
        ASSERT_NE(CardDocument(), nullptr) << alerts.lastText();
        const std::string path = TempFile("wizard-" + std::to_string(round) + ".lqx");
        OnNextDialog(ChooseFile(path));
        ASSERT_TRUE(Trigger("File > Save As..."));
        ASSERT_TRUE(Trigger("File > Close"));
        const std::string dump = Tool("card dump '" + path + "'");
        // Each text run of field 4: "TEXT" [field 4 at A length N].
        size_t at = 0;
        while ((at = dump.find("[field 4 at ", at)) != std::string::npos) {
            const size_t line = dump.rfind("\n  \"", at) + 4;
            const size_t end = dump.find("\" [", line);
            const int start = std::atoi(dump.c_str() + at + 12);
            const int length = std::atoi(dump.c_str() + dump.find("length ", at) + 7);
            const std::string paragraph = dump.substr(line, end - line);
            ++withTitle;
            EXPECT_EQ(paragraph.substr(size_t(start), size_t(length)), expected) << paragraph;
            ++at;
        }
    }
    EXPECT_GE(withTitle, 24);
}

}  // namespace
