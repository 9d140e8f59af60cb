#include "app/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSettings>

#include "app/card_app.h"
#include "app/ch_frame_db.h"
#include "app/child_frame.h"
#include "app/main_status_bar.h"
#include "app/splash_wnd.h"
#include "app/tool_bar_db.h"
#include "app/tool_bar_draw.h"
#include "carddoc/labels_doc_registry.h"
#include "platform/command_data.h"
#include "platform/menus.h"
#include "records/command_ids.h"
#include "records/menu_resources.h"
#include "running_app_fixture.h"
#include "support/alert_capture.h"
#include "typography/font_size_combo_box.h"

namespace {

constexpr uint32_t kDocumentCommand = 40000;

// A document that carries out one command of its own.
class CommandDocument : public FakeDocument {
public:
    using FakeDocument::FakeDocument;
    bool OnCommand(uint32_t id) override { return id == kDocumentCommand && ++done > 0; }
    bool OnUpdateCommand(CmdUI& ui) override
    {
        if (ui.id != kDocumentCommand)
            return false;
        ui.SetCheck(true);
        return true;
    }
    int done = 0;
};

class CommandFactory : public FakeFactory {
public:
    using FakeFactory::FakeFactory;
    std::unique_ptr<ShellDocument> NewDocument() override
    {
        return std::make_unique<CommandDocument>("Doc" + std::to_string(++count));
    }
};

class MainFrameTest : public RunningAppTest {
protected:
    void Start(std::vector<std::string> arguments = {})
    {
        StartApp(arguments);
        if (HasFatalFailure())
            return;
        app->Documents().FindTemplate("TessalineLB")->SetFactory(std::make_unique<CommandFactory>("Card"));
        app->Documents().FindTemplate("TessalineDB")->SetFactory(std::make_unique<FakeFactory>("Database"));
    }
    bool Enabled(uint32_t id) { return frame->QueryCommand(id).enabled; }
    QAction* FindAction(QMenu* menu, uint32_t id)
    {
        for (QAction* action : menu->actions()) {
            if (MenuGetCommandId(action) == id)
                return action;
            if (action->menu())
                if (QAction* found = FindAction(action->menu(), id))
                    return found;
        }
        return nullptr;
    }
};

TEST_F(MainFrameTest, StartWritesTheWizardDefaultsAndSetsTheHelpMenuUp)
{
    {
        QSettings settings;
        settings.setValue("Wizard/DocCtg", -1);
        settings.setValue("Wizard/DocSubCtg", 7);
    }
    Start();
    QSettings settings;
    EXPECT_EQ(settings.value("Wizard/MasterMode").toInt(), 0);
    EXPECT_EQ(settings.value("Wizard/DocCtg").toInt(), 0);
    EXPECT_EQ(settings.value("Wizard/DocSubCtg").toInt(), 7);

    EXPECT_EQ(frame->ShownMenuSet(), kMenuMain);
    for (const int32_t set : {int32_t(kMenuMain), int32_t(kMenuCard), int32_t(kMenuDatabase)}) {
        QMenu* help = frame->MenuSet(set).back();
        EXPECT_EQ(help->title(), "&Help");
        ASSERT_NE(FindAction(help, kCmdAppAbout), nullptr);
        EXPECT_EQ(FindAction(help, kCmdAppAbout)->text(), "Tessaline...");
        ASSERT_NE(FindAction(help, kCmdCompanyWeb), nullptr);
    }
    // Setting the menu up again adds nothing.
    app->SetUpHelpMenu();
    EXPECT_EQ(frame->MenuSet(kMenuMain).back()->actions().size(), 2);
    // No document: the panes but no Active Template Name.
    EXPECT_EQ(frame->MainStatusBar()->PaneCount(), 6);
    EXPECT_EQ(frame->MainStatusBar()->CommandToIndex(kPaneTemplateName), -1);
}

TEST_F(MainFrameTest, CommandsFollowTheActiveWindowAndTheDocumentCount)
{
    Start();
    EXPECT_FALSE(Enabled(kCmdCloseAll));
    EXPECT_TRUE(Enabled(kCmdNewDatabase));
    EXPECT_FALSE(Enabled(kDocumentCommand));
    EXPECT_FALSE(frame->RouteCommand(kDocumentCommand));
    EXPECT_FALSE(Enabled(kCmdToggleToolPalette));

    auto* card = static_cast<CommandDocument*>(app->CreateNewLabelDocument(nullptr, true));
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(frame->ShownMenuSet(), kMenuCard);
    EXPECT_TRUE(frame->CardActive());
    EXPECT_TRUE(frame->CardMenusBuilt());
    EXPECT_TRUE(Enabled(kCmdCloseAll));
    EXPECT_TRUE(Enabled(kCmdToggleToolPalette));
    const CmdUI ui = frame->QueryCommand(kDocumentCommand);
    EXPECT_TRUE(ui.enabled && ui.checked);
    EXPECT_TRUE(frame->RouteCommand(kDocumentCommand));
    EXPECT_EQ(card->done, 1);
    // The card menus' placeholders became pop-ups.
    QAction* fillColour = nullptr;
    for (QAction* a : frame->MenuSet(kMenuCard)[4]->actions())
        if (a->text() == "&Fill Color")
            fillColour = a;
    ASSERT_NE(fillColour, nullptr);
    EXPECT_EQ(fillColour->menu(), reinterpret_cast<QMenu*>(frame->ColourMenu(1)));
    // Out of master mode the wizard's data is not offered for editing.
    EXPECT_EQ(FindAction(frame->MenuSet(kMenuCard)[1], kCmdWizardSetup), nullptr);
    EXPECT_FALSE(Enabled(kCmdWizardSetup));

    ShellDocument* database = app->CreateNewDatabase(true);
    ASSERT_NE(database, nullptr);
    EXPECT_EQ(frame->ShownMenuSet(), kMenuDatabase);
    EXPECT_TRUE(frame->DatabaseActive());
    EXPECT_FALSE(frame->CardActive());
    EXPECT_FALSE(Enabled(kCmdToggleToolPalette));
    EXPECT_FALSE(Enabled(kDocumentCommand));
    EXPECT_TRUE(frame->DatabaseBar()->FindCombo()->isEnabled());
    EXPECT_FALSE(frame->DatabaseBar()->InsertFieldCombo()->isEnabled());

    // Ten documents: nothing more is made or opened.
    while (app->GetOpenDocumentCount() < kMaxOpenDocuments)
        ASSERT_NE(app->CreateNewLabelDocument(nullptr, true), nullptr);
    for (const uint32_t id : {kCmdNewDatabase, kCmdNewDocument, kCmdOpenDocument, kCmdOpenDatabase, kCmdWizard})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(app->OpenDocumentFile(temp.file("eleventh.lqx")), nullptr);
    EXPECT_EQ(app->GetOpenDocumentCount(), kMaxOpenDocuments);

    app->Documents().CloseAllDocuments();
    EXPECT_EQ(frame->ShownMenuSet(), kMenuMain);
    EXPECT_FALSE(frame->CardActive());
    EXPECT_FALSE(Enabled(kCmdCloseAll));
}

TEST_F(MainFrameTest, ClosingAWindowOrTheProgramNeverLosesChanges)
{
    Start();
    auto* a = static_cast<FakeDocument*>(app->CreateNewLabelDocument(nullptr, true));
    auto* b = static_cast<FakeDocument*>(app->CreateNewLabelDocument(nullptr, true));
    a->modified = true;
    b->modified = true;

    prompts.answer = ShellPrompts::kCancel;
    QMdiSubWindow* window = frame->ChildFrames().front();
    window->close();
    EXPECT_EQ(app->GetOpenDocumentCount(), 2);
    EXPECT_EQ(frame->ChildFrames().size(), 2u);
    EXPECT_EQ(prompts.asked.size(), 1u);

    prompts.asked.clear();
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(app->GetOpenDocumentCount(), 2);

    // Close All with a cancelled question closes nothing either.
    frame->RouteCommand(kCmdCloseAll);
    EXPECT_EQ(app->GetOpenDocumentCount(), 2);

    prompts.asked.clear();
    prompts.answer = ShellPrompts::kNo;
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(prompts.asked, (std::vector<std::string>{"Doc1", "Doc2"}));
    EXPECT_EQ(app->GetOpenDocumentCount(), 0);
}

TEST_F(MainFrameTest, MasterModeOffersWizardSetupInTheCardEditMenu)
{
    {
        QSettings settings;
        settings.setValue("Wizard/MasterMode", 1);
    }
    Start();
    ASSERT_NE(app->CreateNewLabelDocument(nullptr, true), nullptr);
    QMenu* edit = frame->MenuSet(kMenuCard)[1];
    ASSERT_EQ(edit->title(), "&Edit");
    ASSERT_FALSE(edit->actions().isEmpty());
    EXPECT_EQ(MenuGetCommandId(edit->actions().back()), kCmdWizardSetup);
    EXPECT_EQ(edit->actions().back()->text(), "Wizard Setup...");
    EXPECT_TRUE(Enabled(kCmdWizardSetup));
    // The menus are built once: a second document adds no second item.
    ASSERT_NE(app->CreateNewLabelDocument(nullptr, true), nullptr);
    int32_t items = 0;
    for (QAction* action : edit->actions())
        items += MenuGetCommandId(action) == kCmdWizardSetup ? 1 : 0;
    EXPECT_EQ(items, 1);
}

TEST_F(MainFrameTest, StatusBarShowsPromptsPanesAndTheirTips)
{
    {
        QSettings settings;
        settings.setValue("Wizard/MasterMode", 1);
    }
    static std::string name = "people.dqx";
    SetDatabaseNameSource([] { return name; });
    Start();
    CMainStatusBar* bar = frame->MainStatusBar();
    ASSERT_EQ(bar->PaneCount(), 7);
    EXPECT_EQ(bar->PaneId(3), kPaneTemplateName);
    EXPECT_EQ(bar->PaneToolTip(3), "Active Template Name");
    EXPECT_EQ(bar->PaneToolTip(1), "Active Database Name");
    EXPECT_EQ(bar->PaneRect(1).width(), 120);
    frame->IdleUpdate();
    EXPECT_EQ(bar->PaneText(1), "people.dqx");
    EXPECT_EQ(bar->PaneText(2), "");
    SetDatabaseNameSource(nullptr);

    EXPECT_EQ(bar->MessageText(), "Ready");
    QAction* newDatabase = FindAction(frame->MenuSet(kMenuMain)[0], kCmdNewDatabase);
    ASSERT_NE(newDatabase, nullptr);
    newDatabase->showStatusText(frame);
    EXPECT_EQ(bar->MessageText(), "Create a new database");
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(frame, &leave);
    EXPECT_EQ(bar->MessageText(), "Ready");

    // A tool button has the second line as its tip.
    QAction* bold = frame->TextBar()->Button(kCmdBold);
    ASSERT_NE(bold, nullptr);
    EXPECT_EQ(bold->toolTip(), "Bold");
    EXPECT_EQ(bold->statusTip(), "Make the text bold");
}

TEST_F(MainFrameTest, PlacementIsKeptInTheProfile)
{
    {
        QSettings settings;
        settings.setValue("Window size/Rect", "0050 0060 0650 0560");
    }
    Start();
    EXPECT_EQ(frame->geometry(), QRect(QPoint(50, 60), QPoint(649, 559)));
    frame->setGeometry(QRect(20, 30, 700, 500));
    frame->SaveWindowPlacement();
    QSettings settings;
    EXPECT_EQ(settings.value("Window size/Rect").toString(), "0020 0030 0720 0530");
    EXPECT_EQ(settings.value("Window size/icon").toInt(), 0);
    EXPECT_EQ(settings.value("Window size/max").toInt(), 0);
}

TEST_F(MainFrameTest, AnUnreadablePlacementStillGivesAWindow)
{
    {
        QSettings settings;
        settings.setValue("Window size/Rect", "junk");
    }
    Start();
    EXPECT_GE(frame->width(), 100);
    EXPECT_GE(frame->height(), 100);
}

TEST_F(MainFrameTest, TheCardWindowGivesTheRulerBandsBack)
{
    Start();
    app->CreateNewLabelDocument(nullptr, true);
    auto* card = dynamic_cast<CChildFrame*>(frame->ActiveChildFrame());
    ASSERT_NE(card, nullptr);
    card->resize(400, 300);
    QApplication::processEvents();
    const QSize with = card->GetViewAreaSize();
    EXPECT_TRUE(frame->QueryCommand(kCmdShowRulers).checked);
    EXPECT_TRUE(frame->RouteCommand(kCmdShowRulers));
    EXPECT_FALSE(frame->QueryCommand(kCmdShowRulers).checked);
    const QSize without = card->GetViewAreaSize();
    EXPECT_EQ(without - with, QSize(CChildFrame::kRulerWidth, CChildFrame::kRulerHeight));
    EXPECT_EQ(card->ActiveView()->size(), without);

    // The vertical bar shows only while the page is longer than the window.
    ScrollInfo needed{0, 1000, 200, 0};
    card->SetScrollBars(nullptr, &needed);
    EXPECT_TRUE(card->VerticalBarShown());
    EXPECT_LT(card->GetViewAreaSize().width(), without.width());
    ScrollInfo fits{0, 100, 200, 0};
    card->SetScrollBars(&fits, &fits);
    EXPECT_FALSE(card->VerticalBarShown());
    EXPECT_FALSE(card->HorizontalBarShown());

    card->ShowPageNumber(2, 5);
    EXPECT_EQ(card->PageText(), "pg. 2 of 5");
    card->ShowZoomPercent(75);
    EXPECT_EQ(card->ZoomText(), "75%");
    card->resize(20, 20);
    EXPECT_GE(card->width(), CChildFrame::kMinimumTrack);
}

TEST_F(MainFrameTest, ToolBarsHandTheirChoicesOver)
{
    Start();
    CToolBarDB* db = frame->DatabaseBar();
    EXPECT_FALSE(db->SortCombo()->isEnabled());
    ASSERT_EQ(db->SortCombo()->count(), 22);
    Q_EMIT db->SortCombo()->activated(0);
    auto* field = dynamic_cast<CChoosenField*>(frame->PendingCommandData());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->index, 0);
    EXPECT_EQ(field->text, "None");

    db->FindCombo()->setEnabled(true);
    db->FindCombo()->lineEdit()->setText("Smi");
    db->FindCombo()->lineEdit()->setCursorPosition(2);
    Q_EMIT db->FindCombo()->lineEdit()->textEdited("Smi");
    auto* find = dynamic_cast<CChoosenFind*>(frame->PendingCommandData());
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->index, -1);
    EXPECT_EQ(find->text, "Smi");
    EXPECT_EQ(db->FindCombo()->lineEdit()->cursorPosition(), 2);

    CToolBarDraw* text = frame->TextBar();
    // The size is the whole text, and only one Other Size would take.
    text->SizeCombo()->setEditText("123");
    CFontChoosen choice;
    text->GetFontChoice(&choice, true);
    EXPECT_EQ(choice.size, 123);
    text->SizeCombo()->setEditText("1234");
    text->GetFontChoice(&choice, true);
    EXPECT_EQ(choice.size, 0);
    text->ShowFont(CToolBarDraw::kShowSize | CToolBarDraw::kShowBold, 0, 17, true, false, false);
    EXPECT_EQ(text->SizeCombo()->currentText(), "17");
    EXPECT_TRUE(text->Button(kCmdBold)->isChecked());
    text->ShowFont(CToolBarDraw::kShowSize, 0, -1111, false, false, false);
    EXPECT_EQ(text->SizeCombo()->currentText(), "");
    text->ShowAlignment(3);
    EXPECT_TRUE(text->Button(kCmdAlignLeft + 2)->isChecked());
    EXPECT_FALSE(text->Button(kCmdAlignLeft)->isChecked());
    text->ShowSpacing(4);
    EXPECT_TRUE(text->Button(kCmdDoubleSpacing)->isChecked());
    EXPECT_FALSE(text->Button(kCmdSingleSpacing)->isChecked());
}

TEST_F(MainFrameTest, TheSplashTakesTheFirstKeyAndAboutShowsItLonger)
{
    Start({"/dde"});
    EXPECT_FALSE(CSplashWnd::IsEnabled());
    EXPECT_EQ(CSplashWnd::Instance(), nullptr);

    frame->RouteCommand(kCmdAppAbout);
    ASSERT_NE(CSplashWnd::Instance(), nullptr);
    EXPECT_EQ(CSplashWnd::Instance()->Duration(), 10000);
    EXPECT_FALSE(CSplashWnd::ExtraText());
    // A second request while it shows changes nothing.
    frame->RouteCommand(kCmdShowSplashExtra);
    EXPECT_EQ(CSplashWnd::Instance()->Duration(), 10000);

    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_TRUE(QApplication::sendEvent(frame, &press));
    EXPECT_EQ(CSplashWnd::Instance(), nullptr);

    frame->RouteCommand(kCmdShowSplashExtra);
    ASSERT_NE(CSplashWnd::Instance(), nullptr);
    EXPECT_TRUE(CSplashWnd::ExtraText());
    CSplashWnd::HideSplashScreen();
    EXPECT_FALSE(CSplashWnd::ExtraText());
}

TEST_F(MainFrameTest, TheDatabaseWindowIsSizedToItsViews)
{
    Start();
    ShellDocument* database = app->CreateNewDatabase(true);
    ASSERT_NE(database, nullptr);
    auto* window = dynamic_cast<CChFrameDB*>(frame->ActiveChildFrame());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->ActiveView(), window->DataEntry());
    EXPECT_EQ(window->maximumSize(), window->GetMaxTrackSize());
    auto* fake = static_cast<FakeDocument*>(database);
    ASSERT_FALSE(fake->activations.empty());
    EXPECT_TRUE(fake->activations.back());
}

TEST_F(MainFrameTest, RecentFilesAppearInEveryFileMenu)
{
    Start();
    app->OpenDocumentFile(temp.file("first.lqx"));
    app->OpenDocumentFile(temp.file("second.lqx"));
    app->Documents().CloseAllDocuments();
    QMenu* file = frame->MenuSet(kMenuMain)[0];
    QAction* top = FindAction(file, kCmdRecentFile1);
    QAction* next = FindAction(file, kCmdRecentFile1 + 1);
    ASSERT_NE(top, nullptr);
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(top->text().endsWith("second.lqx"));
    EXPECT_TRUE(next->text().endsWith("first.lqx"));
    EXPECT_TRUE(Enabled(kCmdRecentFile1 + 1));
    EXPECT_FALSE(Enabled(kCmdRecentFile1 + 2));
    ASSERT_TRUE(frame->RouteCommand(kCmdRecentFile1 + 1));
    EXPECT_EQ(app->GetOpenDocumentCount(), 1);
    EXPECT_NE(FindAction(frame->MenuSet(kMenuCard)[0], kCmdRecentFile1 + 1), nullptr);
}

}  // namespace
