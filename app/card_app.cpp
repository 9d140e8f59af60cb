#include "app/card_app.h"

#include "app/card_app_shell.h"
#include "app/card_document_app_host.h"
#include "app/card_document_kind.h"

#include <cstring>

#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPageLayout>
#include <QPrinter>
#include <QTimer>

#include "app/clipboard_wnd.h"
#include "app/command_line.h"
#include "app/database_document_kind.h"
#include "app/document_child_frame.h"
#include "app/main_frame.h"
#include "app/menu_shortcut_states.h"
#include "app/new_document_command.h"
#include "app/splash_wnd.h"
#include "app/wiz_shell_database.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "catalog/wizard_data.h"
#include "database/field_table.h"
#include "database/merge_text.h"
#include "database/preview_file.h"
#include "dialogs/label_type_list_dlg.h"
#include "dialogs/label_type_page.h"
#include "dialogs/print_setup.h"
#include "foundation/alerts.h"
#include "foundation/cp1252.h"
#include "foundation/cursors.h"
#include "foundation/file_io.h"
#include "foundation/long_work.h"
#include "foundation/program_folder.h"
#include "foundation/string_table.h"
#include "graphics/beep.h"
#include "graphics/fill_patterns.h"
#include "platform/gdi_types.h"
#include "platform/hyperlink.h"
#include "platform/key_state_tracker.h"
#include "platform/menus.h"
#include "platform/qt_long_work_runner.h"
#include "platform/print_printer.h"
#include "platform/printer_handles.h"
#include "platform/profile.h"
#include "platform/x11_lock_keys.h"
#include "records/command_ids.h"
#include "records/label_stock.h"
#include "records/menu_resources.h"
#include "text/spell_dictionary.h"
#include "typography/font_list.h"
#include "typography/font_menu_popup.h"
#include "typography/menu_bitmaps.h"
#include "wizard/card_layout_wizard.h"
#include "wizard/dlg_wizard_setup.h"
#include "wizard/new_document_wizard.h"

const char* const kCompanyWebAddress = "https://korrinworks.example/";

namespace {

CCardApp* g_app = nullptr;

const char* const kCardTemplateId = "TessalineLB";
const char* const kDatabaseTemplateId = "TessalineDB";
const char* const kCompanyWebText = "Company on the Web";

}  // namespace

CCardApp* GetCardApp()
{
    return g_app;
}

CCardApp::CCardApp()
    : documentHost_(std::make_unique<CardAppDocumentHost>(this)),
      keys_(std::make_unique<KeyStateTracker>()),
      lockKeys_(std::make_unique<X11LockKeySource>())
{
    g_app = this;
    previousDocumentHost_ = SetCardDocumentHost(documentHost_.get());
    // The card document and the wizard reach the main window, the layout
    // wizard and the program's database documents through these.
    shell_ = std::make_unique<CardAppShell>(this);
    previousCardShell_ = SetCardShell(shell_.get());
    previousWizardShell_ = SetWizardShell(shell_.get());
    previousLayoutWizard_ = CurrentLayoutWizard();
    InstallCardLayoutWizard();
    previousWizDatabaseMakers_ = SetWizDatabaseMakers({&WizShellDatabase::Create, &WizShellDatabase::Open});
}

CCardApp::~CCardApp()
{
    if (started_)
        ExitInstance();
    mainFrame_.reset();
    if (g_app == this)
        g_app = nullptr;
    SetWizDatabaseMakers(previousWizDatabaseMakers_);
    SetLayoutWizard(previousLayoutWizard_);
    SetWizardShell(previousWizardShell_);
    SetCardShell(previousCardShell_);
    if (longWork_)
        SetLongWorkRunner(previousLongWork_);
    SetCardDocumentHost(previousDocumentHost_);
}

namespace {

// Files a program that died left behind: swap files, the scratch files of
// template work and the halves of interrupted saves of the program's own
// files. One that another running copy holds open stays.
void RemoveStartupLeftovers(const PathRecord& programFolder)
{
    for (const char* prefix : {"KPX", "tpl", "LBL", "PTS", "WIZ", "PRV"})
        RemoveStaleTempFiles(&programFolder, prefix);
    PathRecord dictionary{};
    if (GetDefaultDictionary(&dictionary) == 0)
        RemoveStaleTempFiles(&dictionary, "DIC");
    PathRecord temp{};
    if (GetSystemTempFolder(&temp) == 0) {
        // Swap files, and what killed prints and readers left: indexes of
        // databases opened only to be read, spools, scratch folders. Others
        // write there too: only what carries the program's mark goes.
        RemoveOwnLeftovers(&temp);
    }
}

}  // namespace

bool CCardApp::InitInstance(const std::vector<std::string>& arguments)
{
    exitCode_ = 1;
    const CommandLineRecord line = ParseCommandLine(arguments);
    CSplashWnd::EnableSplashScreen(!line.quiet);

    // A value the profile lacks, or that reads -1, is written as 0 so that
    // the wizard finds it from now on.
    for (const char* name : {"MasterMode", "DocCtg", "DocSubCtg"})
        if (GetProfileInt("Wizard", name, -1) == -1)
            WriteProfileInt("Wizard", name, 0);

    docs_.LoadRecentFiles();
    docs_.AddTemplate(std::make_unique<DocTemplate>(129, LookupString(129), ChildFrameKind::kCard));
    InstallDatabaseDocumentKind(
        docs_.AddTemplate(std::make_unique<DocTemplate>(130, LookupString(130), ChildFrameKind::kDatabase)));
    InstallCardDocumentKind(&docs_);

    // The font list asks for the application's printer. A print from the
    // command line has its own chosen first; the window asks for the
    // default one on a thread of its own and opens without waiting on the
    // print system.
    if (line.action == CommandLineRecord::kPrint || line.action == CommandLineRecord::kPrintTo)
        ChooseCommandLinePrinter(line);
    else
        AskPrinterAhead();
    LogFont filter;
    filter.weight = 0;
    filter.outPrecision = 0;
    filter.charSet = DEFAULT_CHARSET;
    GetGlobalFontList()->Build(&filter);

    mainFrame_ = std::make_unique<CMainFrame>(this, &docs_);
    if (!mainFrame_->LoadFrame()) {
        mainFrame_.reset();
        return false;
    }
    mainFrame_->setAcceptDrops(true);
    new MenuShortcutStates(mainFrame_.get());
    started_ = true;

    SetUseHatchBrushes(true);
    LoadAppCursors(389, 424);

    GetProgramFolder(&programFolder_);
    RemoveStartupLeftovers(programFolder_);
    // The store has told the user when its swap file can't be made.
    if (CreateClipboardStore(programFolder_, mainFrame_.get()) != 0) {
        ExitInstance();
        mainFrame_.reset();
        return false;
    }
    LoadSavePreviewFormats(&programFolder_, false);
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        char text[kDocSetupSampleTextSize] = {};
        GetPreviewFieldText(FieldIdByIndex(column), false, text);
        std::memcpy(defaultDocSetup_ + kDocSetupSampleTextOffset + size_t(column) * kDocSetupSampleTextSize, text,
                    sizeof text);
    }

    // A print job from the command line runs without the window and ends
    // the program.
    if (line.action == CommandLineRecord::kPrint || line.action == CommandLineRecord::kPrintTo) {
        exitCode_ = PrintFromCommandLine(this, line);
        return false;
    }
    // Long work (Ghostscript drawing a picture) runs off the window's
    // thread from here on, the windows live and the user able to stop it.
    longWork_ = std::make_unique<QtLongWorkRunner>();
    previousLongWork_ = SetLongWorkRunner(longWork_.get());
    // The window takes its place before documents open in it, so that
    // their windows are placed and fitted in the work area it really has.
    mainFrame_->ActivateFrame();
    WatchPrinterAnswer();
    // A file that can't be opened has said why; the others still open and
    // the program stays up.
    for (const std::string& file : line.files)
        OpenDocumentFile(file);

    FontMenuPopup::Create(kCmdFontNameCombo, kTrueTypeMarkBitmap, kTrueTypeSilhouetteBitmap, kDeviceMarkBitmap,
                          kDeviceSilhouetteBitmap);
    SetUpHelpMenu();
    // A catalogue that cannot be made ready has told the user why; the
    // program runs on without it.
    WizardTreeInit(&programFolder_);
    InstallWizardDocumentFormats(true);
    exitCode_ = 0;
    return true;
}

int32_t CCardApp::ExitInstance()
{
    if (!started_)
        return 0;
    started_ = false;
    LoadSavePreviewFormats(&programFolder_, true);
    FreeAppCursors();
    DestroyClipboardStore();
    FontMenuPopup::Destroy();
    InstallWizardDocumentFormats(false);
    WizardTreeFree();
    CSplashWnd::HideSplashScreen();
    docs_.SaveRecentFiles();
    return 0;
}

void CCardApp::WatchPrinterAnswer()
{
    if (!PrinterAnswerPending())
        return;
    // Looked at a few times a second: a server may take seconds to answer,
    // or never, giving up after the bound.
    auto* watch = new QTimer(mainFrame_.get());
    watch->setInterval(100);
    QObject::connect(watch, &QTimer::timeout, watch, [this, watch] {
        if (PrinterAnswerPending())
            return;
        watch->stop();
        watch->deleteLater();
        for (DocumentChildFrame* frame : mainFrame_->ChildFrames())
            if (auto* card = dynamic_cast<CardShellDocument*>(frame->Document()))
                card->Document()->MeasureOnPrinterAgain();
    });
    watch->start();
}

void CCardApp::SetUpHelpMenu()
{
    if (!mainFrame_)
        return;
    const char* title = LookupString(kStringAppTitle);
    const QString about = Cp1252ToQString(title ? title : "") + "...";
    for (const int32_t id : {int32_t(kMenuMain), int32_t(kMenuCard), int32_t(kMenuDatabase)}) {
        const std::vector<QMenu*>& menus = mainFrame_->MenuSet(id);
        if (menus.empty())
            continue;
        QMenu* last = menus.back();
        for (QAction* action : last->actions())
            if (MenuGetCommandId(action) == kCmdAppAbout)
                action->setText(about);
        for (QMenu* menu : menus) {
            if (menu->title() != "&Help")
                continue;
            if (MenuFindItem(menu, kCmdCompanyWeb) < 0)
                MenuSetCommandId(menu->addAction(kCompanyWebText), kCmdCompanyWeb);
        }
    }
}

ShellDocument* CCardApp::OpenDocumentFile(const std::string& path)
{
    // A file already open is only brought to the front.
    if (docs_.DocumentCount() >= kMaxOpenDocuments && !docs_.FindOpenDocument(path)) {
        AlertStop(TooManyDocumentsText(path, kMaxOpenDocuments).c_str(), 0);
        return nullptr;
    }
    return docs_.OpenDocumentFile(path);
}

ShellDocument* CCardApp::CreateNewDatabase(bool visible)
{
    DocTemplate* t = docs_.FindTemplate(kDatabaseTemplateId);
    return t ? docs_.NewDocument(t, visible) : nullptr;
}

ShellDocument* CCardApp::CreateNewLabelDocument(const uint8_t* labelType, bool visible)
{
    DocTemplate* t = docs_.FindTemplate(kCardTemplateId);
    if (!t)
        return nullptr;
    if (labelType) {
        std::memcpy(currentLabelType_, labelType, kAppLabelTypeSize);
        std::memcpy(defaultDocSetup_ + kDocSetupLabelTypeOffset, labelType, kAppLabelTypeSize);
        // A sheet chosen alone brings no design: the category, backdrop,
        // its colour and template of an earlier wizard run stay behind.
        std::memset(defaultDocSetup_, 0, kDocSetupLabelTypeOffset);
    }
    return docs_.NewDocument(t, visible);
}

void CCardApp::OnCreateNewLabel()
{
    CDlgListOfLabels dialog(mainFrame_.get());
    LabelTypeRecord chosen;
    if (dialog.exec() != QDialog::Accepted || dialog.GetCurLabel(&chosen) < 0)
        return;
    LabelTypeEncode(chosen, currentLabelType_);
    CreateNewLabelDocument(currentLabelType_, true);
}

ShellDocument* CCardApp::OpenWithPrompt(const char* fileTypeId, bool visible)
{
    DocTemplate* t = docs_.FindTemplate(fileTypeId);
    if (!t)
        return nullptr;
    const QString path = QFileDialog::getOpenFileName(mainFrame_.get(), "Open", QString(),
                                                      Cp1252ToQString(t->QtFilter()) + ";;All Files (*)");
    if (path.isEmpty())
        return nullptr;
    return docs_.OpenDocument(t, path.toStdString(), visible);
}

ShellDocument* CCardApp::OpenDatabase(bool visible)
{
    return OpenWithPrompt(kDatabaseTemplateId, visible);
}

void CCardApp::OnFileOpenDocument()
{
    OpenWithPrompt(kCardTemplateId, true);
}

void CCardApp::OnFileNewDocument()
{
    RunNewDocumentWizard(this);
}

void CCardApp::OnAppAbout()
{
    CSplashWnd::SetTextFlags(false, false);
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(mainFrame_.get(), 10000);
}

void CCardApp::OnShowSplashExtra()
{
    CSplashWnd::SetTextFlags(true, true);
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(mainFrame_.get(), 10000);
}

void CCardApp::OnCompanyWeb()
{
    const int32_t result = OpenHyperlink(kCompanyWebAddress, 5);
    if (result <= 32) {
        PlayBeep(0x30);
        ReportShellExecuteError(result);
    }
}

bool CCardApp::DoPageSetup(PageChoice* page)
{
    return DoPrintSetup(mainFrame_.get(), page);
}

bool CCardApp::OnCommand(uint32_t id)
{
    switch (id) {
    case kCmdNewDatabase:
        CreateNewDatabase(true);
        return true;
    case kCmdCreateNewLabel:
        OnCreateNewLabel();
        return true;
    case kCmdNewDocument:
    case kCmdWizard:
        OnFileNewDocument();
        return true;
    case kCmdOpenDatabase:
        OpenDatabase(true);
        return true;
    case kCmdWizardSetup:
        RunWizardSetup(mainFrame_.get());
        return true;
    case kCmdOpenDocument:
        OnFileOpenDocument();
        return true;
    case kCmdShowClipboard:
        ToggleClipboardWindow();
        return true;
    case kCmdCloseAll:
        if (docs_.SaveAllModified())
            docs_.CloseAllDocuments();
        return true;
    case kCmdFileNew:
    case kCmdNothing:
        return true;
    case kCmdFileOpen: {
        QStringList filters;
        for (const auto& t : docs_.Templates())
            filters << Cp1252ToQString(t->QtFilter());
        filters << "All Files (*)";
        const QString path = QFileDialog::getOpenFileName(mainFrame_.get(), "Open", QString(), filters.join(";;"));
        if (!path.isEmpty())
            OpenDocumentFile(path.toStdString());
        return true;
    }
    case kCmdFilePrintSetup:
        DoPrintSetup(mainFrame_.get());
        return true;
    case kCmdPageSetup:
        DoPageSetup();
        return true;
    case kCmdAppAbout:
        OnAppAbout();
        return true;
    case kCmdShowSplashExtra:
        OnShowSplashExtra();
        return true;
    case kCmdCompanyWeb:
        OnCompanyWeb();
        return true;
    default:
        break;
    }
    if (id >= kCmdRecentFile1 && id < kCmdRecentFile1 + uint32_t(docs_.RecentFiles().Count())) {
        const int32_t index = int32_t(id - kCmdRecentFile1);
        const std::string path = docs_.RecentFiles().At(index);
        if (docs_.DocumentCount() >= kMaxOpenDocuments && !docs_.FindOpenDocument(path)) {
            OpenDocumentFile(path);  // says why it stays closed, and it stays listed
            return true;
        }
        if (!OpenDocumentFile(path) && !docs_.FindOpenDocument(path)) {
            // A file that can't be opened any more leaves the list.
            docs_.RecentFiles().Remove(index);
            docs_.SaveRecentFiles();
            if (mainFrame_)
                mainFrame_->RecentFilesChanged();
        }
        return true;
    }
    return false;
}

bool CCardApp::OnUpdateCommand(CmdUI& ui)
{
    const bool room = docs_.DocumentCount() < kMaxOpenDocuments;
    switch (ui.id) {
    case kCmdNewDatabase:
    case kCmdCreateNewLabel:
    case kCmdNewDocument:
    case kCmdWizard:
    case kCmdOpenDatabase:
    case kCmdOpenDocument:
        ui.Enable(room);
        return true;
    case kCmdCloseAll:
        ui.Enable(docs_.DocumentCount() > 0);
        return true;
    case kCmdShowClipboard:
        ui.Enable(ClipboardWindow() != nullptr);
        ui.SetCheck(IsClipboardWindowVisible());
        return true;
    case kCmdWizardSetup:
        ui.Enable(IsMasterMode());
        return true;
    case kCmdFileNew:
    case kCmdFileOpen:
    case kCmdFilePrintSetup:
    case kCmdPageSetup:
    case kCmdNothing:
    case kCmdAppAbout:
    case kCmdShowSplashExtra:
    case kCmdCompanyWeb:
        return true;
    default:
        break;
    }
    if (ui.id >= kCmdRecentFile1 && ui.id < kCmdRecentFile1 + 16) {
        ui.Enable(int32_t(ui.id - kCmdRecentFile1) < docs_.RecentFiles().Count());
        return true;
    }
    return false;
}
