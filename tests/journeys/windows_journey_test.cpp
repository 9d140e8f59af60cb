// The document windows: where and how large they open, the tools palette of
// a card opened from the command line, and the names they show after Save
// As.
#include <QAction>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>

#include "app/ch_frame_db.h"
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/tool_bar_draw_tools.h"
#include "carddoc/labels_view.h"
#include "carddoc/ruler.h"
#include "carddoc/labels_doc.h"
#include "records/command_ids.h"
#include "dialogs/print_options_dialog.h"
#include "journey_fixture.h"

namespace {

class WindowsJourney : public JourneyTest {
protected:
    // The texts of a top menu's items as it shows them when opened.
    QStringList ItemsWhenOpened(const QString& title)
    {
        QAction* top = Action(title);
        QMenu* menu = top ? top->menu() : nullptr;
        if (!menu)
            return {};
        Q_EMIT menu->aboutToShow();
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << action->text();
        return texts;
    }
};

TEST_F(WindowsJourney, ACardNamedOnTheCommandLineOpensWithItsToolsPaletteAndRoomToWork)
{
    Start({CopySample("Business Card.lqx")});
    ASSERT_NE(CardWindow(), nullptr) << alerts.lastText();
    EXPECT_TRUE(MainWindow()->ToolPalette()->isVisible());
    EXPECT_TRUE(Checked(kCmdToggleToolPalette));
    const QSize size = CardWindow()->size();
    EXPECT_GE(size.width(), CMainFrame::kUsableChildSize.width());
    EXPECT_GE(size.height(), CMainFrame::kUsableChildSize.height());
    // The view keeps the room the rulers and the page bar leave.
    EXPECT_GE(CardWindow()->GetViewAreaSize().height(), 150);
}

TEST_F(WindowsJourney, WithNoSavedPlaceTheWindowsUseTheScreenAndShowTheWholeCard)
{
    // What start-up does with an empty profile (the fixture itself sets
    // a size for the other journeys).
    MainWindow()->ActivateFrame();
    Settle();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect window = MainWindow()->geometry();
    EXPECT_GE(window.width(), std::max(screen.width() * 3 / 4, CMainFrame::kDefaultRect.width()) - 1);
    EXPECT_GE(window.height(), std::max(screen.height() * 3 / 4, CMainFrame::kDefaultRect.height()) - 1);
    EXPECT_LE(std::abs(window.center().x() - screen.center().x()), 2);
    EXPECT_LE(std::abs(window.center().y() - screen.center().y()), 2);

    // The card, its rulers and the page bar show in the card's window.
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    const QRect card = CardRect(0, 0, 252, 144);
    const QRect view = CardView()->rect();
    EXPECT_TRUE(view.contains(card)) << "card at " << card.x() << "," << card.y() << " " << card.width() << "x"
                                     << card.height() << " in a view of " << view.width() << "x" << view.height();
    for (const QWidget* ruler : {static_cast<QWidget*>(CardWindow()->HorizontalRuler()),
                                 static_cast<QWidget*>(CardWindow()->VerticalRuler())})
        EXPECT_TRUE(ruler->isVisible() && ruler->width() > 0 && ruler->height() > 0);

    // Closed and started again, the program comes back where it was left.
    MainWindow()->move(window.topLeft() + QPoint(7, 5));
    Settle();
    const QRect moved = MainWindow()->geometry();
    ASSERT_TRUE(Trigger("File > Close"));
    MainWindow()->SaveWindowPlacement();
    MainWindow()->ActivateFrame();
    EXPECT_EQ(MainWindow()->geometry().topLeft(), moved.topLeft());
}

TEST_F(WindowsJourney, WindowsLeftLargerThanTheScreenOpenWithinIt)
{
    // The main window and a card's window closed larger than this screen
    // (as on a larger screen, or at a smaller scale).
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    MainWindow()->setGeometry(QRect(screen.topLeft() + QPoint(40, 30), screen.size() * 2));
    Settle();
    const std::string card = CopySample("Business Card.lqx");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    const QSize area = MainWindow()->MdiArea()->viewport()->size();
    ASSERT_GT(area.width(), screen.width());
    CardWindow()->setGeometry(QRect(QPoint(4, 4), area - QSize(8, 8)));
    Settle();
    ASSERT_TRUE(Trigger("File > Close"));
    MainWindow()->SaveWindowPlacement();

    // Opened again, title bars and all are on the screen.
    MainWindow()->ActivateFrame();
    Settle();
    auto onScreen = [&screen](const QRect& window) {
        return screen.contains(window) ? testing::AssertionSuccess()
                                       : testing::AssertionFailure()
                                             << window.x() << "," << window.y() << " " << window.width() << "x"
                                             << window.height() << " on a screen of " << screen.width() << "x"
                                             << screen.height();
    };
    EXPECT_TRUE(onScreen(MainWindow()->frameGeometry()));
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    EXPECT_TRUE(onScreen(QRect(CardWindow()->mapToGlobal(QPoint(0, 0)), CardWindow()->size())));
    EXPECT_GE(CardWindow()->width(), CMainFrame::kUsableChildSize.width());
    EXPECT_GE(CardWindow()->height(), CMainFrame::kUsableChildSize.height());
}

TEST_F(WindowsJourney, NewWindowsOpenCascadedAtAUsableSize)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    CChildFrame* first = CardWindow();
    const QSize area = MainWindow()->MdiArea()->viewport()->size();
    EXPECT_GE(first->width(), std::max(area.width() * 3 / 4, CMainFrame::kUsableChildSize.width()) - 1);
    EXPECT_GE(first->height(), std::max(area.height() * 3 / 4, CMainFrame::kUsableChildSize.height()) - 1);
    EXPECT_LE(first->geometry().right(), area.width());

    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx", "Other.lqx")), nullptr);
    CChildFrame* second = CardWindow();
    ASSERT_NE(second, first);
    EXPECT_GT(second->pos().x(), first->pos().x());
    EXPECT_GT(second->pos().y(), first->pos().y());
    EXPECT_EQ(second->size(), first->size());

    // The database window takes its content's size, not a bare title bar.
    OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    auto* database = dynamic_cast<CChFrameDB*>(MainWindow()->ActiveChildFrame());
    ASSERT_NE(database, nullptr) << alerts.lastText();
    EXPECT_GE(database->height(), CMainFrame::kUsableChildSize.height());
    EXPECT_GE(database->DataEntry()->height(), 150);
}

TEST_F(WindowsJourney, CascadedWindowsKeepASizeThatShowsTheirCards)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx", "Other.lqx")), nullptr);
    MaximizeCardWindow();
    OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    QMdiSubWindow* active = MainWindow()->MdiArea()->activeSubWindow();
    ASSERT_NE(active, nullptr);

    ASSERT_TRUE(Trigger("Window > Cascade"));
    Settle();
    const QSize area = MainWindow()->MdiArea()->viewport()->size();
    const QList<QMdiSubWindow*> windows = MainWindow()->MdiArea()->subWindowList(QMdiArea::StackingOrder);
    ASSERT_EQ(windows.size(), 3);
    for (int i = 0; i < windows.size(); ++i) {
        SCOPED_TRACE(windows[i]->windowTitle().toStdString());
        EXPECT_FALSE(windows[i]->isMaximized());
        EXPECT_GE(windows[i]->width(), CMainFrame::kUsableChildSize.width());
        EXPECT_GE(windows[i]->height(), CMainFrame::kUsableChildSize.height());
        // A card's window as large as a new one; the database's is no
        // larger than its content.
        if (dynamic_cast<CChildFrame*>(windows[i])) {
            EXPECT_GE(windows[i]->width(), area.width() * 3 / 4 - 1);
            EXPECT_GE(windows[i]->height(), area.height() * 3 / 4 - 1);
        }
        if (i > 0) {
            EXPECT_GT(windows[i]->pos().x(), windows[i - 1]->pos().x());
            EXPECT_GT(windows[i]->pos().y(), windows[i - 1]->pos().y());
        }
    }
    // The window that was active stays so, on top.
    EXPECT_EQ(windows.last(), active);
    EXPECT_EQ(MainWindow()->MdiArea()->activeSubWindow(), active);
}

TEST_F(WindowsJourney, SaveAsShowsTheNewNameInTheTitlesTheWindowMenuAndTheRecentFiles)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    // A change marks the titles until the card is saved.
    OnNextDialog([](QWidget* dialog) {
        auto* options = dynamic_cast<CDlgPrintOptions*>(dialog);
        ASSERT_NE(options, nullptr);
        options->CropMarks()->setChecked(!options->CropMarks()->isChecked());
        options->accept();
    });
    ASSERT_TRUE(Trigger("File > Print Options..."));
    Settle(300);
    EXPECT_EQ(CardWindow()->windowTitle(), "Business Card.lqx*");
    EXPECT_TRUE(MainWindow()->windowTitle().contains("Business Card.lqx*"));
    const std::string renamed = TempFile("Renamed Card.lqx");
    OnNextDialog(ChooseFile(renamed));
    ASSERT_TRUE(Trigger("File > Save As..."));
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    Settle(300);
    EXPECT_EQ(CardWindow()->windowTitle(), "Renamed Card.lqx");
    EXPECT_TRUE(MainWindow()->windowTitle().contains("Renamed Card.lqx]"));
    EXPECT_TRUE(ItemsWhenOpened("Window").contains("&1 Renamed Card.lqx"));
    const QStringList file = ItemsWhenOpened("File");
    ASSERT_FALSE(file.filter("Renamed Card.lqx").isEmpty());
    // The new name heads the recent files, the old one follows it.
    EXPECT_LT(file.indexOf(file.filter("Renamed Card.lqx").first()),
              file.indexOf(file.filter("Business Card.lqx").first()));
    // The card went into the new file (the tool reads it once it is closed).
    ASSERT_TRUE(Trigger("File > Close"));
    EXPECT_NE(Tool("card dump '" + renamed + "'").find("check: good"), std::string::npos);

    // A database's Save As is followed the same way.
    OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    OnNextDialog(ChooseFile(TempFile("People.dqx")));
    ASSERT_TRUE(Trigger("File > Save As..."));
    EXPECT_EQ(MainWindow()->ActiveChildFrame()->windowTitle(), "People.dqx");
    EXPECT_TRUE(ItemsWhenOpened("Window").contains("&1 People.dqx"));
}

}  // namespace
