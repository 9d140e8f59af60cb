#include "journey_fixture.h"

#include <cstdio>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/card_app.h"
#include "app/child_frame.h"
#include "app/database_document_kind.h"
#include "app/document_child_frame.h"
#include "app/main_frame.h"
#include "app/tool_bar_draw_tools.h"
#include "app/splash_wnd.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "database/field_table.h"
#include "dbdoc/db_dialogs.h"
#include "dialogs/label_type_dlg.h"
#include "dialogs/label_type_list_dlg.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/object_info_dialog.h"
#include "dialogs/print_dialog.h"
#include "foundation/program_folder.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "platform/menus.h"
#include "platform/printer_handles.h"
#include "records/command_ids.h"
#include "support/cups_scheduler.h"
#include "support/modal_answer.h"
#include "support/needed_tools.h"
#include "support/own_profile.h"
#include "support/run_program.h"
#include "support/shell.h"

namespace {

// An item's text as a person reads it: no ampersands, no key.
QString PlainText(QString text)
{
    const qsizetype tab = text.indexOf('\t');
    if (tab >= 0)
        text.truncate(tab);
    return text.remove('&').trimmed();
}

QAction* FindIn(const QList<QAction*>& actions, uint32_t id)
{
    for (QAction* action : actions) {
        if (QMenu* sub = action->menu()) {
            if (QAction* found = FindIn(sub->actions(), id))
                return found;
            continue;
        }
        if (!action->isSeparator() && MenuGetCommandId(action) == id)
            return action;
    }
    return nullptr;
}

std::string Quoted(const std::string& path)
{
    std::string q = "'";
    for (char c : path) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

}  // namespace

JourneyTest::JourneyTest() = default;

JourneyTest::~JourneyTest() = default;

void JourneyTest::SetUp()
{
    ASSERT_TRUE(temp_.ok());
    UseOwnProfile(temp_);
    // The program folder holds what an installation gives a new user: the
    // build's staged data.
    SetProgramFolderForTesting(temp_.file("program"));
    ASSERT_EQ(SeedFolder(std::string(TESSALINE_BINARY_DIR) + "/share/tessaline", temp_.file("program")), 0);

    dialogWatch_ = new QTimer();
    dialogWatch_->setInterval(10);
    QObject::connect(dialogWatch_, &QTimer::timeout, [this] { WatchDialogs(); });
    dialogWatch_->start();
    Start();
}

void JourneyTest::TearDown()
{
    Stop();
    delete dialogWatch_;
    dialogWatch_ = nullptr;
    EXPECT_TRUE(drivers_.empty()) << drivers_.size() << " expected dialog(s) never opened";
    EXPECT_TRUE(menuDrivers_.empty()) << menuDrivers_.size() << " expected menu(s) never opened";
    drivers_.clear();
    menuDrivers_.clear();
    SetProgramFolderForTesting("");
    // The printer settings live while the program runs: the next test's
    // program starts without the printer this one chose, from the same
    // printers.
    SetPrinterCaps(&CurrentPrinterCaps());
}

void JourneyTest::Start(const std::vector<std::string>& arguments)
{
    Stop();
    app_ = std::make_unique<CCardApp>();
    ASSERT_TRUE(app_->InitInstance(arguments)) << alerts.lastText();
    CSplashWnd::HideSplashScreen();
    CMainFrame* frame = app_->MainFrame();
    frame->resize(1100, 800);
    frame->show();
    frame->activateWindow();
    QApplication::setActiveWindow(frame);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(frame));
    Settle();
}

void JourneyTest::Stop()
{
    if (!app_)
        return;
    app_->Documents().CloseAllDocuments();
    app_->ExitInstance();
    app_.reset();
    Settle(0);
}

CMainFrame* JourneyTest::MainWindow() const
{
    return app_ ? app_->MainFrame() : nullptr;
}

std::string JourneyTest::CopySample(const std::string& name, const std::string& as)
{
    const std::string copy = temp_.file(as.empty() ? name : as);
    WriteFileBytes(copy, ReadFileBytes(std::string(TESSALINE_SOURCE_DATA_DIR) + "/Samples/" + name));
    return copy;
}

CLabelsView* JourneyTest::OpenThroughMenu(const std::string& path)
{
    OnNextDialog(ChooseFile(path));
    if (!Trigger("File > Open > Document..."))
        return nullptr;
    Settle();
    return CardView();
}

// ---- menus ----

QAction* JourneyTest::Action(uint32_t id)
{
    CMainFrame* frame = MainWindow();
    if (!frame)
        return nullptr;
    if (QAction* item = FindIn(frame->menuBar()->actions(), id))
        return item;
    for (QToolBar* bar : frame->findChildren<QToolBar*>())
        if (QAction* button = FindIn(bar->actions(), id))
            return button;
    return nullptr;
}

QAction* JourneyTest::Action(const QString& path)
{
    CMainFrame* frame = MainWindow();
    if (!frame)
        return nullptr;
    QList<QAction*> actions = frame->menuBar()->actions();
    QAction* found = nullptr;
    for (const QString& part : path.split(" > ")) {
        found = nullptr;
        for (QAction* action : actions) {
            if (!action->isSeparator() && PlainText(action->text()) == PlainText(part)) {
                found = action;
                break;
            }
        }
        if (!found)
            return nullptr;
        actions = found->menu() ? found->menu()->actions() : QList<QAction*>();
    }
    return found;
}

static void Refresh(CMainFrame* frame, QAction* action)
{
    // The states come from the command route when the item's menu opens,
    // and for the bars' buttons whenever the program is idle.
    for (QObject* owner : action->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(owner))
            frame->UpdateMenu(menu);
        else if (qobject_cast<QToolBar*>(owner))
            frame->IdleUpdate();
    }
}

bool JourneyTest::Enabled(uint32_t id)
{
    QAction* action = Action(id);
    if (!action)
        return false;
    Refresh(MainWindow(), action);
    return action->isEnabled();
}

bool JourneyTest::Enabled(const QString& path)
{
    QAction* action = Action(path);
    if (!action)
        return false;
    Refresh(MainWindow(), action);
    return action->isEnabled();
}

bool JourneyTest::Checked(uint32_t id)
{
    QAction* action = Action(id);
    if (!action)
        return false;
    Refresh(MainWindow(), action);
    return action->isChecked();
}

static bool Choose(CMainFrame* frame, QAction* action, const QString& name)
{
    if (!action) {
        ADD_FAILURE() << "no menu item " << name.toStdString();
        return false;
    }
    Refresh(frame, action);
    if (!action->isEnabled()) {
        ADD_FAILURE() << "menu item " << name.toStdString() << " is greyed";
        return false;
    }
    action->trigger();
    return true;
}

bool JourneyTest::Trigger(uint32_t id)
{
    const bool chosen = Choose(MainWindow(), Action(id), QString::number(id));
    Settle();
    return chosen;
}

bool JourneyTest::Trigger(const QString& path)
{
    const bool chosen = Choose(MainWindow(), Action(path), path);
    Settle();
    return chosen;
}

bool JourneyTest::ChooseWindow(const QString& title)
{
    QAction* window = Action(QStringLiteral("Window"));
    QMenu* menu = window ? window->menu() : nullptr;
    if (!menu) {
        ADD_FAILURE() << "no Window menu";
        return false;
    }
    // The list of windows is made as the menu opens.
    Q_EMIT menu->aboutToShow();
    for (QAction* action : menu->actions()) {
        // "&1 Business Card.lqx"
        const QString text = PlainText(action->text());
        if (text.section(' ', 1).startsWith(title)) {
            const bool chosen = Choose(MainWindow(), action, text);
            Settle();
            return chosen;
        }
    }
    ADD_FAILURE() << "no window " << title.toStdString() << " in the Window menu";
    return false;
}

std::vector<QString> JourneyTest::MenuTitles()
{
    std::vector<QString> titles;
    if (CMainFrame* frame = MainWindow())
        for (QAction* action : frame->menuBar()->actions())
            titles.push_back(PlainText(action->text()));
    return titles;
}

// ---- dialogs ----

void JourneyTest::OnNextDialog(DialogDriver drive)
{
    drivers_.push_back(std::move(drive));
}

// As a person does: the name typed into the file dialog's name field. While
// the dialog still reads its folder it may refuse the name; it is given
// again until the dialog takes it. A busy machine may keep the folder's
// reading waiting for seconds: the bound is for a dialog that never takes
// it.
static void GiveFileName(QPointer<QFileDialog> files, const QString& name, const QDeadlineTimer& until)
{
    if (!files || !files->isVisible())
        return;
    AnswerFileDialog(files, name);
    if (!files || !files->isVisible())
        return;
    if (until.hasExpired()) {
        ADD_FAILURE() << "the file dialog did not take " << name.toStdString() << " within a minute";
        static_cast<QDialog*>(files.data())->reject();
        return;
    }
    QTimer::singleShot(20, files, [files, name, until] { GiveFileName(files, name, until); });
}

JourneyTest::DialogDriver JourneyTest::ChooseFile(const std::string& path)
{
    return [path](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        if (!files) {
            ADD_FAILURE() << "a file dialog was expected, " << dialog->metaObject()->className() << " opened";
            if (auto* other = qobject_cast<QDialog*>(dialog))
                other->reject();
            return;
        }
        GiveFileName(files, QString::fromStdString(path), QDeadlineTimer(60000));
    };
}

JourneyTest::DialogDriver JourneyTest::LastNameContains(const QString& text)
{
    return [text](QWidget* dialog) {
        auto* query = dynamic_cast<CDlgQuery*>(dialog);
        ASSERT_NE(query, nullptr);
        query->FieldCombo()->setCurrentIndex(FieldIndexOfId(kFieldLastName, 0));
        query->OperatorCombo()->setCurrentIndex(2);  // Contains
        query->ValueEdit()->setText(text);
        query->accept();
    };
}

JourneyTest::DialogDriver JourneyTest::Accept()
{
    return [](QWidget* dialog) {
        if (auto* d = qobject_cast<QDialog*>(dialog))
            d->accept();
        else
            dialog->close();
    };
}

JourneyTest::DialogDriver JourneyTest::Reject()
{
    return [](QWidget* dialog) {
        if (auto* d = qobject_cast<QDialog*>(dialog))
            d->reject();
        else
            dialog->close();
    };
}

JourneyTest::DialogDriver JourneyTest::PrintToFile(bool postScript, const std::string& file)
{
    return [postScript, file](QWidget* dialog) {
        auto* print = dynamic_cast<CDlgPrint*>(dialog);
        if (!print) {
            ADD_FAILURE() << "the Print dialog was expected, not " << dialog->windowTitle().toStdString();
            Reject()(dialog);
            return;
        }
        print->PrinterList()->setCurrentIndex(postScript ? print->PostScriptEntry() : print->PdfEntry());
        print->FileEdit()->setText(QString::fromStdString(file));
        print->accept();
    };
}

JourneyTest::DialogDriver JourneyTest::PrintToPdfFile(const std::string& pdf) { return PrintToFile(false, pdf); }

JourneyTest::DialogDriver JourneyTest::PrintToPostScriptFile(const std::string& ps) { return PrintToFile(true, ps); }

JourneyTest::DialogDriver JourneyTest::AnswerNo()
{
    return [](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        if (box && box->button(QMessageBox::No))
            box->button(QMessageBox::No)->click();
        else
            Reject()(dialog);
    };
}

JourneyTest::DialogDriver JourneyTest::Answer(QMessageBox::StandardButton button)
{
    return [button](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        if (!box || !box->button(button)) {
            ADD_FAILURE() << "a question was expected, not " << dialog->windowTitle().toStdString();
            Reject()(dialog);
            return;
        }
        box->button(button)->click();
    };
}

CLabelsDoc* JourneyTest::NewLabelSheet(const std::function<void(CDlgLabelType* type)>& fill)
{
    OnNextDialog([](QWidget* dialog) {
        auto* list = dynamic_cast<CDlgListOfLabels*>(dialog);
        if (!list) {
            ADD_FAILURE() << "the List of Labels dialog was expected";
            Reject()(dialog);
            return;
        }
        // Pressed from the dialog's own loop, where the next dialog is
        // answered.
        QTimer::singleShot(0, list, [list] {
            list->NewButton()->click();
            list->OkButton()->click();
        });
    });
    OnNextDialog([fill](QWidget* dialog) {
        auto* type = dynamic_cast<CDlgLabelType*>(dialog);
        if (!type) {
            ADD_FAILURE() << "the Label Type dialog was expected";
            Reject()(dialog);
            return;
        }
        fill(type);
        type->OkButton()->click();
    });
    if (!Trigger("File > New > Label..."))
        return nullptr;
    return CardDocument();
}

std::vector<QWidget*> JourneyTest::TopLevelWindows()
{
    const QWidgetList all = QApplication::topLevelWidgets();
    return std::vector<QWidget*>(all.begin(), all.end());
}

void JourneyTest::OnNextMenu(MenuDriver drive)
{
    menuDrivers_.push_back(std::move(drive));
}

JourneyTest::MenuDriver JourneyTest::ChooseItem(const QString& path)
{
    return [path](QMenu* menu) {
        QMenu* current = menu;
        const QStringList parts = path.split(" > ");
        for (qsizetype i = 0; i < parts.size(); ++i) {
            QAction* found = nullptr;
            for (QAction* action : current->actions())
                if (!action->isSeparator() && PlainText(action->text()) == PlainText(parts[i]))
                    found = action;
            if (!found || !found->isEnabled()) {
                ADD_FAILURE() << "the menu has no " << (found ? "enabled " : "") << "item " << parts[i].toStdString();
                menu->close();
                return;
            }
            current->setActiveAction(found);
            if (found->menu() && i + 1 < parts.size()) {
                QTest::keyClick(current, Qt::Key_Right);
                current = found->menu();
                continue;
            }
            QTest::keyClick(current, Qt::Key_Return);
            return;
        }
    };
}

JourneyTest::MenuDriver JourneyTest::Dismiss()
{
    return [](QMenu* menu) { menu->close(); };
}

std::vector<QString> JourneyTest::ItemTexts(QMenu* menu)
{
    std::vector<QString> texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            texts.push_back(PlainText(action->text()));
    return texts;
}

void JourneyTest::WatchDialogs()
{
    // A dialog or menu shown again (the program keeps some) is new again.
    if (handled_ && !handled_->isVisible())
        handled_ = nullptr;
    if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        if (popup->isVisible() && popup != handled_.data() && !qobject_cast<QMenu*>(popup->parentWidget())) {
            handled_ = popup;
            if (menuDrivers_.empty()) {
                ADD_FAILURE() << "unexpected pop-up menu \"" << popup->title().toStdString() << "\"";
                popup->close();
                return;
            }
            MenuDriver drive = std::move(menuDrivers_.front());
            menuDrivers_.pop_front();
            drive(popup);
        }
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal == handled_.data())
        return;
    // Long work shows its progress once it has taken a while, which on a
    // busy machine any work may: unasked for, it is waited out.
    if (drivers_.empty() && qobject_cast<QProgressDialog*>(modal))
        return;
    handled_ = modal;
    dialogTitles_.push_back(modal->windowTitle());
    if (drivers_.empty()) {
        ADD_FAILURE() << "unexpected dialog \"" << modal->windowTitle().toStdString() << "\" ("
                      << modal->metaObject()->className() << ")";
        Reject()(modal);
        return;
    }
    DialogDriver drive = std::move(drivers_.front());
    drivers_.pop_front();
    drive(modal);
}

// ---- the card window ----

CChildFrame* JourneyTest::CardWindow() const
{
    CMainFrame* frame = MainWindow();
    return frame ? dynamic_cast<CChildFrame*>(frame->ActiveChildFrame()) : nullptr;
}

CLabelsView* JourneyTest::CardView() const
{
    CChildFrame* window = CardWindow();
    return window ? dynamic_cast<CLabelsView*>(window->ActiveView()) : nullptr;
}

void JourneyTest::MaximizeCardWindow()
{
    CChildFrame* window = CardWindow();
    if (!window)
        return;
    window->showMaximized();
    Settle();
}

CLabelsDoc* JourneyTest::CardDocument() const
{
    CLabelsView* view = CardView();
    return view ? view->Document() : nullptr;
}

QImage JourneyTest::ViewPixels()
{
    Settle();
    CLabelsView* view = CardView();
    return view ? view->Surface().copy() : QImage();
}

QPoint JourneyTest::ViewPoint(const IntPoint& document) const
{
    CLabelsView* view = CardView();
    if (!view)
        return {};
    IntPoint p = document;
    view->Document()->DocToViewPoint(&p);
    const IntPoint scroll = view->ScrollPosition();
    return QPoint(p.x - scroll.x, p.y - scroll.y);
}

void JourneyTest::ImportPicture(const std::string& file, IntPoint from, IntPoint via, IntPoint to, IntRect* bounds)
{
    const IntRect slot = CardDocument()->PageGeometry().slots[0];
    const auto onSlot = [&slot](IntPoint p) { return IntPoint{slot.left + p.x, slot.top + p.y}; };
    CurrPageMng* pages = CardDocument()->PageManager();
    const int16_t before = pages->FrameCount();
    OnNextDialog(ChooseFile(file));
    ASSERT_TRUE(Trigger("File > Import Graphics..."));
    Settle();
    Drag(ViewPoint(onSlot(from)), {ViewPoint(onSlot(via)), ViewPoint(onSlot(to))});
    Settle();
    ASSERT_GT(pages->FrameCount(), before) << "no picture frame was drawn";
    pages->FrameAt(int16_t(pages->FrameCount() - 1))->GetBounds(bounds, 0, kGeometryCurrent);
}

QPoint JourneyTest::CardPoint(int x, int y) const
{
    CLabelsDoc* document = CardDocument();
    if (!document)
        return {};
    const IntRect slot = document->PageGeometry().slots[0];
    return ViewPoint(IntPoint{slot.left + x, slot.top + y});
}

QRect JourneyTest::CardRect(int x, int y, int width, int height) const
{
    return QRect(CardPoint(x, y), CardPoint(x + width, y + height) - QPoint(1, 1));
}

int JourneyTest::Ink(const QImage& picture, const QRect& area, int threshold)
{
    int n = 0;
    const QRect inside = area & picture.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            n += qGray(picture.pixel(x, y)) < threshold;
    return n;
}

int JourneyTest::Changed(const QImage& before, const QImage& after, const QRect& area)
{
    int n = 0;
    const QRect inside = area & before.rect() & after.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            n += before.pixel(x, y) != after.pixel(x, y);
    return n;
}

// ---- the database window ----

CDBDocument* JourneyTest::DatabaseDocument() const
{
    CMainFrame* frame = MainWindow();
    DocumentChildFrame* window = frame ? frame->ActiveChildFrame() : nullptr;
    auto* shell = window ? dynamic_cast<DatabaseShellDocument*>(window->Document()) : nullptr;
    return shell ? shell->Database() : nullptr;
}

// ---- input ----

QWidget* JourneyTest::InputTarget(QWidget* widget) const
{
    if (widget)
        return widget;
    if (CLabelsView* view = CardView())
        return view;
    return MainWindow();
}

void JourneyTest::Click(const QPoint& at, Qt::KeyboardModifiers modifiers, QWidget* widget)
{
    PointerDrive pointer(InputTarget(widget));
    pointer.SetModifiers(modifiers);
    pointer.Click(at);
    Settle();
}

void JourneyTest::DoubleClick(const QPoint& at, Qt::KeyboardModifiers modifiers, QWidget* widget)
{
    PointerDrive pointer(InputTarget(widget));
    pointer.SetModifiers(modifiers);
    pointer.DoubleClick(at);
    Settle();
}

void JourneyTest::RightClick(const QPoint& at, QWidget* widget)
{
    PointerDrive pointer(InputTarget(widget));
    pointer.Press(at, Qt::RightButton);
    pointer.Release(at, Qt::RightButton);
    QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval;
    Settle();
}

void JourneyTest::Drag(const QPoint& from, const std::vector<QPoint>& through, Qt::KeyboardModifiers modifiers,
                       QWidget* widget)
{
    PointerDrive pointer(InputTarget(widget));
    pointer.SetModifiers(modifiers);
    pointer.DragTo(from, through);
    Settle();
}

void JourneyTest::ActivateMainWindow()
{
    // A window system gives the activation back to the main window when a
    // dialog closes; the offscreen one leaves no window active, and keys
    // then reach no shortcut.
    CMainFrame* frame = MainWindow();
    if (frame && !QApplication::activeWindow() && !QApplication::activeModalWidget()) {
        frame->activateWindow();
        QApplication::setActiveWindow(frame);
    }
}

void JourneyTest::Type(const QString& text, QWidget* widget)
{
    ActivateMainWindow();
    QWidget* target = widget ? widget : QApplication::focusWidget();
    if (!target)
        target = InputTarget(nullptr);
    QTest::keyClicks(target, text);
    Settle();
}

void JourneyTest::Key(Qt::Key key, Qt::KeyboardModifiers modifiers, QWidget* widget)
{
    ActivateMainWindow();
    QWidget* target = widget ? widget : QApplication::focusWidget();
    if (!target)
        target = InputTarget(nullptr);
    QTest::keyClick(target, key, modifiers);
    Settle();
}

void JourneyTest::Settle(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QApplication::sendPostedEvents();
    } while (clock.elapsed() < milliseconds);
    if (CMainFrame* frame = MainWindow())
        frame->IdleUpdate();
    QApplication::processEvents();
}

bool JourneyTest::SettleUntil(const std::function<bool()>& condition)
{
    const QDeadlineTimer until(60000);
    while (!condition()) {
        if (until.hasExpired())
            return false;
        Settle(20);
    }
    return true;
}

// ---- checking what was written ----

std::string JourneyTest::Tool(const std::string& arguments)
{
    bool ok = false;
    // The C locale: texts come out as the files store them, whatever the
    // machine's character set.
    const std::string out = CommandOutput("LC_ALL=C " + Quoted(ToolPath()) + " " + arguments + " 2>&1", &ok);
    EXPECT_TRUE(ok) << "tessaline-tool " << arguments << " failed: " << out;
    return out;
}

std::string JourneyTest::PdfText(const std::string& pdf)
{
    const ProgramRun run = RunProgramFor("pdftotext", {"-layout", pdf, "-"});
    if (!run.ok && !HaveTool("pdftotext"))
        return {};  // the caller skips, or fails where tools are required
    EXPECT_TRUE(run.ok) << run.failure;
    EXPECT_FALSE(run.ok && run.out.empty()) << "pdftotext found no text in " << pdf;
    return run.out;
}

std::string JourneyTest::PdfXml(const std::string& pdf)
{
    const ProgramRun run = RunProgramFor("pdftohtml", {"-xml", "-i", "-q", "-stdout", pdf});
    if (!run.ok && !HaveTool("pdftohtml"))
        return {};
    EXPECT_TRUE(run.ok) << run.failure;
    return run.out;
}

QToolButton* JourneyTest::ToolButton(const QString& prompt) const
{
    for (QToolButton* button : MainWindow()->ToolPalette()->findChildren<QToolButton*>())
        if (button->defaultAction() && button->defaultAction()->statusTip() == prompt)
            return button;
    return nullptr;
}

bool JourneyTest::DrawRectangleFromTheCorner(QPoint via, QPoint to)
{
    QToolButton* rectangle = ToolButton("Draw a rectangle");
    if (!rectangle)
        return false;
    rectangle->click();
    Drag(CardPoint(0, 0), {via, to});
    return true;
}

void JourneyTest::SizeSelectedFrameInPoints(int width, int height)
{
    OnNextDialog([=](QWidget* dialog) {
        auto* info = dynamic_cast<CDlgObjectInfo*>(dialog);
        ASSERT_NE(info, nullptr);
        const int points = info->Units()->findText("Points");
        ASSERT_GE(points, 0);
        info->Units()->setCurrentIndex(points);
        Q_EMIT info->Units()->activated(points);
        for (const auto& [edit, value] : {std::pair{info->WidthEdit(), width}, {info->HeightEdit(), height}}) {
            edit->selectAll();
            QTest::keyClicks(edit, QString::number(value));
        }
        info->accept();
    });
    EXPECT_TRUE(Trigger("Object > Object Info..."));
}

std::string JourneyTest::SpoolInto(CupsScheduler& scheduler, const std::string& queue)
{
    OnNextDialog([queue](QWidget* dialog) {
        auto* print = dynamic_cast<CDlgPrint*>(dialog);
        if (!print) {
            ADD_FAILURE() << "the Print dialog was expected: " << dialog->metaObject()->className();
            Reject()(dialog);
            return;
        }
        const int at = print->PrinterList()->findData(QString::fromStdString(queue));
        if (at < 0) {
            ADD_FAILURE() << "the Print dialog does not list the queue " << queue;
            print->reject();
            return;
        }
        print->PrinterList()->setCurrentIndex(at);
        print->accept();
    });
    EXPECT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    // A card laid onto a smaller sheet's labels has its barcode cut, and the
    // job says so; spooling is what is looked at here.
    alerts.forget(kCutBarcodesNotice);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    const std::string pdf = scheduler.NextOutput(queue);
    EXPECT_FALSE(pdf.empty()) << scheduler.why();
    return pdf;
}
