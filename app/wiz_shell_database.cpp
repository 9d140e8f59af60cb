#include "app/wiz_shell_database.h"

#include "app/card_app.h"
#include "app/database_document_kind.h"
#include "app/main_frame.h"
#include "dbdoc/cdb_document.h"
#include "dialogs/filtered_edit.h"

#include <QLineEdit>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The six custom fields are the last columns of the 21.
constexpr int32_t kFirstCustomColumn = kEntryColumnCount - 6;

// The page only points at what it holds, and a database the wizard
// finished with stays open as the program's own: its holder lives here
// until the next one is made after the document went.
std::vector<std::unique_ptr<WizShellDatabase>>& Holders()
{
    static std::vector<std::unique_ptr<WizShellDatabase>> holders;
    return holders;
}

void DropHoldersOfClosedDocuments(CCardApp* app)
{
    const std::vector<ShellDocument*> open = app->Documents().Documents();
    std::erase_if(Holders(), [&](const std::unique_ptr<WizShellDatabase>& h) {
        return std::find(open.begin(), open.end(), h->Document()) == open.end();
    });
}

}  // namespace

WizDatabase* WizShellDatabase::Hold(ShellDocument* document)
{
    CCardApp* app = GetCardApp();
    auto* shell = dynamic_cast<DatabaseShellDocument*>(document);
    if (!app || !shell || !shell->Database())
        return nullptr;
    DropHoldersOfClosedDocuments(app);
    Holders().push_back(std::make_unique<WizShellDatabase>(app, document, shell->Database()));
    return Holders().back().get();
}

WizDatabase* WizShellDatabase::Create(QWidget* /*parent*/)
{
    CCardApp* app = GetCardApp();
    return app ? Hold(app->CreateNewDatabase(false)) : nullptr;
}

WizDatabase* WizShellDatabase::Open(QWidget* /*parent*/)
{
    CCardApp* app = GetCardApp();
    if (!app)
        return nullptr;
    // A database the program had open already is the user's: the wizard
    // borrows it and, when done with it, leaves it open.
    const std::vector<ShellDocument*> before = app->Documents().Documents();
    ShellDocument* document = app->OpenDatabase(false);
    auto* held = static_cast<WizShellDatabase*>(Hold(document));
    if (held)
        held->borrowed_ = std::find(before.begin(), before.end(), document) != before.end();
    return held;
}

WizShellDatabase::WizShellDatabase(CCardApp* app, ShellDocument* document, CDBDocument* database)
    : app_(app), document_(document), database_(database)
{
}

// A holder goes only after its document did, or when the program ends:
// nothing of the document is reached any more.
WizShellDatabase::~WizShellDatabase()
{
    for (QMetaObject::Connection& c : typing_)
        QObject::disconnect(c);
    QObject::disconnect(gone_);
}

std::string WizShellDatabase::Title() const { return document_ ? document_->Title() : std::string(); }

std::string WizShellDatabase::CustomFieldName(int32_t k) const
{
    if (k < 0 || k >= kEntryColumnCount - kFirstCustomColumn)
        return {};
    char name[kFieldTypeNameSize] = {};
    FieldTypeName(FieldIdByIndex(kFirstCustomColumn + k), name, true, false);
    return name;
}

void WizShellDatabase::ConnectEdits(CFilteredEdit* const* edits)
{
    if (!database_ || !edits)
        return;
    if (!connected_) {
        for (int32_t k = 0; k < kEntryColumnCount; ++k)
            saved_[k] = database_->FieldEdit(k);
    }
    for (int32_t k = 0; k < kEntryColumnCount; ++k) {
        database_->SetFieldEdit(k, edits[k]);
        QObject::disconnect(typing_[k]);
        // What the user types in the page counts as typed into the form.
        if (edits[k])
            typing_[k] = QObject::connect(edits[k], &QLineEdit::textEdited, [this, k] {
                if (database_)
                    database_->FieldEdited(k);
            });
    }
    connected_ = true;
    // Edits that go while they stand in give the document its own back.
    QObject::disconnect(gone_);
    if (edits[0])
        gone_ = QObject::connect(edits[0], &QObject::destroyed, [this] { ReleaseEdits(); });
    database_->RefreshAfterViewsReady();
    database_->LoadRecordIntoEdits();
}

void WizShellDatabase::ReleaseEdits()
{
    if (!database_ || !connected_)
        return;
    for (int32_t k = 0; k < kEntryColumnCount; ++k) {
        QObject::disconnect(typing_[k]);
        database_->SetFieldEdit(k, saved_[k]);
    }
    QObject::disconnect(gone_);
    connected_ = false;
    database_->LoadRecordIntoEdits();
}

void WizShellDatabase::CommitRecord()
{
    if (!database_ || dropped_)
        return;
    // A new database holds no record until one is entered: what the page
    // shows becomes its first.
    if (connected_ && database_->PendingPosition() < 0 && LiveCount() == 0) {
        QStringList shown;
        for (int32_t k = 0; k < kEntryColumnCount; ++k) {
            QLineEdit* edit = database_->FieldEdit(k);
            shown << (edit ? edit->text() : QString());
        }
        database_->NewRecord();
        for (int32_t k = 0; k < kEntryColumnCount; ++k) {
            if (QLineEdit* edit = database_->FieldEdit(k))
                edit->setText(shown[k]);
        }
    }
    // A record just added takes whatever the page shows, also the texts
    // the page put there itself before the database came.
    if (connected_ && database_->PendingPosition() >= 0) {
        for (int32_t k = 0; k < kEntryColumnCount; ++k) {
            if (QLineEdit* edit = database_->FieldEdit(k); edit && !edit->text().isEmpty())
                database_->FieldEdited(k);
        }
    }
    database_->CommitRecord(false);
}

void WizShellDatabase::CancelRecord()
{
    if (!database_ || !borrowed_)
        return;
    database_->DropEdits();
    dropped_ = true;
}

void WizShellDatabase::FirstRecord()
{
    if (database_)
        database_->GoToRecord(kGoFirst);
}

void WizShellDatabase::PreviousRecord()
{
    if (database_)
        database_->GoToRecord(kGoPrevious);
}

void WizShellDatabase::NextRecord()
{
    if (database_)
        database_->GoToRecord(kGoNext);
}

void WizShellDatabase::LastRecord()
{
    if (database_)
        database_->GoToRecord(kGoLast);
}

void WizShellDatabase::AddNewRecord()
{
    if (database_)
        database_->NewRecord();
}

void WizShellDatabase::DeleteCurrentRecord()
{
    if (database_)
        database_->DeleteRecord(true, true);
}

int32_t WizShellDatabase::RowCount() const { return database_ ? database_->ListRows() : 0; }

int32_t WizShellDatabase::CurrentRow() const { return database_ ? database_->CurrentRow() : 0; }

int32_t WizShellDatabase::LiveCount() const
{
    return database_ && database_->IsOpen() ? database_->Data().GetLiveCount() : 0;
}

int32_t WizShellDatabase::StoredCount() const
{
    return database_ && database_->IsOpen() ? database_->Data().GetStoredCount() : 0;
}

int32_t WizShellDatabase::DeletedCount() const
{
    return database_ && database_->IsOpen() ? database_->Data().GetDeletedCount() : 0;
}

void WizShellDatabase::ShowWindow()
{
    ReleaseEdits();
    if (app_ && app_->MainFrame() && document_)
        app_->MainFrame()->ActivateDocumentFrame(document_);
}

void WizShellDatabase::Close()
{
    ReleaseEdits();
    ShellDocument* document = document_;
    document_ = nullptr;
    database_ = nullptr;
    if (app_ && document && !borrowed_)
        app_->Documents().CloseDocument(document);
}
