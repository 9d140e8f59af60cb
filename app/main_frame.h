// CMainFrame: the program's main window. Its work area holds the document
// windows; it carries the menus of the active kind of window, the status
// bar and the three tool bars, routes every command to the active view,
// its document, its window, itself and the application in turn, and keeps
// its placement in the profile.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include <QMainWindow>
#include <QPointer>

#include "app/doc_manager.h"
#include "platform/command_data.h"
#include "platform/command_target.h"
#include "typography/color_table.h"

class CCardApp;
class CMainStatusBar;
class ColorMenu;
class CToolBarDB;
class CToolBarDraw;
class CToolBarDrawTools;
class DocumentChildFrame;
class FieldMenu;
class FontFolderWatcher;
class IconMenu;
class IconMenu2;
class QDragEnterEvent;
class QDropEvent;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class StdFontMenu;

class CMainFrame : public QMainWindow, public CommandTarget, public DocumentFrameHost {
public:
    // The smallest normal position the window first comes up at while the
    // profile holds none (it takes more of a larger screen).
    static constexpr QRect kDefaultRect{QPoint(10, 10), QPoint(499, 399)};
    // No document window opens smaller: room for the rulers, the page bar
    // and a view to work in.
    static constexpr QSize kUsableChildSize{360, 260};

    // The application comes last on the command route.
    explicit CMainFrame(CommandTarget* app, DocManager* documents);
    ~CMainFrame() override;

    // Builds the menus, status bar and tool bars and shows the splash;
    // false when a part cannot be made.
    bool LoadFrame();
    // Restores the placement kept in the profile, within the screen the
    // window opens on, and shows the window.
    void ActivateFrame();
    void SaveWindowPlacement();

    // ---- commands ----
    // Offers the command along the route; true when a target carried it out.
    bool RouteCommand(uint32_t id);
    // Asks the route for the command's state.
    CmdUI QueryCommand(uint32_t id);
    // Brings every tool bar button and status pane up to date, as the
    // program does whenever it is idle.
    void IdleUpdate();
    // The title a document's window shows: its name, marked while changed.
    static QString FrameTitle(ShellDocument* document);
    // Brings the items of a menu (and its submenus) up to date.
    void UpdateMenu(QMenu* menu);
    bool OnCommand(uint32_t id) override;
    bool OnUpdateCommand(CmdUI& ui) override;

    // Keeps a tool bar's command data until the next one arrives.
    void AttachCommandData(std::unique_ptr<CommandData> data);
    CommandData* PendingCommandData() const { return commandData_.get(); }
    // Sends a command with its data, as the bars do.
    void SendCommand(uint32_t id, std::unique_ptr<CommandData> data);

    // ---- for the documents and their windows ----
    void SetColorTable(const ColorTable* table);
    const ColorTable& Colours() const { return colours_; }
    void ShowDatabaseToolBar(bool show);
    // The top-level pop-up of the menu bar shown now whose text equals
    // text exactly (Windows-1252, ampersands included); null when none.
    QMenu* FindMenuItemByText(const char* text) const;
    void OnDatabaseFrameActivate(bool activating);
    void OnCardFrameActivate(bool activating);
    void BuildDatabaseMenus();
    void BuildCardMenus();
    // Field names changed: the field menus and the bar's field combos
    // follow.
    void RefreshFieldNames();
    // The installed fonts changed: rebuilds the font list and keeps the
    // text bar's choice.
    void OnFontChange();

    // ---- document windows ----
    bool CreateDocumentFrame(ShellDocument* document, bool visible) override;
    void DestroyDocumentFrames(ShellDocument* document) override;
    void ActivateDocumentFrame(ShellDocument* document) override;
    // Shows the window (when hidden) and makes it the active one.
    void ShowChildFrame(DocumentChildFrame* frame);
    void RecentFilesChanged() override;
    // The document's name changed (Save As): its windows and the main
    // window's title show the new one.
    void DocumentRenamed(ShellDocument* document);
    // A document window asks to close.
    void CloseChildFrame(DocumentChildFrame* frame);
    // Where a new document window opens: cascaded from the work area's
    // corner, three quarters of the work area in size, never smaller than
    // kUsableChildSize.
    QRect DefaultChildRect() const;
    // The place of the index-th window so cascaded.
    QRect CascadedChildRect(size_t index) const;
    // Window > Cascade: every document window where and as large as it
    // would open as the so-manyth window.
    void CascadeChildFrames();
    DocumentChildFrame* ActiveChildFrame() const { return active_; }
    std::vector<DocumentChildFrame*> ChildFrames() const;

    QMdiArea* MdiArea() const { return mdi_; }
    CMainStatusBar* MainStatusBar() const { return statusBar_; }
    CToolBarDB* DatabaseBar() const { return dbBar_; }
    CToolBarDraw* TextBar() const { return drawBar_; }
    CToolBarDrawTools* ToolPalette() const { return toolsBar_; }
    // The top-level pop-ups of menu resource 128, 129 or 130, and the one
    // shown now.
    const std::vector<QMenu*>& MenuSet(int32_t resourceId) const;
    int32_t ShownMenuSet() const { return shownMenu_; }
    bool CardActive() const { return cardActive_; }
    bool DatabaseActive() const { return databaseActive_; }
    bool CardMenusBuilt() const { return cardMenusBuilt_; }
    bool DatabaseMenusBuilt() const { return databaseMenusBuilt_; }
    ColorMenu* ColourMenu(int32_t index) const { return colorMenus_[size_t(index)]; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Moves the normal window, and makes it smaller where it must, so that
    // it and its frame lie within its screen's free area.
    void KeepOnScreen();
    // What the window system puts around the window, as far as it is known.
    QMargins FrameMargins() const;
    // Moves the document windows, and makes them smaller where they must,
    // so that they lie within the work area (maximised and minimised ones
    // aside).
    void KeepChildFramesInside();
    // Takes the frame out of the window: no longer active, closed and
    // deleted once its events have run.
    void RemoveChildFrame(DocumentChildFrame* frame);
    std::vector<CommandTarget*> Route() const;
    void ShowMenuSet(int32_t resourceId);
    void ConnectMenu(QMenu* menu);
    void SubWindowActivated(QMdiSubWindow* window);
    void UpdateTitle();
    // Brings the windows' titles in line with their documents' changed marks.
    void ShowModifiedMarks();
    void UpdateWindowList(QMenu* windowMenu);
    // Replaces the item of the command (anywhere in the menus) by the
    // pop-up, which takes its text.
    bool ReplaceItemByPopup(const std::vector<QMenu*>& menus, uint32_t id, QMenu* popup);
    void ToggleBar(QWidget* bar);

    CommandTarget* app_;
    DocManager* documents_;
    ColorTable colours_;
    ColorMenu* colorMenus_[4] = {};
    FieldMenu* fieldMenus_[3] = {};
    IconMenu* patternMenu_ = nullptr;
    IconMenu2* lineMenu_ = nullptr;
    StdFontMenu* fontMenu_ = nullptr;
    CMainStatusBar* statusBar_ = nullptr;
    CToolBarDB* dbBar_ = nullptr;
    CToolBarDraw* drawBar_ = nullptr;
    CToolBarDrawTools* toolsBar_ = nullptr;
    bool cardActive_ = false;
    bool databaseActive_ = false;
    bool databaseMenusBuilt_ = false;
    bool cardMenusBuilt_ = false;
    std::unique_ptr<CommandData> commandData_;
    QMdiArea* mdi_ = nullptr;
    std::map<int32_t, std::vector<QMenu*>> menus_;
    // The keys of each menu set's window that no item shows; live while
    // their set is on the menu bar.
    std::map<int32_t, std::vector<QAction*>> keyOnly_;
    int32_t shownMenu_ = 0;
    std::vector<DocumentChildFrame*> frames_;
    DocumentChildFrame* active_ = nullptr;
    // Set when the window was made smaller to fit its screen: the document
    // windows placed in the larger work area follow at the next resize.
    bool keepChildrenInside_ = false;
    QTimer* idleTimer_ = nullptr;
    FontFolderWatcher* fontWatcher_ = nullptr;
    std::vector<QAction*> windowListActions_;
};

// Ids of the Window menu's list of document windows.
constexpr uint32_t kFirstWindowListId = 0xFF00;

// The current database's name for the status bar; the database document
// installs it. Without one the pane is empty.
using DatabaseNameSource = std::string (*)();
void SetDatabaseNameSource(DatabaseNameSource source);
