#include "app/main_frame.h"

#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>

#include "app/card_app.h"
#include "app/ch_frame_db.h"
#include "app/child_frame.h"
#include "app/main_status_bar.h"
#include "app/splash_wnd.h"
#include "app/tool_bar_buttons.h"
#include "app/tool_bar_db.h"
#include "app/tool_bar_draw.h"
#include "app/tool_bar_draw_tools.h"
#include "foundation/cp1252.h"
#include "foundation/keys.h"
#include "foundation/string_table.h"
#include "platform/font_folder_watcher.h"
#include "platform/menus.h"
#include "platform/profile.h"
#include "records/command_ids.h"
#include "records/command_keys.h"
#include "records/menu_resources.h"
#include "typography/font_list.h"

namespace {

DatabaseNameSource g_databaseName = nullptr;

QString IdleMessage()
{
    const char* text = LookupString(kStringIdleMessage);
    return Cp1252ToQString(text ? text : "");
}

// Sets the prompt of every item of the menu and its submenus.
void SetStatusTips(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (QMenu* sub = action->menu()) {
            SetStatusTips(sub);
            continue;
        }
        const uint32_t id = MenuGetCommandId(action);
        if (id == 0 || id == kMenuSubmenuId)
            continue;
        QString prompt;
        CommandStrings(id, &prompt, nullptr);
        action->setStatusTip(prompt);
    }
}

void ApplyState(QAction* action, const CmdUI& ui)
{
    action->setEnabled(ui.enabled);
    if (ui.checkable || action->isCheckable()) {
        action->setCheckable(true);
        action->setChecked(ui.checked);
    }
    if (ui.text) {
        // The key is the action's shortcut, not part of its text, so a new
        // text leaves it shown.
        const QString text = Cp1252ToQString(*ui.text);
        if (text != action->text())
            action->setText(text);
    }
}

}  // namespace

void SetDatabaseNameSource(DatabaseNameSource source)
{
    g_databaseName = source;
}

CMainFrame::CMainFrame(CommandTarget* app, DocManager* documents) : app_(app), documents_(documents)
{
    setObjectName("MainFrame");
    setWindowTitle(Cp1252ToQString(LookupString(kStringAppTitle) ? LookupString(kStringAppTitle) : "Tessaline"));
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
}

CMainFrame::~CMainFrame()
{
    if (documents_)
        documents_->SetFrameHost(nullptr);
}

bool CMainFrame::LoadFrame()
{
    mdi_ = new QMdiArea(this);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::SubWindowActivated);

    for (const int32_t id : {int32_t(kMenuMain), int32_t(kMenuCard), int32_t(kMenuDatabase)}) {
        std::vector<QMenu*> menus = BuildMenuResource(id, this);
        if (menus.empty())
            return false;
        for (QMenu* menu : menus)
            ConnectMenu(menu);
        menus_[id] = std::move(menus);
        for (const uint32_t command : KeyOnlyCommands(id)) {
            auto* action = new QAction(this);
            action->setShortcut(CommandShortcut(command));
            action->setEnabled(false);
            // As a disabled menu item's key does nothing, neither does a
            // key whose command is off now.
            connect(action, &QAction::triggered, this, [this, command] {
                if (QueryCommand(command).enabled)
                    RouteCommand(command);
            });
            addAction(action);
            keyOnly_[id].push_back(action);
        }
    }
    ShowMenuSet(kMenuMain);

    statusBar_ = new CMainStatusBar(this);
    setStatusBar(statusBar_);
    std::vector<uint32_t> indicators = {0, kPaneDatabaseName, kPaneDocument};
    if (IsMasterMode())
        indicators.push_back(kPaneTemplateName);
    indicators.insert(indicators.end(), {kPaneCaps, kPaneNum, kPaneScroll});
    if (!statusBar_->SetIndicators(indicators.data(), int32_t(indicators.size())))
        return false;
    for (int32_t i = 1; i < statusBar_->PaneCount() - 3; ++i)
        statusBar_->SetPaneInfo(i, statusBar_->PaneId(i), 0, 120);
    statusBar_->AddPaneToolTips();
    statusBar_->SetMessageText(IdleMessage());

    const BarCommandSink sink = [this](uint32_t id, std::unique_ptr<CommandData> data) {
        SendCommand(id, std::move(data));
    };
    dbBar_ = new CToolBarDB(this);
    drawBar_ = new CToolBarDraw(this);
    toolsBar_ = new CToolBarDrawTools(this);
    if (!dbBar_->Create(kToolBarDatabase, sink) || !drawBar_->Create(kToolBarText, GetGlobalFontList(), sink) ||
        !toolsBar_->Create(kToolBarDrawTools))
        return false;
    addToolBar(Qt::TopToolBarArea, dbBar_);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, drawBar_);
    addToolBar(Qt::LeftToolBarArea, toolsBar_);
    for (QToolBar* bar : std::initializer_list<QToolBar*>{dbBar_, drawBar_, toolsBar_})
        for (QAction* action : bar->actions())
            if (const uint32_t id = MenuGetCommandId(action); id != 0)
                connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });

    // The one key of the main window's own: the splash with its extra text.
    auto* extra = new QAction(this);
    extra->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::ALT | Qt::Key_H));
    extra->setShortcutContext(Qt::ApplicationShortcut);
    connect(extra, &QAction::triggered, this, [this] { RouteCommand(kCmdShowSplashExtra); });
    addAction(extra);

    commandData_.reset();
    drawBar_->InitCombos();

    idleTimer_ = new QTimer(this);
    idleTimer_->setInterval(200);
    connect(idleTimer_, &QTimer::timeout, this, &CMainFrame::IdleUpdate);
    idleTimer_->start();

    // Fonts installed or removed while the program runs reach the font
    // list, its menus and the text bar.
    fontWatcher_ = new FontFolderWatcher([this] { OnFontChange(); }, this);

    documents_->SetFrameHost(this);
    RecentFilesChanged();
    CSplashWnd::ShowSplashScreen(this, 5000);
    return true;
}

void CMainFrame::ConnectMenu(QMenu* menu)
{
    SetStatusTips(menu);
    connect(menu, &QMenu::triggered, this, [this](QAction* action) {
        const uint32_t id = MenuGetCommandId(action);
        if (id != 0 && id != kMenuSubmenuId)
            RouteCommand(id);
    });
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        if (menu->title() == "&Window")
            UpdateWindowList(menu);
        UpdateMenu(menu);
    });
    connect(menu, &QMenu::aboutToHide, this, [this] { statusBar_->SetMessageText(IdleMessage()); });
}

const std::vector<QMenu*>& CMainFrame::MenuSet(int32_t resourceId) const
{
    static const std::vector<QMenu*> kNone;
    const auto it = menus_.find(resourceId);
    return it == menus_.end() ? kNone : it->second;
}

void CMainFrame::ShowMenuSet(int32_t resourceId)
{
    if (shownMenu_ == resourceId)
        return;
    shownMenu_ = resourceId;
    for (auto& [id, actions] : keyOnly_)
        for (QAction* action : actions)
            action->setEnabled(id == resourceId);
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* menu : MenuSet(resourceId))
        bar->addAction(menu->menuAction());
}

QMenu* CMainFrame::FindMenuItemByText(const char* text) const
{
    const QString wanted = Cp1252ToQString(text ? text : "");
    for (QMenu* menu : MenuSet(shownMenu_))
        if (menu->title() == wanted)
            return menu;
    return nullptr;
}

// ---- command routing ----

std::vector<CommandTarget*> CMainFrame::Route() const
{
    std::vector<CommandTarget*> route;
    if (active_) {
        if (auto* view = dynamic_cast<CommandTarget*>(active_->ActiveView()))
            route.push_back(view);
        route.push_back(active_->Document());
        route.push_back(active_);
    }
    route.push_back(const_cast<CMainFrame*>(this));
    if (app_)
        route.push_back(app_);
    return route;
}

bool CMainFrame::RouteCommand(uint32_t id)
{
    // A target may close windows; the route is taken before anything runs.
    for (CommandTarget* target : Route())
        if (target->OnCommand(id))
            return true;
    return false;
}

CmdUI CMainFrame::QueryCommand(uint32_t id)
{
    CmdUI ui(id);
    for (CommandTarget* target : Route())
        if (target->OnUpdateCommand(ui))
            return ui;
    ui.enabled = false;
    return ui;
}

void CMainFrame::UpdateMenu(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (QMenu* sub = action->menu()) {
            UpdateMenu(sub);
            continue;
        }
        const uint32_t id = MenuGetCommandId(action);
        if (id == 0 || id == kMenuSubmenuId || action->isSeparator())
            continue;
        ApplyState(action, QueryCommand(id));
    }
}

void CMainFrame::IdleUpdate()
{
    for (QToolBar* bar : std::initializer_list<QToolBar*>{dbBar_, drawBar_, toolsBar_}) {
        if (!bar || !bar->isVisible())
            continue;
        for (QAction* action : bar->actions()) {
            const uint32_t id = MenuGetCommandId(action);
            if (id != 0 && !action->isSeparator())
                ApplyState(action, QueryCommand(id));
        }
    }
    ShowModifiedMarks();
    if (!statusBar_)
        return;
    for (int32_t i = 1; i < statusBar_->PaneCount(); ++i) {
        const CmdUI ui = QueryCommand(statusBar_->PaneId(i));
        if (ui.text)
            statusBar_->SetPaneText(i, Cp1252ToQString(*ui.text));
    }
}

void CMainFrame::AttachCommandData(std::unique_ptr<CommandData> data)
{
    commandData_ = std::move(data);
}

void CMainFrame::SendCommand(uint32_t id, std::unique_ptr<CommandData> data)
{
    AttachCommandData(std::move(data));
    RouteCommand(id);
}

bool CMainFrame::OnCommand(uint32_t id)
{
    switch (id) {
    case kCmdToggleDatabaseBar:
        ToggleBar(dbBar_);
        return true;
    case kCmdToggleDocumentBar:
        ToggleBar(drawBar_);
        return true;
    case kCmdToggleToolPalette:
        ToggleBar(toolsBar_);
        return true;
    case kCmdViewStatusBar:
        ToggleBar(statusBar_);
        return true;
    case kCmdWindowCascade:
        CascadeChildFrames();
        return true;
    case kCmdWindowTile:
    case kCmdWindowArrange:
        mdi_->tileSubWindows();
        return true;
    case kCmdAppExit:
        close();
        return true;
    default:
        break;
    }
    if (id >= kFirstWindowListId && id < kFirstWindowListId + frames_.size()) {
        ShowChildFrame(frames_[id - kFirstWindowListId]);
        return true;
    }
    return false;
}

bool CMainFrame::OnUpdateCommand(CmdUI& ui)
{
    switch (ui.id) {
    case kCmdToggleDatabaseBar:
        ui.SetCheck(dbBar_ && dbBar_->isVisible());
        return true;
    case kCmdToggleDocumentBar:
        ui.SetCheck(drawBar_ && drawBar_->isVisible());
        return true;
    case kCmdToggleToolPalette:
        ui.SetCheck(toolsBar_ && toolsBar_->isVisible());
        ui.Enable(cardActive_);
        return true;
    case kCmdViewStatusBar:
        ui.SetCheck(statusBar_ && statusBar_->isVisible());
        return true;
    case kCmdWindowCascade:
    case kCmdWindowTile:
    case kCmdWindowArrange:
        ui.Enable(!frames_.empty());
        return true;
    case kCmdAppExit:
        return true;
    case kPaneDatabaseName:
        ui.SetText(g_databaseName ? g_databaseName() : std::string());
        return true;
    case kPaneDocument:
    case kPaneTemplateName:
        ui.SetText(std::string());
        return true;
    case kPaneCaps:
    case kPaneNum:
    case kPaneScroll: {
        // A lock key's pane names it while it is on; it stays empty while
        // the key is off or where its state can't be read.
        const int32_t key = ui.id == kPaneCaps ? kVkCapsLock : ui.id == kPaneNum ? kVkNumLock : kVkScrollLock;
        const char* name = LookupString(int32_t(ui.id));
        ui.SetText(IsKeyToggled(key) && name ? std::string(name) : std::string());
        return true;
    }
    default:
        break;
    }
    if (ui.id >= kFirstWindowListId && ui.id < kFirstWindowListId + frames_.size()) {
        ui.SetCheck(frames_[ui.id - kFirstWindowListId] == active_);
        return true;
    }
    return false;
}

void CMainFrame::ToggleBar(QWidget* bar)
{
    if (bar)
        bar->setVisible(!bar->isVisible());
}

bool CMainFrame::event(QEvent* event)
{    if (event->type() == QEvent::Resize && keepChildrenInside_) {
        keepChildrenInside_ = false;
        // Once the work area has taken its new size.
        QMetaObject::invokeMethod(this, [this] { KeepChildFramesInside(); }, Qt::QueuedConnection);
    }
    if (event->type() == QEvent::StatusTip && statusBar_) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        statusBar_->SetMessageText(tip.isEmpty() ? IdleMessage() : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    SaveWindowPlacement();
    // Each modified document is asked about once; a Cancel keeps them all.
    if (!documents_->SaveAllModified()) {
        event->ignore();
        return;
    }
    documents_->CloseAllDocuments();
    documents_->SaveRecentFiles();
    CSplashWnd::HideSplashScreen();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    CCardApp* app = GetCardApp();
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile() && app)
            app->OpenDocumentFile(url.toLocalFile().toStdString());
    event->acceptProposedAction();
}

// ---- colours, bars, activation ----

void CMainFrame::SetColorTable(const ColorTable* table)
{
    if (table)
        colours_ = *table;
}

void CMainFrame::ShowDatabaseToolBar(bool show)
{
    if (dbBar_)
        dbBar_->setVisible(show);
}

void CMainFrame::OnDatabaseFrameActivate(bool activating)
{
    databaseActive_ = activating;
    if (activating)
        cardActive_ = false;
    dbBar_->EnableAll(false);
    if (activating) {
        dbBar_->FindCombo()->setEnabled(true);
        dbBar_->SortCombo()->setEnabled(true);
    }
    dbBar_->EnableInsertField(false);
    drawBar_->EnableFontCombos(false);
}

void CMainFrame::OnCardFrameActivate(bool activating)
{
    if (activating) {
        cardActive_ = true;
        databaseActive_ = false;
    } else {
        cardActive_ = false;
    }
    dbBar_->FindCombo()->setEnabled(false);
    dbBar_->SortCombo()->setEnabled(false);
    dbBar_->EnableInsertField(activating);
    drawBar_->EnableFontCombos(activating);
}

// ---- document windows ----

bool CMainFrame::CreateDocumentFrame(ShellDocument* document, bool visible)
{
    DocumentChildFrame* frame = nullptr;
    if (document->Template() && document->Template()->FrameKind() == ChildFrameKind::kDatabase)
        frame = new CChFrameDB(this, document);
    else
        frame = new CChildFrame(this, document);
    mdi_->addSubWindow(frame);
    // The window's default place, before its view fits the page into it;
    // a card's window record or a database's content may change it.
    frame->setGeometry(DefaultChildRect());
    if (!frame->CreateClient()) {
        mdi_->removeSubWindow(frame);
        delete frame;
        return false;
    }
    frames_.push_back(frame);
    if (visible) {
        frame->show();
        mdi_->setActiveSubWindow(frame);
        // An offscreen or inactive main window reports no activation.
        if (active_ != frame)
            SubWindowActivated(frame);
    }
    return true;
}

QRect CMainFrame::DefaultChildRect() const { return CascadedChildRect(frames_.size()); }

QRect CMainFrame::CascadedChildRect(size_t index) const
{
    const QSize area = mdi_->viewport()->size();
    const QSize size(std::max(area.width() * 3 / 4, kUsableChildSize.width()),
                     std::max(area.height() * 3 / 4, kUsableChildSize.height()));
    // Each new window steps down and right by a title bar from the last,
    // starting over where the next would leave the work area.
    const int32_t step = style()->pixelMetric(QStyle::PM_TitleBarHeight) +
                         style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const int32_t fits = std::max(std::min((area.width() - size.width()) / std::max(step, 1),
                                           (area.height() - size.height()) / std::max(step, 1)) + 1,
                                  1);
    const int32_t offset = int32_t(index % size_t(fits)) * step;
    return QRect(QPoint(offset, offset), size);
}

void CMainFrame::CascadeChildFrames()
{
    // Stepped as new windows open and as large, so that each shows its
    // card; the active window ends on top.
    QMdiSubWindow* active = mdi_->activeSubWindow();
    size_t index = 0;
    for (QMdiSubWindow* window : mdi_->subWindowList(QMdiArea::StackingOrder)) {
        if (!window->isVisible() || window->isMinimized())
            continue;
        if (window->isMaximized())
            window->showNormal();
        window->setGeometry(CascadedChildRect(index++));
        window->raise();
    }
    if (active)
        mdi_->setActiveSubWindow(active);
}

void CMainFrame::DestroyDocumentFrames(ShellDocument* document)
{
    for (DocumentChildFrame* frame : ChildFrames()) {
        if (frame->Document() != document)
            continue;
        RemoveChildFrame(frame);
    }
    if (!active_) {
        auto* next = dynamic_cast<DocumentChildFrame*>(mdi_->currentSubWindow());
        if (std::find(frames_.begin(), frames_.end(), next) == frames_.end())
            next = frames_.empty() ? nullptr : frames_.back();
        if (next) {
            mdi_->setActiveSubWindow(next);
            SubWindowActivated(next);
        } else {
            SubWindowActivated(nullptr);
        }
    }
}

void CMainFrame::ActivateDocumentFrame(ShellDocument* document)
{
    for (DocumentChildFrame* frame : frames_) {
        if (frame->Document() == document) {
            ShowChildFrame(frame);
            return;
        }
    }
}

void CMainFrame::ShowChildFrame(DocumentChildFrame* frame)
{
    // A document opened without its window (the wizard's database) gets it
    // when it is asked for.
    if (!frame->isVisible())
        frame->show();
    mdi_->setActiveSubWindow(frame);
    // An offscreen or inactive main window reports no activation.
    if (active_ != frame)
        SubWindowActivated(frame);
}

std::vector<DocumentChildFrame*> CMainFrame::ChildFrames() const
{
    return frames_;
}

void CMainFrame::RemoveChildFrame(DocumentChildFrame* frame)
{
    frames_.erase(std::find(frames_.begin(), frames_.end(), frame));
    if (active_ == frame) {
        active_ = nullptr;
        frame->OnMdiActivate(false);
    }
    frame->CloseFromHost();
    mdi_->removeSubWindow(frame);
    frame->deleteLater();
}

void CMainFrame::CloseChildFrame(DocumentChildFrame* frame)
{
    ShellDocument* document = frame->Document();
    const auto sameDocument = std::count_if(frames_.begin(), frames_.end(),
                                            [&](DocumentChildFrame* f) { return f->Document() == document; });
    if (sameDocument > 1) {
        RemoveChildFrame(frame);
        return;
    }
    documents_->CanCloseAndClose(document);
}

void CMainFrame::SubWindowActivated(QMdiSubWindow* window)
{
    auto* frame = dynamic_cast<DocumentChildFrame*>(window);
    if (frame && std::find(frames_.begin(), frames_.end(), frame) == frames_.end())
        frame = nullptr;
    if (!frame && !window) {
        // The whole program lost the focus: the current window stays.
        QMdiSubWindow* current = mdi_->currentSubWindow();
        auto* still = dynamic_cast<DocumentChildFrame*>(current);
        if (still && std::find(frames_.begin(), frames_.end(), still) != frames_.end())
            return;
    }
    if (frame == active_) {
        if (!frame) {
            // The last window went: its name leaves the title too.
            ShowMenuSet(kMenuMain);
            setWindowTitle(Cp1252ToQString(LookupString(kStringAppTitle)));
        }
        return;
    }
    if (active_)
        active_->OnMdiActivate(false);
    active_ = frame;
    if (frame) {
        // The window's menus are on the bar before it adapts them to its
        // document.
        const bool database = frame->Document()->Template() &&
                              frame->Document()->Template()->FrameKind() == ChildFrameKind::kDatabase;
        ShowMenuSet(database ? kMenuDatabase : kMenuCard);
        frame->OnMdiActivate(true);
    } else {
        ShowMenuSet(kMenuMain);
    }
    UpdateTitle();
}

void CMainFrame::UpdateTitle()
{
    const QString program = Cp1252ToQString(LookupString(kStringAppTitle));
    setWindowTitle(active_ ? QString("%1 - [%2]").arg(program, active_->windowTitle()) : program);
}

void CMainFrame::DocumentRenamed(ShellDocument* document)
{
    for (DocumentChildFrame* frame : frames_)
        if (frame->Document() == document)
            frame->setWindowTitle(FrameTitle(document));
    UpdateTitle();
}

QString CMainFrame::FrameTitle(ShellDocument* document)
{
    // A document changed since it was saved carries the desktop's mark.
    QString title = Cp1252ToQString(document->Title());
    if (document->ReadOnly())
        title += QStringLiteral(" (Read-Only)");
    return document->IsModified() ? title + QLatin1Char('*') : title;
}

void CMainFrame::ShowModifiedMarks()
{
    bool changed = false;
    for (DocumentChildFrame* frame : frames_) {
        const QString title = FrameTitle(frame->Document());
        if (frame->windowTitle() != title) {
            frame->setWindowTitle(title);
            changed = true;
        }
    }
    if (changed)
        UpdateTitle();
}

void CMainFrame::UpdateWindowList(QMenu* windowMenu)
{
    for (QAction* action : windowListActions_) {
        windowMenu->removeAction(action);
        delete action;
    }
    windowListActions_.clear();
    if (frames_.empty())
        return;
    windowListActions_.push_back(windowMenu->addSeparator());
    // Every window is listed; the first nine have their digit as the key.
    for (size_t i = 0; i < frames_.size(); ++i) {
        const QString number = i < 9 ? QString("&%1").arg(i + 1) : QString::number(i + 1);
        QAction* action = windowMenu->addAction(number + " " + frames_[i]->windowTitle());
        MenuSetCommandId(action, kFirstWindowListId + uint32_t(i));
        windowListActions_.push_back(action);
    }
}

void CMainFrame::RecentFilesChanged()
{
    const RecentFileList& recent = documents_->RecentFiles();
    for (auto& [id, menus] : menus_) {
        (void)id;
        if (menus.empty())
            continue;
        QMenu* file = menus.front();
        // The entries sit where the placeholder is; the old ones go first.
        for (QAction* action : file->actions()) {
            const uint32_t cmd = MenuGetCommandId(action);
            if (cmd > kCmdRecentFile1 && cmd < kCmdRecentFile1 + 16) {
                file->removeAction(action);
                delete action;
            }
        }
        QAction* placeholder = nullptr;
        for (QAction* action : file->actions())
            if (MenuGetCommandId(action) == kCmdRecentFile1)
                placeholder = action;
        if (!placeholder)
            continue;
        if (recent.Count() == 0) {
            placeholder->setText("Recent File");
            continue;
        }
        placeholder->setText(recent.MenuText(0));
        QAction* before = nullptr;
        const QList<QAction*> all = file->actions();
        const qsizetype at = all.indexOf(placeholder);
        if (at + 1 < all.size())
            before = all[at + 1];
        for (int32_t i = 1; i < recent.Count(); ++i) {
            auto* action = new QAction(recent.MenuText(i), file);
            MenuSetCommandId(action, kCmdRecentFile1 + uint32_t(i));
            file->insertAction(before, action);
        }
    }
}
