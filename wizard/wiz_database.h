// The database document as the wizard's Personal Info page works it: the
// page's edits stand in for the document's own field edits while the
// wizard holds the database, and the database stays open for the new card
// document when the wizard finishes. The makers are the program's database
// documents (app/wiz_shell_database.h); one that makes nothing leaves
// the page as it was.
#pragma once

#include <cstdint>
#include <string>

class CFilteredEdit;
class QWidget;

constexpr int32_t kWizDatabaseEditCount = 21;

class WizDatabase {
public:
    virtual ~WizDatabase() = default;
    // Windows-1252.
    virtual std::string Title() const = 0;
    // Custom field k (0-5) under its name in this database.
    virtual std::string CustomFieldName(int32_t k) const = 0;

    // The page's edits, in column order, take the place of the document's
    // own; ReleaseEdits gives the document its edits back.
    virtual void ConnectEdits(CFilteredEdit* const* edits) = 0;
    virtual void ReleaseEdits() = 0;

    virtual void CommitRecord() = 0;
    // The wizard is cancelled: a database the user had open before the
    // page took it forgets what the page typed into its record, and no
    // commit after changes it; one made or opened here keeps it all.
    virtual void CancelRecord() = 0;
    virtual void FirstRecord() = 0;
    virtual void PreviousRecord() = 0;
    virtual void NextRecord() = 0;
    virtual void LastRecord() = 0;
    virtual void AddNewRecord() = 0;
    virtual void DeleteCurrentRecord() = 0;

    // Rows of the browser, the current row (0-based), the records the file
    // holds alive and counted, and those deleted.
    virtual int32_t RowCount() const = 0;
    virtual int32_t CurrentRow() const = 0;
    virtual int32_t LiveCount() const = 0;
    virtual int32_t StoredCount() const = 0;
    virtual int32_t DeletedCount() const = 0;

    // Brings the document's first window up beside the new card document.
    virtual void ShowWindow() = 0;
    // The document goes; what was committed stays in the file.
    virtual void Close() = 0;
};

// Makers of a new database and of one the user opens: null when cancelled
// or failed (after their own message). The database belongs to the
// program's documents; the page only holds it.
using WizDatabaseMaker = WizDatabase* (*)(QWidget* parent);

struct WizDatabaseMakers {
    WizDatabaseMaker create = nullptr;
    WizDatabaseMaker open = nullptr;
};

// Installs the makers and returns the previous ones.
WizDatabaseMakers SetWizDatabaseMakers(WizDatabaseMakers makers);
WizDatabase* CreateWizDatabase(QWidget* parent);
WizDatabase* OpenWizDatabase(QWidget* parent);
