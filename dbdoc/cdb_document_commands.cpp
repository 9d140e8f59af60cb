// CDBDocument: the commands of the database menus and bars, the rules that
// enable them, the dialogs they open, and Save As.

#include <cstring>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

#include "database/database_header.h"
#include "database/database_messages.h"
#include "database/db_file_io.h"
#include "database/open_database_registry.h"
#include "database/progress_window.h"
#include "database/record_file_format.h"
#include "database/same_file.h"
#include "dbdoc/cdb_document.h"
#include "dbdoc/data_entry_sheet.h"
#include "dbdoc/db_dialogs.h"
#include "dbdoc/field_edits.h"
#include "dbdoc/view_browser.h"
#include "foundation/alert_sink.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/whole_file_writer.h"
#include "foundation/win_error.h"
#include "records/command_ids.h"

namespace {

// The working message of a copy.
constexpr int32_t kStringCopying = 258;
constexpr uint32_t kCopyBuffer = 50 * 1024;

QWidget* DialogParent() { return QApplication::activeWindow(); }

// The whole record file into target, which it replaces only once the copy
// is whole: until then a file under that name stays as it was. A target
// that is a link is written through, and the link stays.
int32_t CopyRecordFile(FileHandle source, const PathRecord& target, DbWorkingWindow& working)
{
    WholeFileWriter copy(target);
    if (const int32_t err = copy.Open(); err != kErrNone)
        return err;
    std::vector<uint8_t> buffer(kCopyBuffer);
    uint32_t offset = 0;
    int32_t err = kErrNone;
    for (;;) {
        uint32_t got = 0;
        err = DbReadSomeAt(source, offset, buffer.data(), kCopyBuffer, &got);
        if (got > 0) {
            const int32_t written = DbWriteAt(copy.File(), offset, buffer.data(), got);
            if (written != kErrNone) {
                err = written;
                break;
            }
            offset += got;
            working.SetPos(int32_t(offset / 1024));
        }
        if (err != kErrNone || got < kCopyBuffer)
            break;
    }
    if (err == kErrHandleEof)
        err = kErrNone;
    if (err == kErrNone)
        err = DbSync(copy.File());
    return err == kErrNone ? copy.Commit() : err;
}

}  // namespace

int32_t CDBDocument::FindComboIndex() const
{
    if (CDlgFindOne::Open())
        return 0;
    const int32_t recent = MostRecentCriterion();
    return recent == 0 ? 4 : recent;
}

int16_t CDBDocument::SortRecords(int32_t mode, int32_t field)
{
    if (!IsOpen())
        return 1;
    CommitRecord(false);
    switch (mode) {
    case 0: {
        CDlgSortCriteria dialog(DialogParent());
        dialog.SetData(LoadSortSpec(Header() + dbh::kSortSpec));
        if (dialog.exec() != QDialog::Accepted)
            return 1;
        SortSpec order;
        dialog.GetData(&order);
        ApplySort(order);
        return 0;
    }
    case 1: {
        SortSpec order = LoadSortSpec(Header() + dbh::kSortSpec);
        order.bulkMail = 0;
        order.fields[0] = field < 0 ? dbsort::kNone : uint16_t(field);
        order.fields[1] = order.fields[2] = dbsort::kNone;
        StoreSortSpec(order, Header() + dbh::kSortSpec);
        Data().SetSortSpec(order);
        RebuildSelection(kPassBuild);
        UpdateSortToolBar();
        return 0;
    }
    case 2: {
        CDlgBulkMailSort dialog(DialogParent());
        dialog.SetMode(Data().GetSortSpec().bulkMail);
        if (dialog.exec() != QDialog::Accepted || dialog.GetMode() == 0) {
            UpdateSortToolBar();
            return 1;
        }
        return ApplyBulkMail(uint8_t(dialog.GetMode()));
    }
    default: return 1;
    }
}

void CDBDocument::SearchOption(int32_t index, const std::string& text)
{
    switch (index) {
    case -1:
        if (!text.empty())
            KeyLookup(text.substr(0, 63));
        break;
    case 0: OnCommand(kCmdFindOne); break;
    case 1: OnCommand(kCmdFindAll); break;
    case 2: OnCommand(kCmdSearchAllFields); break;
    case 3: OnCommand(kCmdQuery); break;
    case 4: OnCommand(kCmdShowAllRecords); break;
    default: break;
    }
    UpdateSortToolBar();
}

void CDBDocument::ApplyPreferences(const uint8_t* block)
{
    std::memcpy(Header() + dbh::kPreferences, block, dbh::kPreferencesSize);
}

void CDBDocument::ApplyDataEntryOptions(const uint8_t* header)
{
    std::memcpy(Header(), header, kDbHeaderSize);
    Data().RestoreUndoState(true);
    LoadRecordIntoEdits();
    const SortSpec chosen = LoadSortSpec(Header() + dbh::kSortSpec);
    if (!(chosen == Data().GetSortSpec())) {
        Data().SetSortSpec(chosen);
        RebuildSelection(kPassCommitAndBuild);
    } else if (GetU16LE(Header() + dbh::kBrowseFieldId) == 0 && browser_) {
        browser_->RedrawList();
    }
    FocusFirstField(false);
}

void CDBDocument::ApplyCustomFieldNames(const uint8_t names[6][32])
{
    for (int32_t i = 0; i < 6; ++i) {
        uint8_t* slot = Header() + dbh::kCustomNames + 32 * uint32_t(i);
        std::memcpy(slot, names[i], 32);
        slot[31] = 0;
    }
    RefreshCustomFieldLabels();
    ShellFieldNamesChanged();
    UpdateSortToolBar();
}

bool CDBDocument::SaveAs(const PathRecord& chosen)
{
    if (!IsOpen())
        return false;
    char name[kPathTextSize] = {};
    PathRecordGetFileName(&chosen, name, sizeof name);
    // A copy saved under a link goes to the file the link names, and the
    // database goes on there: its index and journal lie beside its records.
    PathRecord target{};
    if (const int32_t err = FileWriteLanding(&chosen, &target); err != kErrNone) {
        AlertFileErrorAbout(name, err);
        return false;
    }
    if (const int32_t err = CheckDirectoryWritable(&target, 0); err != kErrNone) {
        AlertFileErrorAbout(name, err);
        return false;
    }
    if (IsOpenDatabaseFile(target)) {
        DatabaseErrorBox(nullptr, 11);
        return false;
    }
    // What the file holds now is another program's, not this window's.
    if (!ReadOnly() && Data().ChangedElsewhere()) {
        TakeFileChangedElsewhere();
        return false;
    }
    savingCopy_ = true;
    CommitRecord(false);
    savingCopy_ = false;
    DataFile& data = Data();
    // A database opened only to be read is copied as its file holds it:
    // nothing of this session has changed its records or counters.
    const bool readOnly = ReadOnly();
    int32_t err = kErrNone;
    {
        DbWorkingWindow working(WorkingMessage(kStringCopying), data.GetLiveCount());
        // The copy must hold every committed record and counters that match
        // them.
        data.FlushRecordCache();
        if (!readOnly) {
            data.ExchangeHeaderCounts(false, Header());
            err = data.StoreHeader(Header());
            if (err == kErrNone)
                err = DbSync(data.Handle());
        }
        if (err == kErrNone)
            err = CopyRecordFile(data.Handle(), target, working);
    }
    // The counters were only lent to the header for the copy.
    if (!readOnly)
        data.ExchangeHeaderCounts(true, Header());
    if (err != kErrNone) {
        AlertFileErrorAbout(name, err);
        return false;
    }
    const PathRecord old = Path();
    Close();
    if (!Open(target)) {
        // The copy would not open: the document goes on with its own file.
        if (!Open(old, readOnly))
            return false;
        RebuildSelection(kPassNone);
        return false;
    }
    RebuildSelection(kPassNone);
    SetCurrentDatabase(this);
    return true;
}

bool CDBDocument::StillHoldsItsFile()
{
    if (ReadOnly())
        return true;
    if (Data().ChangedElsewhere()) {
        TakeFileChangedElsewhere();
        return false;
    }
    if (savingCopy_ || PathNamesOpenFile(Path(), Data().Handle()))
        return true;
    char name[kPathTextSize] = {};
    PathRecordGetFileName(&Path(), name, sizeof name);
    const std::string text = std::string(name) +
                             " is no longer the file this window opened: another program has moved it or put "
                             "another file in its place. Nothing was written to it.\n\nSave this window's copy "
                             "of the database under another name?";
    if (AlertConfirm(text.c_str(), 0) == 1)
        ShellSaveAs();
    return false;
}

namespace {

// The commands that write the record file at once.
bool WritesRecords(uint32_t id)
{
    switch (id) {
    case kCmdNewRecord:
    case kCmdAddNewRecord:
    case kCmdDuplicateRecord:
    case kCmdDeleteRecord:
    case kCmdDeleteCurrentRecord:
    case kCmdDeleteDuplicates:
    case kCmdImportDatabase:
    case kCmdMergeDatabase: return true;
    default: return false;
    }
}

// The commands that change the records or what the database keeps of its
// settings: none of them runs on a database opened only to be read.
bool ChangesDatabase(uint32_t id)
{
    if (WritesRecords(id))
        return true;
    switch (id) {
    case kCmdClearAllFields:
    case kCmdEditUndo:
    case kCmdEditCut:
    case kCmdEditPaste:
    case kCmdEditClear:
    case kCmdImportGraphics:
    case kCmdPreferences:
    case kCmdDataEntryOptions:
    case kCmdCreateCustomFields: return true;
    default: return false;
    }
}

}  // namespace

bool CDBDocument::OnCommand(uint32_t id)
{
    if (!IsOpen())
        return false;
    if (ReadOnly() && ChangesDatabase(id)) {
        MessageBeep(0);
        return true;
    }
    if ((WritesRecords(id) || id == kCmdEditUndo) && !StillHoldsItsFile())
        return true;
    QLineEdit* focused = FocusedFieldEdit();
    if (id >= kCmdBrowseFieldFirst && id <= kCmdBrowseFieldLast) {
        SetBrowseColumn(int32_t(id - kCmdBrowseFieldFirst));
        return true;
    }
    switch (id) {
    case kCmdUpdateRecord: CommitRecord(true); return true;
    case kCmdNewRecord:
    case kCmdAddNewRecord: NewRecord(); return true;
    case kCmdDeleteRecord:
    case kCmdDeleteCurrentRecord: DeleteRecord(true, true); return true;
    case kCmdDuplicateRecord: DuplicateRecord(); return true;
    case kCmdClearAllFields: ClearAllFields(); return true;
    case kCmdDeleteDuplicates: DeleteAllDuplicates(); return true;
    case kCmdShowAllRecords: ShowAllRecords(); return true;
    case kCmdFirstRecord: GoToRecord(kGoFirst); return true;
    case kCmdPreviousRecord: GoToRecord(kGoPrevious); return true;
    case kCmdNextRecord: GoToRecord(kGoNext); return true;
    case kCmdLastRecord: GoToRecord(kGoLast); return true;
    case kCmdEditUndo: OnEditUndo(); return true;
    case kCmdEditCut:
        if (focused)
            focused->cut();
        return true;
    case kCmdEditCopy:
        if (focused)
            focused->copy();
        return true;
    case kCmdEditClear:
        if (focused)
            focused->del();
        return true;
    case kCmdEditPaste:
        // The menu's paste keeps to the field's character rules like Ctrl+V.
        if (auto* filtered = qobject_cast<CFilteredEdit*>(focused))
            filtered->Paste();
        else if (focused)
            focused->paste();
        return true;
    case kCmdImportGraphics:
        if (auto* picture = qobject_cast<CPictureEdit*>(focused))
            picture->ImportGraphics();
        return true;
    case kCmdEditSelectAll:
        if (focused)
            focused->selectAll();
        return true;
    case kCmdSort: SortRecords(0, -1); return true;
    case kCmdPrintDatabaseBulkMail: OnFilePrintBulkMail(); return true;
    case kCmdImportDatabase: OnFileImportDatabase(); return true;
    case kCmdExportDatabase: OnFileExportDatabase(); return true;
    case kCmdMergeDatabase: OnFileMergeDatabase(); return true;
    case kCmdSplitDatabase: OnFileSplitDatabase(); return true;
    case kCmdExportReport: OnFileExportReport(); return true;
    case kCmdQuickReport: OnFilePrintReport(); return true;
    case kCmdFindOne: CDlgFindOne::ShowModeless(DialogParent()); return true;
    case kCmdFindAll: {
        CDlgFindOne dialog(CDlgFindOne::kFindAll, DialogParent());
        dialog.SetFields40(Header() + dbh::kSelectionValues, Header() + dbh::kCustomNames,
                           Header()[dbh::kVerification]);
        if (dialog.exec() == QDialog::Accepted) {
            dialog.GetFields40(Header() + dbh::kSelectionValues);
            ApplyFindAll();
        }
        UpdateSortToolBar();
        return true;
    }
    case kCmdSearchAllFields: CDlgSearchAllFields::ShowModeless(DialogParent()); return true;
    case kCmdQuery: {
        CDlgQuery dialog(DialogParent());
        dialog.SetData(Header() + kQueryBlockOffset);
        if (dialog.exec() == QDialog::Accepted) {
            dialog.GetData(Header() + kQueryBlockOffset);
            ApplyQuery();
        }
        UpdateSortToolBar();
        return true;
    }
    case kCmdPreferences: {
        CDlgDBPreferences dialog(DialogParent());
        dialog.SetData(Header() + dbh::kPreferences);
        if (dialog.exec() == QDialog::Accepted) {
            uint8_t block[dbh::kPreferencesSize];
            dialog.GetData(block);
            ApplyPreferences(block);
        }
        return true;
    }
    case kCmdDataEntryOptions: {
        CommitRecord(false);
        CPSDataEntry sheet(DialogParent());
        sheet.SetData(Header());
        if (sheet.exec() == QDialog::Accepted) {
            std::vector<uint8_t> header(kDbHeaderSize);
            sheet.GetData(header.data());
            ApplyDataEntryOptions(header.data());
        } else {
            StoreSortSpec(Data().GetSortSpec(), Header() + dbh::kSortSpec);
        }
        return true;
    }
    case kCmdCreateCustomFields: {
        CDlgNameCustomFields dialog(DialogParent());
        dialog.SetNames(Header() + dbh::kCustomNames);
        if (dialog.exec() == QDialog::Accepted) {
            uint8_t names[6][32] = {};
            dialog.GetNames(&names[0][0]);
            ApplyCustomFieldNames(names);
        }
        return true;
    }
    case kCmdDefaultCardInfo: {
        CDlgFindOne dialog(CDlgFindOne::kDefaultCardInfo, DialogParent());
        char values[kEntryColumnCount][256] = {};
        for (int32_t column = 0; column < kEntryColumnCount; ++column)
            if (const char* text = FieldPreviewText(FieldIdByIndex(column)))
                std::strncpy(values[column], text, 255);
        dialog.SetFields(values, Header() + dbh::kCustomNames, Header()[dbh::kVerification]);
        if (dialog.exec() == QDialog::Accepted) {
            dialog.GetFields(values);
            for (int32_t column = 0; column < kEntryColumnCount; ++column)
                SetFieldPreviewText(FieldIdByIndex(column), values[column]);
        }
        return true;
    }
    case kCmdFileSave:
    case kCmdFilePrint:
    case kCmdNoop1:
    case kCmdNoop2: return true;
    default: return false;
    }
}

bool CDBDocument::OnUpdateCommand(CmdUI& ui)
{
    if (!IsOpen())
        return false;
    const bool bulk = InBulkMailMode();
    const DataFile& data = Data();
    const bool canAdd = !bulk && data.GetStoredCount() - data.GetDeletedCount() < kMaxLiveRecords;
    const bool canDelete = data.GetLiveCount() > 0 && !bulk;
    const int32_t row = CurrentRow();
    const int32_t rows = ListRows();
    const QLineEdit* focused = FocusedFieldEdit();
    if (ui.id >= kCmdBrowseFieldFirst && ui.id <= kCmdBrowseFieldLast) {
        ui.SetCheck(int32_t(ui.id - kCmdBrowseFieldFirst) == GetU16LE(Header() + dbh::kBrowseColumn));
        return true;
    }
    if (ReadOnly() && ChangesDatabase(ui.id)) {
        if (ui.id == kCmdEditUndo)
            ui.SetText(UndoMenuText());
        ui.Enable(false);
        return true;
    }
    switch (ui.id) {
    case kCmdUpdateRecord: return true;
    case kCmdNewRecord:
    case kCmdAddNewRecord:
    case kCmdDuplicateRecord: ui.Enable(canAdd); return true;
    case kCmdDeleteRecord:
    case kCmdDeleteCurrentRecord:
    case kCmdDeleteDuplicates: ui.Enable(canDelete); return true;
    case kCmdClearAllFields:
    case kCmdImportDatabase:
    case kCmdMergeDatabase: ui.Enable(!bulk); return true;
    case kCmdShowAllRecords: ui.SetCheck(MostRecentCriterion() == 0); return true;
    case kCmdFindAll: ui.SetCheck(HasCriterion(kCriterionFindAll)); return true;
    case kCmdSearchAllFields: ui.SetCheck(HasCriterion(kCriterionSearchAll)); return true;
    case kCmdQuery: ui.SetCheck(HasCriterion(kCriterionQuery)); return true;
    case kCmdFirstRecord:
    case kCmdPreviousRecord: ui.Enable(row > 0); return true;
    case kCmdNextRecord:
    case kCmdLastRecord: ui.Enable(rows - row - 1 > 0); return true;
    case kCmdEditUndo:
        ui.SetText(UndoMenuText());
        ui.Enable(CanUndo());
        return true;
    case kCmdEditCut:
    case kCmdEditCopy:
    case kCmdEditClear: ui.Enable(focused && focused->hasSelectedText()); return true;
    case kCmdEditPaste:
        ui.Enable(focused && !QApplication::clipboard()->text().isEmpty());
        return true;
    case kCmdEditSelectAll: ui.Enable(focused && !focused->text().isEmpty()); return true;
    case kCmdImportGraphics: ui.Enable(qobject_cast<const CPictureEdit*>(focused) != nullptr); return true;
    case kCmdFileSave: ui.Enable(false); return true;
    case kCmdFilePrint:
    case kCmdNoop1:
    case kCmdNoop2: ui.Enable(false); return true;
    case kCmdSort:
    case kCmdFindOne:
    case kCmdPrintDatabaseBulkMail:
    case kCmdExportDatabase:
    case kCmdSplitDatabase:
    case kCmdExportReport:
    case kCmdQuickReport:
    case kCmdPreferences:
    case kCmdDataEntryOptions:
    case kCmdCreateCustomFields:
    case kCmdDefaultCardInfo: return true;
    default: return false;
    }
}
