// The database as a document of the shell: the adapter that lets the
// shell open, show, question and close a CDBDocument, and the factory of
// the database kind. A database has no Save: records are written as they
// are committed. What the shell calls modified is a record whose edits
// were not committed yet; saving commits them.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QPointer>

#include "app/shell_document.h"
#include "dbdoc/cdb_document.h"

class CViewBrowser;
class CViewDataEntry;
class DocTemplate;

class DatabaseShellDocument : public ShellDocument {
public:
    explicit DatabaseShellDocument(std::unique_ptr<CDBDocument> database);
    ~DatabaseShellDocument() override;

    std::string Title() const override;
    bool ReadOnly() const override;
    std::string PathName() const override;
    bool IsModified() const override;
    bool Save() override;
    QWidget* CreateView(int32_t pane, QWidget* parent) override;
    void OnFrameActivate(bool activating) override;
    void OnCloseDocument() override;
    bool OnCommand(uint32_t id) override;
    bool OnUpdateCommand(CmdUI& ui) override;

    CDBDocument* Database() const { return database_.get(); }
    CViewBrowser* BrowserView() const;
    CViewDataEntry* DataEntryView() const;
    // File > Save As: asks where, copies the database there and goes on
    // with the copy.
    void SaveAs();

private:

    std::unique_ptr<CDBDocument> database_;
    // The views go with their window, which may go before or after the
    // document.
    QPointer<CViewBrowser> browser_;
    QPointer<CViewDataEntry> dataEntry_;
    // Work put off to the event loop ends with the document: the views may
    // still be there when the database is gone.
    QObject pending_;
};

// Asks where a new database (or a copy of one) goes; the host path, or
// empty when cancelled. Tests install their own (null restores the file
// dialog).
using DatabaseFileChooser = std::function<std::string(const char* title, const std::string& suggested)>;
DatabaseFileChooser SetDatabaseFileChooser(DatabaseFileChooser chooser);

class DatabaseDocumentFactory : public DocumentFactory {
public:
    std::unique_ptr<ShellDocument> NewDocument() override;
    std::unique_ptr<ShellDocument> OpenDocument(const std::string& path) override;
};

// A CDBDocument whose tool bar, field menus and database bar are the main
// frame's.
std::unique_ptr<CDBDocument> MakeShellDatabase();

// Gives the database kind its factory, and the program the windows of the
// long database passes.
void InstallDatabaseDocumentKind(DocTemplate* databaseTemplate);
