#include "dbdoc/cdb_document.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include "database/database_header.h"
#include "database/database_messages.h"
#include "database/db_host.h"
#include "database/open_database_registry.h"
#include "database/record_file_format.h"
#include "dbdoc/field_form.h"
#include "dbdoc/view_browser.h"
#include "foundation/alert_sink.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "foundation/string_table.h"
#include "foundation/win_error.h"

namespace {

// The menu texts of the undo record: string 356 + kind.
constexpr int32_t kUndoTextBase = 356;
constexpr size_t kTypedTextSize = 64;

class WaitCursor {
public:
    WaitCursor() { CurrentDbHost().WaitCursor(true); }
    ~WaitCursor() { CurrentDbHost().WaitCursor(false); }
};

std::string EditText(const QLineEdit* edit) { return QStringToCp1252(edit->text()); }

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

CDBDocument* CurrentDbDocument() { return dynamic_cast<CDBDocument*>(GetCurrentDatabaseDoc()); }

CDBDocument::CDBDocument()
{
    typingOrder_[0] = 1;
}

CDBDocument::~CDBDocument()
{
    // The views go before the document; what they still point at is gone.
    browser_ = nullptr;
    std::fill(std::begin(edits_), std::end(edits_), nullptr);
    std::fill(std::begin(customLabels_), std::end(customLabels_), nullptr);
    Close();
}

// ---- opening ----

bool CDBDocument::OnNewDocument(const PathRecord& path)
{
    if (!New(path))
        return false;
    Opened(1);
    return true;
}

bool CDBDocument::OnOpenDocument(const PathRecord& path)
{
    // A database the user may only read opens to be browsed, searched,
    // sorted, printed and exported, as a read-only card does; what would
    // change it is greyed, and nothing is written to or beside it.
    const bool mayChange = MayChangeDatabase(path);
    if (!Open(path, !mayChange)) {
        // On a full disk the index beside the database has no room (the
        // disk's box has said so): the database still opens, to be read,
        // with its index among the temporary files.
        if (!mayChange || Data().Index().FileError() != kErrDiskFull || !Open(path, true))
            return false;
    }
    Opened(3);
    return true;
}

void CDBDocument::Opened(int32_t mode)
{
    notOpened_ = false;
    edited_.reset();
    openMode_ = mode;
    std::fill(std::begin(typingOrder_), std::end(typingOrder_), 0);
    typingOrder_[0] = 1;
    ShellShowDatabaseToolBar();
}

void CDBDocument::RefreshAfterViewsReady()
{
    if (!ViewsReady() || refreshed_ || !IsOpen())
        return;
    refreshed_ = true;
    edited_.reset();
    if (openMode_ == 1) {
        RefreshCustomFieldLabels();
        if (browser_)
            browser_->SetRowCount(Data().GetLiveCount());
        // A new database holds no record until the user enters one: the
        // form shows the default card, and the first commit adds it. A
        // blank record made now would be dropped at the next open, and the
        // count would differ from one opening to the next.
        FillRecordWithDefaults();
        Data().SaveUndoState();
        LoadRecordIntoEdits();
        RefreshStatus();
        FocusFirstField(false);
    } else {
        refreshAllowed_ = false;
        RebuildSelection(kPassNone);
        RefreshCustomFieldLabels();
        const int32_t saved = GetU16LE(Header() + dbh::kPrefLastPosition);
        const int32_t rows = ListRows();
        if (rows > 0)
            GotoRow(std::min(saved, rows - 1));
        FocusFirstField(false);
        refreshAllowed_ = true;
    }
    UpdateSortToolBar();
    SetCurrentDatabase(this);
}

// ---- the form ----

void CDBDocument::SetFieldEdit(int32_t column, QLineEdit* edit)
{
    if (column >= 0 && column < kEntryColumnCount)
        edits_[column] = edit;
    if (edit && ReadOnly())
        edit->setReadOnly(true);
}

QLineEdit* CDBDocument::FieldEdit(int32_t column) const
{
    return column >= 0 && column < kEntryColumnCount ? edits_[column] : nullptr;
}

void CDBDocument::SetCustomLabel(int32_t index, QLabel* label)
{
    if (index >= 0 && index < 6)
        customLabels_[index] = label;
}

int32_t CDBDocument::ColumnOfEdit(const QLineEdit* edit) const
{
    if (!edit)
        return -1;
    for (int32_t column = 0; column < kEntryColumnCount; ++column)
        if (edits_[column] == edit)
            return column;
    return -1;
}

QLineEdit* CDBDocument::FocusedFieldEdit() const
{
    for (QLineEdit* edit : edits_)
        if (edit && edit->hasFocus())
            return edit;
    return nullptr;
}

QLineEdit* CDBDocument::FirstFieldEdit(bool followFocus) const
{
    QLineEdit* first = nullptr;
    QLineEdit* focused = followFocus ? FocusedFieldEdit() : nullptr;
    for (uint32_t k = 0; k < dbh::kColumnCount; ++k) {
        const int16_t entry = int16_t(GetU16LE(Header() + dbh::kEntryOrder + 2 * k));
        if (entry <= 0 || entry > kEntryColumnCount)
            continue;
        QLineEdit* edit = edits_[entry - 1];
        if (!edit)
            continue;
        if (!first)
            first = edit;
        if (focused == edit)
            return edit;
    }
    return first;
}

void CDBDocument::FocusFirstField(bool followFocus)
{
    if (QLineEdit* edit = FirstFieldEdit(followFocus))
        edit->setFocus(Qt::OtherFocusReason);
}

uint16_t CDBDocument::LoadRecordIntoEdits()
{
    const CardRecord& record = Data().Current();
    loadingEdits_ = true;
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        if (!edits_[column])
            continue;
        char text[256] = {};
        record.GetFieldText(FieldIdByIndex(column), text);
        edits_[column]->setText(Cp1252ToQString(text));
        edits_[column]->setCursorPosition(0);
    }
    ClearTyped();
    edited_.reset();
    loadingEdits_ = false;
    ShellShownRecordChanged();
    return record.GetCategories();
}

void CDBDocument::ClearEdits()
{
    loadingEdits_ = true;
    for (QLineEdit* edit : edits_)
        if (edit)
            edit->clear();
    FocusFirstField(false);
    edited_.reset();
    loadingEdits_ = false;
    ShellShownRecordChanged();
}

void CDBDocument::StoreEditsIntoRecord()
{
    if (edited_.none())
        return;
    CardRecord& record = Data().Current();
    for (int32_t column = 0; column < kEntryColumnCount; ++column)
        if (edits_[column] && edited_.test(size_t(column)))
            record.SetFieldText(FieldIdByIndex(column), EditText(edits_[column]).c_str());
}

void CDBDocument::FillRecordWithDefaults()
{
    CardRecord& record = Data().Current();
    record.Clear();
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        char text[dbh::kDefaultValueSize] = {};
        HeaderText(Header(), dbh::kDefaultValues + uint32_t(column) * dbh::kDefaultValueSize,
                   dbh::kDefaultValueSize, text);
        record.SetFieldText(FieldIdByIndex(column), text);
    }
    record.SetModified(false);
    record.SetGrown(false);
}

void CDBDocument::RefreshCustomFieldLabels()
{
    SetCustomFieldNames(Header() + dbh::kCustomNames);
    for (int32_t i = 0; i < 6; ++i)
        if (customLabels_[i])
            SetCustomLabelText(customLabels_[i], i);
    if (GetU16LE(Header() + dbh::kBrowseColumn) >= dbh::kColumnCount) {
        PutU16LE(Header() + dbh::kBrowseColumn, uint16_t(FieldIndexOfId(kFieldLastName, 0)));
        PutU16LE(Header() + dbh::kBrowseFieldId, kFieldLastName);
    }
}

void CDBDocument::DropEdits()
{
    if (edited_.none())
        return;
    Data().RestoreUndoState(true);
    LoadRecordIntoEdits();
}

void CDBDocument::ClearTyped()
{
    typed_ = TypedEntries{};
}

void CDBDocument::MarkPendingIfNew()
{
    if (!Data().IsCurrentRecordNew())
        return;
    ClearTyped();
    pendingPosition_ = Data().CurrentPosition();
    FocusFirstField(false);
}

// ---- status and list ----

int32_t CDBDocument::CurrentRow() const
{
    if (browser_)
        return browser_->CurrentRow();
    return IsOpen() ? Data().CurrentPosition() : -1;
}

int32_t CDBDocument::ListRows() const
{
    if (browser_)
        return browser_->RowCount();
    return IsOpen() ? Data().GetLiveCount() : 0;
}

void CDBDocument::RefreshStatus(bool)
{
    if (!browser_ || !IsOpen())
        return;
    const DataFile& data = Data();
    const int32_t position = data.CurrentOffset() >= 0 ? data.CurrentPosition() : -1;
    browser_->SetStatus(std::to_string(position + 1), std::to_string(data.GetLiveCount()),
                        std::to_string(data.GetStoredCount() - data.GetDeletedCount()), false);
}

void CDBDocument::RefreshRows(bool ensureVisible)
{
    if (!browser_)
        return;
    const int32_t position = Data().CurrentOffset() >= 0 ? Data().CurrentPosition() : CurrentRow();
    browser_->SelectRow(position);
    if (ensureVisible)
        browser_->EnsureVisible(position);
}

void CDBDocument::Reload(bool focus)
{
    LoadRecordIntoEdits();
    RefreshStatus();
    if (focus)
        FocusFirstField(false);
}

void CDBDocument::RecordsAppended(int32_t)
{
    if (browser_)
        browser_->SetRowCount(Data().GetLiveCount());
    if (Data().CurrentOffset() >= 0)
        Data().SaveUndoState();
    RefreshRows(false);
    Reload(false);
}

bool CDBDocument::GotoRow(int32_t row)
{
    if (!IsOpen() || row < 0 || row >= ListRows())
        return false;
    if (Data().GotoRecord(row, true, true) < 0)
        return false;
    LoadRecordIntoEdits();
    RefreshRows(true);
    RefreshStatus();
    return true;
}

// ---- records ----

void CDBDocument::StoreUndo(uint32_t code, uint16_t kind, int32_t offset, std::unique_ptr<CardRecord> image)
{
    undo_ = DbUndoRecord{};
    undo_.code = code;
    undo_.kind = kind;
    undo_.offset = offset;
    undo_.image = std::move(image);
}

bool CDBDocument::CommitRecord(bool refresh)
{
    if (!IsOpen())
        return false;
    const bool fastFind = GetU32LE(Header() + dbh::kFastFind) != 0;
    const bool changed = pendingPosition_ >= 0 && (fastFind || pendingFlag_ != 0);
    pendingPosition_ = -1;
    pendingFlag_ = 0;
    if (edited_.none()) {
        if (changed)
            Reload(false);
        return false;
    }
    if (ReadOnly()) {
        edited_.reset();
        return false;
    }
    if (InBulkMailMode()) {
        DatabaseErrorBox(nullptr, 31);
        edited_.reset();
        return false;
    }
    // What was typed stays in the form, to be saved elsewhere.
    if (!StillHoldsItsFile())
        return false;
    WaitCursor wait;
    // The edits go over the record as it was read, so that what the form
    // does not show (date, salutation, categories) stays as it was.
    Data().RestoreUndoState(true);
    if (changed)
        WriteCombinedTexts();
    StoreEditsIntoRecord();
    int32_t result = Data().UpdateRecord(true, true);
    if (result < 0) {
        // The engine said why; what was typed stays in the form, so that
        // nothing is lost and the user can try again.
        RefreshStatus();
        return false;
    }
    edited_.reset();
    if (result == 20) {
        if (browser_)
            browser_->AddRows(1);
        RefreshStatus();
        result = 2;
    }
    if (refresh && result > 0 && browser_) {
        RefreshRows(true);
        if (result == 1 || result == 11)
            browser_->RedrawRow(CurrentRow());
        else
            browser_->RedrawList();
    }
    if (changed)
        Reload(false);
    RefreshStatus();
    return result != 0;
}

void CDBDocument::NewRecord()
{
    if (!IsOpen())
        return;
    CommitRecord(true);
    if (InBulkMailMode())
        return;
    FillRecordWithDefaults();
    ClearUndo();
    const int32_t rows = ListRows();
    bool reused = false;
    if (rows > 0) {
        const int32_t first = Data().GetSortSpec().descending ? rows - 1 : 0;
        reused = Data().GotoRecord(first, true, true) >= 0 && Data().IsCurrentRecordNew();
    }
    if (!reused) {
        FillRecordWithDefaults();
        if (Data().AddRecord(true, true) < 0) {
            Data().RestoreUndoState(true);
            Reload(false);
            return;
        }
        if (browser_)
            browser_->AddRows(1);
    }
    LoadRecordIntoEdits();
    RefreshStatus(true);
    RefreshRows(true);
    if (browser_)
        browser_->RedrawList();
    StoreUndo(kUndoAddRecord, 5, Data().CurrentOffset());
    FocusFirstField(false);
    ClearTyped();
    pendingPosition_ = Data().CurrentPosition();
}

void CDBDocument::DuplicateRecord()
{
    if (!IsOpen() || InBulkMailMode())
        return;
    CommitRecord(true);
    Data().RestoreUndoState(true);
    if (Data().CurrentOffset() < 0)
        return;
    Data().Current().SetNew(false);
    const int32_t offset = Data().AddRecord(true, true);
    if (offset < 0) {
        Data().RestoreUndoState(true);
        return;
    }
    if (browser_)
        browser_->AddRows(1);
    RefreshStatus();
    RefreshRows(true);
    if (browser_)
        browser_->RedrawList();
    StoreUndo(kUndoDuplicate, 4, offset);
    Reload(true);
}

void CDBDocument::ClearAllFields()
{
    if (!IsOpen() || InBulkMailMode())
        return;
    auto copy = std::make_unique<CardRecord>();
    copy->CopyFrom(Data().Current());
    StoreUndo(kUndoClearFields, 3, Data().SavedOffset(), std::move(copy));
    const uint8_t flags = Data().Current().Flags();
    Data().Current().Clear();
    Data().Current().SetFlags(flags);
    LoadRecordIntoEdits();
    edited_.set();
}

bool CDBDocument::DeleteRecord(bool confirm, bool keepUndo)
{
    if (!IsOpen() || Data().GetLiveCount() <= 0)
        return false;
    if (InBulkMailMode()) {
        MessageBeep(0xFFFFFFFF);
        return false;
    }
    if (confirm && AlertConfirm("Delete Record ?", 0) != 1)
        return false;
    pendingPosition_ = -1;
    pendingFlag_ = 0;
    Data().RestoreUndoState(true);
    const int32_t offset = Data().CurrentOffset();
    bool deleted = false;
    {
        WaitCursor wait;
        if (Data().DeleteRecord(true) == 1) {
            deleted = true;
            if (browser_) {
                browser_->RemoveRow();
                browser_->RedrawList();
            }
            if (keepUndo)
                StoreUndo(kUndoDeleteRecord, 2, offset);
        }
        Data().RestoreUndoState(true);
        RefreshRows(true);
        Reload(true);
        if (Data().CurrentOffset() < 0)
            ClearEdits();
    }
    return deleted;
}

void CDBDocument::GoToRecord(int32_t step)
{
    if (!IsOpen())
        return;
    const int32_t rows = ListRows();
    int32_t target = -1;
    if (step == kGoFirst || step == kGoLast) {
        if (rows <= 0)
            return;
        CommitRecord(true);
        target = step == kGoFirst ? 0 : ListRows() - 1;
    } else if (step == kGoPrevious || step == kGoNext) {
        if (Data().GetLiveCount() <= 0)
            return;
        CommitRecord(true);
        Data().RestoreUndoState(false);
        int32_t position = Data().CurrentPosition();
        if (position < 0 && Data().CurrentOffset() >= 0)
            position = Data().ComputeCurrentPosition(true);
        target = std::clamp(position + step, 0, ListRows() - 1);
    } else {
        return;
    }
    if (target < 0 || target >= ListRows())
        return;
    if (Data().GotoRecord(target, true, true) < 0)
        return;
    LoadRecordIntoEdits();
    RefreshStatus();
    RefreshRows(true);
    ClearUndo();
    MarkPendingIfNew();
}

void CDBDocument::SelectRow(int32_t row)
{
    if (!IsOpen())
        return;
    CommitRecord(true);
    if (row < 0 || row >= ListRows()) {
        RefreshRows(false);
        return;
    }
    if (Data().GotoRecord(row, true, true) < 0)
        return;
    if (browser_)
        browser_->SelectRow(row);
    LoadRecordIntoEdits();
    RefreshStatus();
    ClearUndo();
    MarkPendingIfNew();
}

void CDBDocument::UndoDelete(bool redo)
{
    // redo false: bring the record back; true: delete it again.
    if (!redo) {
        if (Data().UndeleteRecord(undo_.offset) != 1)
            return;
        undo_.offset = Data().CurrentOffset();
        if (browser_)
            browser_->AddRows(1);
        Data().RestoreUndoState(true);
        LoadRecordIntoEdits();
        RefreshRows(true);
        if (browser_)
            browser_->RedrawList();
        RefreshStatus();
    } else {
        DeleteRecord(false, false);
    }
}

void CDBDocument::OnEditUndo()
{
    if (!undo_.code) {
        if (QLineEdit* edit = FocusedFieldEdit())
            edit->undo();
        return;
    }
    WaitCursor wait;
    const bool redo = undo_.redo != 0;
    switch (undo_.code) {
    case kUndoDeleteRecord:
        if (!redo)
            UndoDelete(false);
        else
            UndoDelete(true);
        undo_.redo = redo ? 0 : 1;
        break;
    case kUndoAddRecord:
    case kUndoDuplicate:
        if (!redo)
            UndoDelete(true);
        else
            UndoDelete(false);
        pendingPosition_ = -1;
        undo_.redo = redo ? 0 : 1;
        break;
    case kUndoClearFields:
        if (!redo) {
            if (undo_.image)
                Data().Current().CopyFrom(*undo_.image);
            LoadRecordIntoEdits();
            edited_.set();
            undo_.redo = 1;
        } else {
            Data().RestoreUndoState(true);
            ClearAllFields();
        }
        break;
    default: ClearUndo(); break;
    }
}

bool CDBDocument::CanUndo() const
{
    if (undo_.code)
        return true;
    const QLineEdit* edit = FocusedFieldEdit();
    return edit && edit->isUndoAvailable();
}

std::string CDBDocument::UndoMenuText() const
{
    if (undo_.code) {
        const int32_t kind = std::max<int32_t>(undo_.kind, 1);
        const char* name = LookupString(kUndoTextBase + kind);
        return std::string(undo_.redo ? "Redo " : "Undo ") + (name ? name : "");
    }
    const QLineEdit* edit = FocusedFieldEdit();
    if (edit && edit->isUndoAvailable())
        return "Undo Text";
    const char* cant = LookupString(kUndoTextBase + 1);
    return cant ? cant : "Can't Undo";
}

// ---- typing ----

void CDBDocument::FieldEdited(int32_t column)
{
    // A database opened only to be read keeps its record as it was.
    if (loadingEdits_ || ReadOnly() || column < 0 || column >= kEntryColumnCount || !edits_[column])
        return;
    ClearUndo();
    edited_.set(size_t(column));
    if (pendingPosition_ < 0)
        return;
    QLineEdit* edit = edits_[column];
    std::string text = EditText(edit);
    if (!typed_.typed[column] && FastFillColumn(column)) {
        const int32_t end = edit->hasSelectedText() ? edit->selectionStart() : int32_t(edit->cursorPosition());
        text = text.substr(0, size_t(std::max(end, 0)));
    }
    std::memset(typed_.texts[column], 0, kTypedTextSize);
    std::memcpy(typed_.texts[column], text.data(), std::min(text.size(), kTypedTextSize - 1));
    typed_.typed[column] = text.empty() ? 0 : 1;
    if (GetU32LE(Header() + dbh::kFastFind) != 0 && FastFillColumn(column)) {
        const int32_t cursor = edit->cursorPosition();
        FastFillLookup();
        const int32_t length = int32_t(edit->text().size());
        // What the user typed stays selected-free; the proposal after it is
        // selected, so that typing on replaces it.
        if (length > cursor)
            edit->setSelection(length, cursor - length);
        else
            edit->setCursorPosition(cursor);
    }
}

void CDBDocument::FieldChanged(int32_t controlId) { FieldEdited(controlId - kFirstFieldControl); }

bool CDBDocument::IsDomestic() const { return !IsOpen() || Header()[dbh::kVerification] == 0; }

void CDBDocument::FastFillLookup()
{
    WaitCursor wait;
    const int32_t found = Data().IncrementalFind(typed_, false);
    loadingEdits_ = true;
    if (found < 0) {
        Data().GotoRecord(pendingPosition_, true, true);
        RefreshRows(false);
        for (int32_t column = 0; column < kEntryColumnCount; ++column)
            if (edits_[column] && typed_.typed[column])
                edits_[column]->setText(Cp1252ToQString(typed_.texts[column]));
        edited_.set();
    } else {
        if (browser_) {
            browser_->SelectRow(found);
            browser_->EnsureVisible(found);
        }
        Data().SaveUndoState();
        edited_.reset();
        const CardRecord& record = Data().Current();
        for (int32_t column = 0; column < kEntryColumnCount; ++column) {
            if (!edits_[column])
                continue;
            char text[256] = {};
            record.GetFieldText(FieldIdByIndex(column), text);
            const std::string value = text;
            const std::string typedText = typed_.texts[column];
            std::string shown;
            if (FastFillColumn(column))
                shown = StartsWith(value, typedText) ? value : typedText;
            else if (typed_.typed[column])
                shown = value.size() > typedText.size() && StartsWith(value, typedText) ? value : typedText;
            else
                shown = value;
            edits_[column]->setText(Cp1252ToQString(shown));
        }
        fastFillMatch_ = found;
    }
    loadingEdits_ = false;
    RefreshStatus();
}

void CDBDocument::WriteCombinedTexts()
{
    if (Data().CurrentOffset() < 0)
        return;
    const CardRecord& record = Data().Current();
    loadingEdits_ = true;
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        if (!edits_[column] || !typed_.typed[column])
            continue;
        char text[256] = {};
        record.GetFieldText(FieldIdByIndex(column), text);
        const std::string typedText = typed_.texts[column];
        edits_[column]->setText(Cp1252ToQString(StartsWith(text, typedText) ? text : typedText));
    }
    loadingEdits_ = false;
}

void CDBDocument::TabFrom(int32_t column, bool shift)
{
    if (column < 0 || column >= kEntryColumnCount)
        return;
    if (pendingPosition_ >= 0 && FastFillColumn(column) && edits_[column]) {
        const std::string whole = EditText(edits_[column]);
        if (typed_.typed[column] && StartsWith(whole, typed_.texts[column])) {
            std::memset(typed_.texts[column], 0, kTypedTextSize);
            std::memcpy(typed_.texts[column], whole.data(), std::min(whole.size(), kTypedTextSize - 1));
            edits_[column]->deselect();
        }
    }
    int16_t order[kEntryColumnCount];
    for (int32_t k = 0; k < kEntryColumnCount; ++k)
        order[k] = int16_t(GetU16LE(Header() + dbh::kEntryOrder + 2 * uint32_t(k)));
    int32_t at = -1;
    for (int32_t k = 0; k < kEntryColumnCount && at < 0; ++k)
        if (std::abs(order[k]) == column + 1)
            at = k;
    if (at < 0)
        at = shift ? 0 : kEntryColumnCount - 1;
    for (int32_t tries = 0; tries < kEntryColumnCount; ++tries) {
        at = shift ? (at + kEntryColumnCount - 1) % kEntryColumnCount : (at + 1) % kEntryColumnCount;
        const int32_t entry = order[at];
        if (entry <= 0 || entry > kEntryColumnCount || !edits_[entry - 1])
            continue;
        edits_[entry - 1]->setFocus(shift ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        edits_[entry - 1]->selectAll();
        return;
    }
}

void CDBDocument::RecordKey(int32_t key, bool shift)
{
    const int32_t page = browser_ ? browser_->PageSize() : 1;
    auto moveBy = [&](int32_t delta) {
        if (!IsOpen() || Data().GetLiveCount() <= 0)
            return;
        CommitRecord(true);
        Data().RestoreUndoState(false);
        int32_t position = Data().CurrentPosition();
        if (position < 0 && Data().CurrentOffset() >= 0)
            position = Data().ComputeCurrentPosition(true);
        const int32_t target = std::clamp(position + delta, 0, ListRows() - 1);
        if (target != position)
            SelectRow(target);
    };
    switch (key) {
    case 13:
        if (shift)
            NewRecord();
        else
            CommitRecord(true);
        break;
    case 33: moveBy(-page); break;
    case 34: moveBy(page); break;
    case 35: GoToRecord(kGoLast); break;
    case 36: GoToRecord(kGoFirst); break;
    case 38: GoToRecord(kGoPrevious); break;
    case 40: GoToRecord(kGoNext); break;
    case 91: FindOne(kFindBackward); break;
    case 93: FindOne(kFindForward); break;
    case 123: SearchAllFields(kFindBackward); break;
    case 125: SearchAllFields(kFindForward); break;
    default: break;
    }
}
