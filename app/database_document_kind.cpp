#include "app/database_document_kind.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>

#include "app/card_app.h"
#include "app/card_document_kind.h"
#include "app/doc_manager.h"
#include "app/doc_template.h"
#include "app/document_child_frame.h"
#include "app/main_frame.h"
#include "app/tool_bar_db.h"
#include "database/open_database_registry.h"
#include "database/record_file_format.h"
#include "dbdoc/db_progress_dialogs.h"
#include "dbdoc/view_browser.h"
#include "dbdoc/view_data_entry.h"
#include "foundation/alerts.h"
#include "foundation/cp1252.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "platform/command_data.h"
#include "records/command_ids.h"

namespace {

DatabaseFileChooser g_chooser;

CMainFrame* MainFrameOrNull()
{
    CCardApp* app = GetCardApp();
    return app ? app->MainFrame() : nullptr;
}

std::string ChooseFile(const char* title, const std::string& suggested)
{
    if (g_chooser)
        return g_chooser(title, suggested);
    const QString path = QFileDialog::getSaveFileName(MainFrameOrNull(), title, QString::fromStdString(suggested),
                                                      "Database (*.dqx);;All Files (*)");
    if (path.isEmpty())
        return {};
    // The dialog may give a name without the kind's extension.
    return QFileInfo(path).suffix().isEmpty() ? path.toStdString() + ".dqx" : path.toStdString();
}

bool HostPathRecord(const std::string& path, PathRecord* record)
{
    const std::string absolute = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
    if (PathRecordFromPosix(absolute, record) != 0) {
        AlertStop(("The name of the file cannot be used:\n" + QStringToCp1252(QString::fromStdString(path))).c_str(),
                  0);
        return false;
    }
    return true;
}

// A database named by a link is the file the link names: its index, its
// journal and the new files of a pack lie beside its records, whichever
// name opened it, and a pack never puts a plain file in the link's place.
bool DatabaseRecord(const std::string& path, PathRecord* record)
{
    PathRecord named{};
    if (!HostPathRecord(path, &named))
        return false;
    if (const int32_t err = FileWriteLanding(&named, record); err != 0) {
        AlertFileErrorAbout(QStringToCp1252(QFileInfo(QString::fromStdString(path)).fileName()).c_str(), err);
        return false;
    }
    return true;
}

// The database shown in the shell: its tool bar and menus are the main
// frame's.
class ShellDatabase : public CDBDocument {
public:
    void ShellSetToolBar(int32_t sortIndex, int32_t findIndex) override
    {
        CMainFrame* main = MainFrameOrNull();
        if (!main || !main->DatabaseBar())
            return;
        main->DatabaseBar()->SetSortField(sortIndex);
        main->DatabaseBar()->SetFindText(findIndex, {});
    }
    void ShellFieldNamesChanged() override
    {
        if (CMainFrame* main = MainFrameOrNull())
            main->RefreshFieldNames();
    }
    void ShellShowDatabaseToolBar() override
    {
        if (CMainFrame* main = MainFrameOrNull())
            main->ShowDatabaseToolBar(true);
    }
    // The open cards show the record now current.
    void ShellShownRecordChanged() override
    {
        if (CMainFrame* main = MainFrameOrNull())
            for (DocumentChildFrame* frame : main->ChildFrames())
                if (auto* card = dynamic_cast<CardShellDocument*>(frame->Document()))
                    card->FollowCurrentRecord();
    }
    void ShellSaveAs() override
    {
        CMainFrame* main = MainFrameOrNull();
        if (!main)
            return;
        for (DocumentChildFrame* frame : main->ChildFrames())
            if (auto* shell = dynamic_cast<DatabaseShellDocument*>(frame->Document()); shell && shell->Database() == this)
                return shell->SaveAs();
    }
    bool ShellChooseNewDatabase(const char* title, PathRecord* path) override
    {
        // Beside the database, under a name of its own.
        const QFileInfo database(QString::fromStdString(FileHostPath(&Path())));
        const std::string suggested =
            (database.dir().filePath(database.completeBaseName() + " record.dqx")).toStdString();
        const std::string target = ChooseFile(title, suggested);
        return !target.empty() && HostPathRecord(target, path);
    }
    void ShellCloseWindow() override
    {
        CMainFrame* main = MainFrameOrNull();
        if (!main)
            return;
        for (DocumentChildFrame* frame : main->ChildFrames())
            if (auto* shell = dynamic_cast<DatabaseShellDocument*>(frame->Document()); shell && shell->Database() == this)
                QTimer::singleShot(0, frame, [frame] { frame->close(); });
    }
};

std::string CurrentDatabaseName()
{
    char name[256] = {};
    return GetCurrentDatabaseName(name) == 0 ? std::string(name) : std::string();
}

}  // namespace

DatabaseFileChooser SetDatabaseFileChooser(DatabaseFileChooser chooser)
{
    DatabaseFileChooser previous = std::move(g_chooser);
    g_chooser = std::move(chooser);
    return previous;
}

std::unique_ptr<CDBDocument> MakeShellDatabase() { return std::make_unique<ShellDatabase>(); }

DatabaseShellDocument::DatabaseShellDocument(std::unique_ptr<CDBDocument> database) : database_(std::move(database))
{
}

DatabaseShellDocument::~DatabaseShellDocument() = default;

std::string DatabaseShellDocument::Title() const
{
    char name[256] = {};
    PathRecordGetFileName(&database_->Path(), name, sizeof name);
    return name;
}

bool DatabaseShellDocument::ReadOnly() const { return database_->ReadOnly(); }

std::string DatabaseShellDocument::PathName() const
{
    return database_->IsOpen() ? PathRecordToPosix(database_->Path()) : std::string();
}

bool DatabaseShellDocument::IsModified() const
{
    return database_->IsOpen() && database_->EditsDirty();
}

bool DatabaseShellDocument::Save()
{
    if (!IsModified())
        return true;
    database_->CommitRecord(true);
    // A refused commit (bulk-mail mode) has dropped the edits and told the
    // user; a failed one keeps them, and the window with them.
    return !database_->EditsDirty();
}

CViewBrowser* DatabaseShellDocument::BrowserView() const { return browser_.data(); }

CViewDataEntry* DatabaseShellDocument::DataEntryView() const { return dataEntry_.data(); }

QWidget* DatabaseShellDocument::CreateView(int32_t pane, QWidget* parent)
{
    if (pane == 0 && !browser_) {
        auto* browser = new CViewBrowser(database_.get(), parent);
        browser_ = browser;
        browser->RefreshRecords(true);
        return browser;
    }
    if (pane == 1 && !dataEntry_) {
        auto* dataEntry = new CViewDataEntry(database_.get(), parent);
        dataEntry_ = dataEntry;
        dataEntry->RefreshRecords(true);
        return dataEntry;
    }
    return nullptr;
}

void DatabaseShellDocument::OnFrameActivate(bool activating)
{
    if (!activating || !database_->IsOpen())
        return;
    SetCurrentDatabase(database_.get());
    // The status bar names the current database once there is one.
    SetDatabaseNameSource(&CurrentDatabaseName);
    if (!dataEntry_)
        return;
    dataEntry_->OnActivateView(true);
    // The frame refills the bar's field combos after this; the choice
    // shown goes in once it has.
    QTimer::singleShot(0, &pending_, [this] {
        if (dataEntry_)
            database_->UpdateSortToolBar();
    });
}

void DatabaseShellDocument::OnCloseDocument()
{
    // The user was asked about uncommitted edits before the windows went;
    // what is still typed now is what they chose not to keep.
    database_->SetBrowser(nullptr);
    // The window goes after the document: its views must not reach it.
    if (browser_)
        browser_->DetachDocument();
    if (dataEntry_)
        dataEntry_->DetachDocument();
    browser_ = nullptr;
    dataEntry_ = nullptr;
    database_->Close();
}

void DatabaseShellDocument::SaveAs()
{
    // The copy takes what the form holds: the database's Save As commits it.
    const std::string target = ChooseFile("Save Database As:", PathName());
    if (target.empty())
        return;
    PathRecord record{};
    if (!HostPathRecord(target, &record))
        return;
    const bool saved = database_->SaveAs(record);
    if (CCardApp* app = GetCardApp(); app && saved)
        app->Documents().AddToRecentFileList(PathName());
    if (CMainFrame* main = MainFrameOrNull())
        main->DocumentRenamed(this);
}

bool DatabaseShellDocument::OnCommand(uint32_t id)
{
    CMainFrame* main = MainFrameOrNull();
    switch (id) {
    case kCmdFileSaveAs: SaveAs(); return true;
    case kCmdFileClose:
        if (main) {
            for (DocumentChildFrame* frame : main->ChildFrames()) {
                if (frame->Document() == this) {
                    main->CloseChildFrame(frame);
                    break;
                }
            }
        }
        return true;
    case kCmdFindCombo: {
        const auto* data = main ? dynamic_cast<const CChoosenFind*>(main->PendingCommandData()) : nullptr;
        if (data)
            database_->SearchOption(data->index, data->text);
        return true;
    }
    case kCmdSortCombo: {
        const auto* data = main ? dynamic_cast<const CChoosenField*>(main->PendingCommandData()) : nullptr;
        if (data)
            database_->SortRecords(1, data->index <= 0 ? -1 : FieldIdByIndex(data->index - 1));
        return true;
    }
    default: return database_->OnCommand(id);
    }
}

bool DatabaseShellDocument::OnUpdateCommand(CmdUI& ui)
{
    switch (ui.id) {
    case kCmdFileSaveAs:
    case kCmdFileClose:
    case kCmdFindCombo:
    case kCmdSortCombo: return true;
    default: return database_->OnUpdateCommand(ui);
    }
}

std::unique_ptr<ShellDocument> DatabaseDocumentFactory::NewDocument()
{
    const std::string path = ChooseFile("Create New Database As:", {});
    if (path.empty())
        return nullptr;
    PathRecord record{};
    if (!DatabaseRecord(path, &record))
        return nullptr;
    auto database = MakeShellDatabase();
    if (!database->OnNewDocument(record))
        return nullptr;
    return std::make_unique<DatabaseShellDocument>(std::move(database));
}

std::unique_ptr<ShellDocument> DatabaseDocumentFactory::OpenDocument(const std::string& path)
{
    // A link that leads nowhere goes on to the open, which says what it is
    // (links in a loop, or no file where it points).
    if (const QFileInfo file(QString::fromStdString(path)); !file.exists() && !file.isSymLink()) {
        AlertStop(MissingFileText(path).c_str(), 0);
        return nullptr;
    }
    PathRecord record{};
    if (!DatabaseRecord(path, &record))
        return nullptr;
    auto database = MakeShellDatabase();
    if (!database->OnOpenDocument(record))
        return nullptr;
    return std::make_unique<DatabaseShellDocument>(std::move(database));
}

void InstallDatabaseDocumentKind(DocTemplate* databaseTemplate)
{
    if (databaseTemplate)
        databaseTemplate->SetFactory(std::make_unique<DatabaseDocumentFactory>());
    InstallDatabaseWindows();
}
