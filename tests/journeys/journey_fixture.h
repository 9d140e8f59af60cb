// Journeys through the running program: each test starts the application
// object that `tessaline` runs, with its real main window (offscreen, in this
// process), and works it the way a person does, through the menus, keys,
// mouse and dialogs, then checks what that person would see or get.
//
// Every test has a folder of its own that holds its settings (the profile),
// its program folder (seeded from the build's staged data, as a new user's
// is from the installation) and its files; nothing of the user's is read or
// written. Message boxes are captured (`alerts`) and answered OK unless the
// test chooses otherwise.
//
// The API, in the order a journey uses it:
//
//   Start(arguments)          the program with a command line; SetUp starts
//                             it without one, Start() restarts it.
//   CopySample(name)          a copy of data/Samples/<name> in the test's
//                             folder, to open and change freely.
//   OpenThroughMenu(path)     File > Open > Document... with the file dialog
//                             answered; the card view it opened, or null.
//   Action(id) / Action(path) the menu item (or else tool bar button) of a
//                             command id, or the menu item of a path of item
//                             texts ("Text > Style > Bold"); null if there is
//                             none.
//   Enabled(id|path)          the item's state as the menu would show it now.
//   Trigger(id|path)          chooses an enabled item; false (and a test
//                             failure) when it is missing or greyed.
//   OnNextDialog(drive)       drive runs on the next modal dialog that opens
//                             (it must close it). A modal dialog nobody
//                             expected is closed and fails the test.
//                             ChooseFile, Accept, Reject and
//                             PrintToPdfFile (PrintToPostScriptFile)
//                             are drivers ready made.
//   OnNextMenu(drive)         the same for the next pop-up menu (a context
//                             menu); ChooseItem("Style > Bold") picks an
//                             item with the keyboard, as a person would.
//   CardView(), CardWindow()  the active card window and its view;
//   DatabaseDocument()        the active database window's document;
//   MaximizeCardWindow()      as its title bar's button does;
//   ViewPixels()              the view's picture after pending work ran.
//   ViewPoint(documentPoint)  where a point of the page (document units) is
//                             on the view now; CardPoint / CardRect the same
//                             for the card's own points (as card dump gives
//                             the frames); Ink counts dark pixels.
//   Click / DoubleClick / RightClick / Drag / Type / Key
//                             QTest-style input on the view (or a widget),
//                             through the window as the window system
//                             delivers it.
//   VisibleWindow<T>()        a modeless window (Find/Replace) now shown.
//   Settle()                  lets timers, repaints and idle updates run.
//   Tool(args), PdfText(pdf)  tessaline-tool's output (card dump, db dump)
//                             and pdftotext's, for checking saved files;
//   PdfXml(pdf)               pdftohtml's, which also tells the fonts.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QMessageBox>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <gtest/gtest.h>

#include "foundation/int_geometry.h"
#include "support/alert_capture.h"
#include "support/pointer_drive.h"
#include "support/temp_dir.h"

class CCardApp;
class CChildFrame;
class CDBDocument;
class CDlgLabelType;
class CLabelsDoc;
class CLabelsView;
class CMainFrame;
class CupsScheduler;
class QAction;
class QMenu;
class QTimer;
class QToolButton;
class QWidget;

// The words of the notice a print gives for barcodes cut at their label's
// edge: the sample card's barcode does not fit a smaller sheet's labels.
inline constexpr const char* kCutBarcodesNotice = "run past their label";

class JourneyTest : public ::testing::Test {
protected:
    JourneyTest();
    ~JourneyTest() override;

    void SetUp() override;
    void TearDown() override;

    // ---- the program ----
    // Starts (or restarts) the program with the command-line arguments, as
    // `tessaline ARGS...` does, and shows its main window.
    void Start(const std::vector<std::string>& arguments = {});
    // Closes every document without asking, then the program.
    void Stop();
    CCardApp* App() const { return app_.get(); }
    CMainFrame* MainWindow() const;

    // ---- files ----
    // A file of the test's own folder.
    std::string TempFile(const std::string& name) const { return temp_.file(name); }
    // Copies data/Samples/<name> into the test's folder; the copy's path.
    std::string CopySample(const std::string& name, const std::string& as = {});
    // Opens a card through File > Open > Document... and its file dialog;
    // the view of the card window it opened, or null.
    CLabelsView* OpenThroughMenu(const std::string& path);

    // ---- menus ----
    // Searches the menus now on the menu bar (and their submenus), then the
    // tool bars.
    QAction* Action(uint32_t id);
    // Item texts joined by " > " ("File > Open > Document..."); ampersands
    // and the key after a tab are ignored.
    QAction* Action(const QString& path);
    // Brings the item up to date the way opening its menu does.
    bool Enabled(uint32_t id);
    bool Enabled(const QString& path);
    bool Checked(uint32_t id);
    bool Trigger(uint32_t id);
    bool Trigger(const QString& path);
    // Window > N <title>: opens the Window menu and chooses the first
    // document window whose title starts with the text.
    bool ChooseWindow(const QString& title);
    // The top-level menus shown now, by their texts without ampersands.
    std::vector<QString> MenuTitles();

    // ---- dialogs ----
    using DialogDriver = std::function<void(QWidget* dialog)>;
    // drive runs, from the event loop of the dialog, on the next modal
    // dialog that opens; drivers queue in order.
    void OnNextDialog(DialogDriver drive);
    // A driver that picks the file in a file dialog and accepts it.
    static DialogDriver ChooseFile(const std::string& path);
    // Drivers that accept (OK) or reject (Cancel) a dialog as it is.
    static DialogDriver Accept();
    static DialogDriver Reject();
    // Database > Query... answered: the records whose last name contains
    // the text.
    static DialogDriver LastNameContains(const QString& text);
    // Answers the Print dialog: its PDF entry, whatever printers the
    // machine has, into the file.
    static DialogDriver PrintToPdfFile(const std::string& pdf);
    // The same for its PostScript file entry.
    static DialogDriver PrintToPostScriptFile(const std::string& ps);
    // A question such as "Save changes?" answered No.
    static DialogDriver AnswerNo();
    // A question answered with the button given; any other window fails.
    static DialogDriver Answer(QMessageBox::StandardButton button);
    // File > New > Label... > New..: the Label Type dialog filled in by
    // fill, then OK there and in the List of Labels; the new card, or null.
    CLabelsDoc* NewLabelSheet(const std::function<void(CDlgLabelType* type)>& fill);
    // Drivers still waiting for their dialog.
    size_t PendingDialogs() const { return drivers_.size(); }
    // Window titles of the modal dialogs that opened, in order.
    const std::vector<QString>& DialogTitles() const { return dialogTitles_; }

    using MenuDriver = std::function<void(QMenu* menu)>;
    // drive runs on the next pop-up menu that opens; it chooses an item or
    // closes the menu.
    void OnNextMenu(MenuDriver drive);
    // Picks the item of the path (texts joined by " > ", ampersands
    // ignored) with the arrow and Return keys; a missing or greyed item
    // fails the test and closes the menu.
    static MenuDriver ChooseItem(const QString& path);
    // Closes the menu without choosing.
    static MenuDriver Dismiss();
    // The items of a menu as a person reads them (separators left out).
    static std::vector<QString> ItemTexts(QMenu* menu);
    size_t PendingMenus() const { return menuDrivers_.size(); }
    // A visible top-level window (a modeless dialog, a pop-up menu) of the
    // class; null when none is shown.
    template <class Window>
    static Window* VisibleWindow()
    {
        for (QWidget* widget : TopLevelWindows())
            if (auto* window = dynamic_cast<Window*>(widget); window && widget->isVisible())
                return window;
        return nullptr;
    }
    static std::vector<QWidget*> TopLevelWindows();

    // ---- the card window ----
    CChildFrame* CardWindow() const;
    CLabelsView* CardView() const;
    // The card window's maximize button.
    void MaximizeCardWindow();
    // For checks only; a journey changes the document through the program.
    CLabelsDoc* CardDocument() const;
    // The view's picture once pending painting ran.
    QImage ViewPixels();
    // Where a point of the page, in document units, is on the view now.
    QPoint ViewPoint(const IntPoint& document) const;
    // A point, or a rectangle, of the card on the first page slot shown, in
    // the card's own points (as `card dump` gives frames), on the view now.
    QPoint CardPoint(int x, int y) const;
    QRect CardRect(int x, int y, int width, int height) const;
    // File > Print > Sheet of Active Document... into the queue chosen in
    // the Print dialog; the PDF the queue made of it, or empty.
    std::string SpoolInto(CupsScheduler& scheduler, const std::string& queue);
    // The drawing tools' button whose prompt is the text, or none.
    QToolButton* ToolButton(const QString& prompt) const;
    // A rectangle dragged out with the drawing tool from the card's corner;
    // false when the palette has no such tool.
    bool DrawRectangleFromTheCorner(QPoint via, QPoint to);
    // The selected frame's width and height set in points through Object
    // Info.
    void SizeSelectedFrameInPoints(int width, int height);
    // File > Import Graphics... with the file, then the picture's frame
    // dragged out on the first page slot from `from` through `via` to `to`
    // (document units from the slot's corner); the new frame's bounds.
    void ImportPicture(const std::string& file, IntPoint from, IntPoint via, IntPoint to, IntRect* bounds);
    // Pixels darker than the threshold (grey level) inside the rectangle.
    static int Ink(const QImage& picture, const QRect& area, int threshold = 128);
    // Pixels that differ between two pictures of the view inside the
    // rectangle.
    static int Changed(const QImage& before, const QImage& after, const QRect& area);

    // ---- the database window ----
    // The document of the active database window, or null; for checks
    // only, as CardDocument.
    CDBDocument* DatabaseDocument() const;

    // ---- input ----
    // Mouse input goes through the view's window as the window system
    // delivers it; the widget defaults to the card view.
    void Click(const QPoint& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QWidget* widget = nullptr);
    void DoubleClick(const QPoint& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QWidget* widget = nullptr);
    void RightClick(const QPoint& at, QWidget* widget = nullptr);
    // Presses at from, moves through the points, lets go at the last.
    void Drag(const QPoint& from, const std::vector<QPoint>& through,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier, QWidget* widget = nullptr);
    // Text typed, or one key, into the widget with the keyboard focus (the
    // given one when not null). Shortcuts of the menus answer as they do
    // for a person.
    void Type(const QString& text, QWidget* widget = nullptr);
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QWidget* widget = nullptr);
    // Runs pending events, timers and the idle update for a moment.
    void Settle(int milliseconds = 50);
    // Settles until the condition holds, a minute at most (a busy machine
    // may be slow); whether it held.
    bool SettleUntil(const std::function<bool()>& condition);

    // ---- checking what was written ----
    // tessaline-tool with the arguments (shell words), its standard output;
    // a failure of the tool fails the test.
    std::string Tool(const std::string& arguments);
    // The text of a PDF file by pdftotext. A pdftotext that fails (or is
    // not installed) or finds no text fails the test.
    std::string PdfText(const std::string& pdf);
    // The PDF's text as pdftohtml's XML, one element a run of one font,
    // bold and italic runs wrapped in <b> and <i>; a failure fails the
    // test, as PdfText.
    std::string PdfXml(const std::string& pdf);

    AlertCapture alerts;

private:
    static DialogDriver PrintToFile(bool postScript, const std::string& file);
    void WatchDialogs();
    void ActivateMainWindow();
    QWidget* InputTarget(QWidget* widget) const;

    TempDir temp_;
    std::unique_ptr<CCardApp> app_;
    std::deque<DialogDriver> drivers_;
    std::deque<MenuDriver> menuDrivers_;
    std::vector<QString> dialogTitles_;
    QPointer<QWidget> handled_;
    QTimer* dialogWatch_ = nullptr;
};
