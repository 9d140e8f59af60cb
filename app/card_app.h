// CCardApp: the program as a whole. It starts the program (profile, the
// two kinds of document, the font list, the main frame, the command line),
// shuts it down, keeps the program-wide defaults (program folder, default
// document set-up, current label type) and carries out the application's
// own commands: new and open, close all, About and the company link.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QRect>

#include "app/doc_manager.h"
#include "foundation/path_record.h"
#include "platform/command_target.h"
#include "wizard/wiz_database.h"

class CardAppDocumentHost;
class CardAppShell;
class CardShell;
class LayoutWizardHost;
class WizardShell;
class CardDocumentHost;
class CMainFrame;
class KeyStateTracker;
class LongWorkRunner;
class QtLongWorkRunner;
class X11LockKeySource;
class ShellDocument;
struct PageChoice;

// Sizes of the records the application keeps.
constexpr size_t kAppLabelTypeSize = 168;
constexpr size_t kAppDocSetupSize = 5608;
// Where the document set-up keeps its parts.
constexpr size_t kDocSetupLabelTypeOffset = 16;
constexpr size_t kDocSetupSampleTextOffset = 192;
constexpr size_t kDocSetupSampleTextSize = 256;

class CCardApp : public CommandTarget {
public:
    CCardApp();
    ~CCardApp() override;
    CCardApp(const CCardApp&) = delete;
    CCardApp& operator=(const CCardApp&) = delete;

    // Starts the program with its command-line arguments (without the
    // program's name); false when it is not to run on: it could not start,
    // or the command line's print job is done. ExitCode then tells which.
    bool InitInstance(const std::vector<std::string>& arguments);
    int32_t ExitCode() const { return exitCode_; }
    // Shuts down what start-up made; the exit code.
    int32_t ExitInstance();

    // The document of the file; null when 10 documents are open already or
    // the file cannot be opened (after its message).
    ShellDocument* OpenDocumentFile(const std::string& path);
    int32_t GetOpenDocumentCount() const { return docs_.DocumentCount(); }
    // A new database or card document; null when none could be made.
    ShellDocument* CreateNewDatabase(bool visible);
    // The label type (168 bytes, null for the built-in one) goes into the
    // current label type and the default set-up first.
    ShellDocument* CreateNewLabelDocument(const uint8_t* labelType, bool visible);
    // The label type chosen in the List of Labels dialog becomes the
    // current one, and a new card is laid out for it.
    void OnCreateNewLabel();
    // Asks for a database file and opens it; null when cancelled or failed.
    ShellDocument* OpenDatabase(bool visible);
    void OnFileOpenDocument();
    void OnFileNewDocument();
    void OnAppAbout();
    void OnShowSplashExtra();
    void OnCompanyWeb();
    // Page Setup: the paper, orientation and margins of the printer the
    // program prints with; true after OK. With a card's page, what its
    // label layout fixes shows fixed and stays as it is.
    bool DoPageSetup(PageChoice* page = nullptr);


    bool OnCommand(uint32_t id) override;
    bool OnUpdateCommand(CmdUI& ui) override;

    DocManager& Documents() { return docs_; }
    CMainFrame* MainFrame() const { return mainFrame_.get(); }
    const PathRecord& ProgramFolder() const { return programFolder_; }
    uint8_t* DefaultDocSetup() { return defaultDocSetup_; }
    uint8_t* CurrentLabelType() { return currentLabelType_; }

    // The shell's own items of the Help menu: the About item named after
    // the program, and the company's web link.
    void SetUpHelpMenu();
    // The default printer asked for ahead: once it answers, the open cards
    // are measured on it.
    void WatchPrinterAnswer();

private:
    ShellDocument* OpenWithPrompt(const char* fileTypeId, bool visible);

    DocManager docs_;
    // What the card documents ask of the program, and the keys held down;
    // both serve from the start to the end of the application object.
    std::unique_ptr<CardAppDocumentHost> documentHost_;
    CardDocumentHost* previousDocumentHost_ = nullptr;
    std::unique_ptr<CardAppShell> shell_;
    CardShell* previousCardShell_ = nullptr;
    std::unique_ptr<QtLongWorkRunner> longWork_;
    LongWorkRunner* previousLongWork_ = nullptr;
    WizardShell* previousWizardShell_ = nullptr;
    LayoutWizardHost* previousLayoutWizard_ = nullptr;
    WizDatabaseMakers previousWizDatabaseMakers_{};
    std::unique_ptr<KeyStateTracker> keys_;
    std::unique_ptr<X11LockKeySource> lockKeys_;
    std::unique_ptr<CMainFrame> mainFrame_;
    PathRecord programFolder_{};
    uint8_t currentLabelType_[kAppLabelTypeSize] = {};
    uint8_t defaultDocSetup_[kAppDocSetupSize] = {};
    bool started_ = false;
    int32_t exitCode_ = 0;
};

// The one application object while the program runs; null otherwise.
CCardApp* GetCardApp();

// The company's web address that Help > "Company on the Web" opens.
extern const char* const kCompanyWebAddress;
