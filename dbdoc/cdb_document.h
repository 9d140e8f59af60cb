// CDBDocument: the database document of the user interface. It adds to
// the document without windows what the two views need: the record being
// edited in the data-entry form, its commit, new, duplicate, delete and
// clear with single-level undo, moving through the list, fast fill, and
// the sort, find, query and search commands.
//
// The views register themselves (the browser list, the 21 field edits and
// the six custom-field labels); every operation also works without them,
// which is how the command tests drive it.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>

#include "database/card_record.h"
#include "database/db_document.h"
#include "database/field_table.h"
#include "dbdoc/database_report.h"
#include "dialogs/filtered_edit.h"
#include "platform/command_target.h"

class CViewBrowser;
class QLabel;
class QLineEdit;

// The single-level undo record.
struct DbUndoRecord {
    uint32_t code = 0;  // kUndo... below; 0 = none
    uint16_t kind = 0;  // menu text: 2 delete, 3 clear, 4 duplicate, 5 add
    uint16_t redo = 0;  // 1 after it was undone
    int32_t offset = -1;
    std::unique_ptr<CardRecord> image;  // what Clear All Fields took away
};

constexpr uint32_t kUndoAddRecord = FourCC("UnAr");
constexpr uint32_t kUndoDuplicate = FourCC("UnDp");
constexpr uint32_t kUndoClearFields = FourCC("UnCf");
constexpr uint32_t kUndoDeleteRecord = FourCC("UnDr");

// Navigation steps of GoToRecord.
enum : int32_t {
    kGoFirst = -2,
    kGoPrevious = -1,
    kGoNext = 1,
    kGoLast = 2,
};

// Passes of RebuildSelection.
enum : int32_t {
    kPassNone = 0,
    kPassCommitAndBuild = 1,
    kPassBuild = 2,
};

// Criterion codes of the active-criteria number.
enum : int32_t {
    kCriterionFindAll = 1,
    kCriterionSearchAll = 2,
    kCriterionQuery = 3,
};

class CDBDocument : public DbDocument, public FilteredEditOwner {
public:
    CDBDocument();
    ~CDBDocument() override;

    // A new database at the chosen path, or the database of path. False
    // after telling the user; the document is then not opened.
    bool OnNewDocument(const PathRecord& path);
    bool OnOpenDocument(const PathRecord& path);
    // 1 new, 2 opened with a new index, 3 opened with its index; 0 before.
    int32_t OpenMode() const { return openMode_; }
    // Copies the database into path and goes on with the copy; the old
    // file stays as it was. False (the document still on its old file)
    // when the copy failed, after telling the user.
    bool SaveAs(const PathRecord& path);
    // Whether the window's path still names the file it opened. When
    // another program moved that file away or put another in its place,
    // nothing more may be written through the path: the user is told, and
    // offered to save the window's copy under another name. Asked before
    // every write.
    bool StillHoldsItsFile();
    // Another program has written the file since the window read it: the
    // user is told, offered to save the record being edited in a new
    // database, and the window then shows what the file holds now.
    void TakeFileChangedElsewhere();
    // A new database at path holding the form's record, with this
    // database's settings and field names. False after telling the user.
    bool SaveEditedRecordAs(const PathRecord& path);
    // After the list met a record it could not read: an index that does
    // not belong to the records is built anew from them; records that are
    // damaged close the window, to be repaired at the next open. Either is
    // said.
    void AfterDamageFound();

    // ---- the views ----
    void SetBrowser(CViewBrowser* browser) { browser_ = browser; }
    CViewBrowser* Browser() const { return browser_; }
    void SetFieldEdit(int32_t column, QLineEdit* edit);
    QLineEdit* FieldEdit(int32_t column) const;
    void SetCustomLabel(int32_t index, QLabel* label);
    void SetBrowserReady() { browserReady_ = true; }
    void SetDataEntryReady() { dataEntryReady_ = true; }
    // Once both views are ready: fills them and makes this the current
    // database.
    void RefreshAfterViewsReady();
    bool ViewsReady() const { return browserReady_ && dataEntryReady_; }

    // ---- the form ----
    QLineEdit* FocusedFieldEdit() const;
    // The first edit of the entry order; with followFocus the focused one
    // when it takes part in the order.
    QLineEdit* FirstFieldEdit(bool followFocus) const;
    // The column of the edit; -1 when it is none of the 21.
    int32_t ColumnOfEdit(const QLineEdit* edit) const;
    uint16_t LoadRecordIntoEdits();
    void ClearEdits();
    void StoreEditsIntoRecord();
    void FillRecordWithDefaults();
    void RefreshCustomFieldLabels();
    bool EditsDirty() const { return edited_.any(); }
    // Forgets what was typed since the record was loaded.
    void DropEdits();
    // A field edit was changed by the user.
    void FieldEdited(int32_t column);

    // What the field edits ask of their document: their changes by control
    // id, whether their checks may speak, and the Verification setting.
    void FieldChanged(int32_t controlId) override;
    bool RefreshAllowed() const override { return refreshAllowed_; }
    bool IsDomestic() const override;
    // Tab in a field: completes fast fill, then moves along the entry order.
    void TabFrom(int32_t column, bool shift);
    // The record keys of the form (Enter, Page Up/Down, End, Home, Up,
    // Down; with Ctrl 91/123 and 93/125).
    void RecordKey(int32_t key, bool shift);

    // ---- records ----
    bool CommitRecord(bool refresh);
    void NewRecord();
    void DuplicateRecord();
    void ClearAllFields();
    bool DeleteRecord(bool confirm, bool keepUndo);
    void GoToRecord(int32_t step);
    // The user picked a row in the browser list.
    void SelectRow(int32_t row);
    void OnEditUndo();
    // "Undo ...", "Redo ...", "Can't Undo" or "Undo Text".
    std::string UndoMenuText() const;
    bool CanUndo() const;
    const DbUndoRecord& Undo() const { return undo_; }
    int32_t PendingPosition() const { return pendingPosition_; }
    // The list's selected row and row count (the engine's when there is no
    // list).
    int32_t CurrentRow() const;
    int32_t ListRows() const;

    // ---- choosing and ordering records ----
    void RebuildSelection(int32_t pass);
    // Mode 0 the sort dialog, 1 one field from the tool bar, 2 bulk-mail.
    // 1 when cancelled or refused.
    int16_t SortRecords(int32_t mode, int32_t field);
    int32_t SortRecords(int32_t mode) override { return SortRecords(mode, -1); }
    // The sort the dialog chose: three field ids, descending.
    void ApplySort(const SortSpec& order);
    // The bulk-mail class chosen (1 First Class, 2 Standard (A)); 1 when
    // refused for too few records.
    int16_t ApplyBulkMail(uint8_t mode);
    // direction 0 from the first record, 1 next, 2 previous.
    void FindOne(int32_t direction);
    void SearchAllFields(int32_t direction);
    void ApplyFindAll();
    void ApplySearchAll(const std::string& text);
    void ApplyQuery();
    void ShowAllRecords();
    void KeyLookup(const std::string& text);
    // The tool bar's find combo: entry, or -1 with the typed text.
    void SearchOption(int32_t index, const std::string& text);
    void DeleteAllDuplicates();
    void SetBrowseColumn(int32_t column);
    void AddCriterion(int32_t code);
    bool HasCriterion(int32_t code) const;
    int32_t MostRecentCriterion() const;
    // The sort and find combo entries the tool bar should show.
    int32_t SortComboIndex() const;
    int32_t FindComboIndex() const;
    void UpdateSortToolBar();

    // ---- per-document settings ----
    void ApplyPreferences(const uint8_t* block);
    // The header image the options sheet returned.
    void ApplyDataEntryOptions(const uint8_t* header);
    void ApplyCustomFieldNames(const uint8_t names[6][32]);

    // ---- the File menu's exchange with other files ----
    void OnFileImportDatabase();
    void OnFileExportDatabase();
    void OnFileExportReport();
    void OnFileMergeDatabase();
    void OnFileSplitDatabase();
    // The Quick Database Report on the printer; the bulk-mail print runs
    // the bulk-mail sort first and prints only when it was applied.
    void OnFilePrintReport();
    void OnFilePrintBulkMail();

    // ---- commands ----
    bool OnCommand(uint32_t id);
    bool OnUpdateCommand(CmdUI& ui);

    // ---- what the shell provides ----
    // The tool bar shows the entries; the main frame's field menus and
    // combos follow the names; the database bar shows.
    virtual void ShellSetToolBar(int32_t /*sortIndex*/, int32_t /*findIndex*/) {}
    virtual void ShellFieldNamesChanged() {}
    virtual void ShellShowDatabaseToolBar() {}
    // File > Save As, as the window's menu runs it.
    virtual void ShellSaveAs() {}
    // The form shows another record (or none): what the current record
    // feeds elsewhere follows it.
    virtual void ShellShownRecordChanged() {}
    // Closes the window, once the event that asks it has ended.
    virtual void ShellCloseWindow() {}
    // Asks where to save a new database; empty when the user cancelled.
    virtual bool ShellChooseNewDatabase(const char* /*title*/, PathRecord* /*path*/) { return false; }

    // DbDocument hooks.
    void CommitEdits() override { CommitRecord(false); }
    void RecordsAppended(int32_t count) override;
    int32_t RowCount() const override { return ListRows(); }
    bool GotoRow(int32_t row) override;

    // The status line texts: position + 1, live count, stored - deleted.
    void RefreshStatus(bool markNew = false);

private:
    // Find One and Search All Fields: the form's values sought in their
    // fields or in any field (kFindValues, kFindAllFields).
    void FindByValues(int32_t direction, int32_t kind);
    // What a new or opened database starts with: openMode_ from mode (1 new,
    // 3 opened), typing from the first field, the database bar shown.
    void Opened(int32_t mode);
    // The Report dialog over the header's report order; false when there
    // is nothing to report or the user cancelled. OK stores the order.
    bool AskReport(ReportOptions* options);
    void StoreUndo(uint32_t code, uint16_t kind, int32_t offset, std::unique_ptr<CardRecord> image = nullptr);
    void ClearUndo() { StoreUndo(0, 0, -1); }
    void RefreshRows(bool ensureVisible);
    void Reload(bool focus);
    void FocusFirstField(bool followFocus);
    void ClearTyped();
    void MarkPendingIfNew();
    void WriteCombinedTexts();
    void FastFillLookup();
    void UndoDelete(bool redo);
    void RunFindDialogResult(bool found);
    bool FastFillColumn(int32_t column) const { return typingOrder_[column] > 0; }

    DbUndoRecord undo_;
    TypedEntries typed_;
    int16_t typingOrder_[kEntryColumnCount] = {};
    int32_t pendingPosition_ = -1;
    int32_t pendingFlag_ = 0;
    int32_t fastFillMatch_ = -1;
    CViewBrowser* browser_ = nullptr;
    // The columns whose edits the user changed since the record was
    // loaded: only they are stored, so that a field nobody touched keeps
    // its stored text even where its edit shows it otherwise.
    std::bitset<kEntryColumnCount> edited_;
    bool loadingEdits_ = false;
    bool notOpened_ = true;
    bool refreshAllowed_ = true;
    // Save As writes the form into the file it copies even when the path
    // names another file now: that copy is the window's.
    bool savingCopy_ = false;
    QLineEdit* edits_[kEntryColumnCount] = {};
    QLabel* customLabels_[6] = {};
    bool dataEntryReady_ = false;
    bool browserReady_ = false;
    bool refreshed_ = false;
    int32_t openMode_ = 0;
};

// The document of the database that is current, or null.
CDBDocument* CurrentDbDocument();
