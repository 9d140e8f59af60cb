// The database the Personal Info page holds: a database document of the
// program, made or opened through the application like any other, whose
// field edits the page's edits stand in for while the wizard runs.
#pragma once

#include <QMetaObject>
#include <cstdint>
#include <string>

#include "database/field_table.h"
#include "wizard/wiz_database.h"

class CCardApp;
class CDBDocument;
class QLineEdit;
class ShellDocument;

class WizShellDatabase : public WizDatabase {
public:
    // The makers the wizard's page calls: a new database at a path the
    // user chooses, or one the user opens; null when cancelled or failed.
    static WizDatabase* Create(QWidget* parent);
    static WizDatabase* Open(QWidget* parent);

    WizShellDatabase(CCardApp* app, ShellDocument* document, CDBDocument* database);
    ~WizShellDatabase() override;

    std::string Title() const override;
    std::string CustomFieldName(int32_t k) const override;
    void ConnectEdits(CFilteredEdit* const* edits) override;
    void ReleaseEdits() override;
    void CommitRecord() override;
    void CancelRecord() override;
    void FirstRecord() override;
    void PreviousRecord() override;
    void NextRecord() override;
    void LastRecord() override;
    void AddNewRecord() override;
    void DeleteCurrentRecord() override;
    int32_t RowCount() const override;
    int32_t CurrentRow() const override;
    int32_t LiveCount() const override;
    int32_t StoredCount() const override;
    int32_t DeletedCount() const override;
    void ShowWindow() override;
    void Close() override;

    CDBDocument* Database() const { return database_; }
    // Null once closed.
    ShellDocument* Document() const { return document_; }

private:
    static WizDatabase* Hold(ShellDocument* document);

    CCardApp* app_;
    ShellDocument* document_;
    CDBDocument* database_;
    QLineEdit* saved_[kEntryColumnCount] = {};
    QMetaObject::Connection typing_[kEntryColumnCount];
    QMetaObject::Connection gone_;
    bool connected_ = false;
    // Open before the wizard took it: it stays open when let go.
    bool borrowed_ = false;
    // Cancelled while borrowed: nothing the page typed is committed.
    bool dropped_ = false;
};
