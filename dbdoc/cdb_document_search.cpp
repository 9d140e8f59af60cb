// CDBDocument: which records the browser lists and in what order, and
// jumping to a matching record.

#include <algorithm>
#include <cstring>
#include <vector>

#include <QLineEdit>

#include "database/database_header.h"
#include "database/database_messages.h"
#include "database/record_file_format.h"
#include "dbdoc/cdb_document.h"
#include "dbdoc/view_browser.h"
#include "foundation/alert_sink.h"
#include "foundation/byte_order.h"

namespace {

uint8_t* Criteria(uint8_t* header) { return header + dbh::kActiveCriteria; }

// The three digits of the active-criteria number, least significant first.
void CriteriaDigits(uint16_t value, int32_t digits[3])
{
    for (int32_t i = 0; i < 3; ++i) {
        digits[i] = value % 10;
        value /= 10;
    }
}

}  // namespace

void CDBDocument::AddCriterion(int32_t code)
{
    if (code < 1 || code > 9)
        return;
    int32_t digits[3];
    CriteriaDigits(GetU16LE(Header() + dbh::kActiveCriteria), digits);
    int32_t kept[3] = {};
    int32_t n = 0;
    for (int32_t digit : digits)
        if (digit != 0 && digit != code)
            kept[n++] = digit;
    // The oldest gives way when all three places are taken.
    if (n == 3) {
        kept[0] = kept[1];
        kept[1] = kept[2];
        n = 2;
    }
    kept[n++] = code;
    const uint16_t value = uint16_t(kept[0] + 10 * kept[1] + 100 * kept[2]);
    PutU16LE(Header() + dbh::kActiveCriteria, value);
}

bool CDBDocument::HasCriterion(int32_t code) const
{
    int32_t digits[3];
    CriteriaDigits(GetU16LE(Header() + dbh::kActiveCriteria), digits);
    return std::find(std::begin(digits), std::end(digits), code) != std::end(digits) && code != 0;
}

int32_t CDBDocument::MostRecentCriterion() const
{
    int32_t digits[3];
    CriteriaDigits(GetU16LE(Header() + dbh::kActiveCriteria), digits);
    for (int32_t i = 2; i >= 0; --i)
        if (digits[i] != 0)
            return digits[i];
    return 0;
}

int32_t CDBDocument::SortComboIndex() const
{
    const SortSpec& order = Data().GetSortSpec();
    if (order.bulkMail != 0)
        return 1;
    for (uint16_t id : order.fields) {
        if (id == dbsort::kNone)
            continue;
        const int32_t column = FieldIndexOfId(id, 0);
        return column >= 0 && column < kEntryColumnCount ? column + 1 : 0;
    }
    return 0;
}

void CDBDocument::UpdateSortToolBar()
{
    if (IsOpen())
        ShellSetToolBar(SortComboIndex(), FindComboIndex());
}

void CDBDocument::RebuildSelection(int32_t pass)
{
    if (!IsOpen())
        return;
    if (browser_)
        browser_->SelectRow(-1);
    if (pass == kPassCommitAndBuild) {
        if (Data().GetLiveCount() > 0)
            CommitRecord(false);
        DbDocument::RebuildSelection();
    } else if (pass == kPassBuild) {
        DbDocument::RebuildSelection();
    }
    // A pass leaves nothing typed behind: the list and the form start again
    // at the first record.
    edited_.reset();
    pendingPosition_ = -1;
    if (browser_)
        browser_->SetRowCount(Data().GetLiveCount());
    if (ListRows() > 0 && Data().GotoRecord(0, true, true) >= 0) {
        LoadRecordIntoEdits();
        RefreshRows(true);
    } else {
        ClearEdits();
    }
    RefreshStatus();
    UpdateSortToolBar();
}

void CDBDocument::ApplySort(const SortSpec& chosen)
{
    SortSpec order = chosen;
    order.bulkMail = 0;
    StoreSortSpec(order, Header() + dbh::kSortSpec);
    Data().SetSortSpec(order);
    RebuildSelection(kPassCommitAndBuild);
}

int16_t CDBDocument::ApplyBulkMail(uint8_t mode)
{
    SortSpec order = LoadSortSpec(Header() + dbh::kSortSpec);
    const int32_t needed = mode == 1 ? 500 : 200;
    if (mode < 1 || mode > 2 || Data().GetLiveCount() < needed) {
        if (mode == 1 || mode == 2)
            DatabaseNote(26 + mode);
        order.bulkMail = 0;
        StoreSortSpec(order, Header() + dbh::kSortSpec);
        UpdateSortToolBar();
        return 1;
    }
    order.bulkMail = mode;
    StoreSortSpec(order, Header() + dbh::kSortSpec);
    Data().SetSortSpec(order);
    RebuildSelection(kPassBuild);
    UpdateSortToolBar();
    return 0;
}

void CDBDocument::FindOne(int32_t direction) { FindByValues(direction, kFindValues); }

void CDBDocument::SearchAllFields(int32_t direction) { FindByValues(direction, kFindAllFields); }

void CDBDocument::FindByValues(int32_t direction, int32_t kind)
{
    if (!IsOpen())
        return;
    if (InBulkMailMode() && direction != kFindFromFirst) {
        MessageBeep(0);
        return;
    }
    CommitRecord(true);
    const int32_t found = Data().FindRecords(direction, kind, Criteria(Header()));
    RunFindDialogResult(found >= 0);
}

void CDBDocument::KeyLookup(const std::string& text)
{
    if (!IsOpen())
        return;
    if (InBulkMailMode()) {
        MessageBeep(0);
        return;
    }
    CommitRecord(true);
    SetHeaderText(Header(), dbh::kKeyText, dbh::kKeyTextSize - 1, text.c_str());
    PutU16LE(Header() + dbh::kKeySearchField, GetU16LE(Header() + dbh::kBrowseFieldId));
    const int32_t found = Data().FindRecords(kFindFromFirst, kFindKey, Criteria(Header()));
    RunFindDialogResult(found >= 0);
}

void CDBDocument::RunFindDialogResult(bool found)
{
    if (found) {
        Data().SaveUndoState();
        RefreshRows(true);
        LoadRecordIntoEdits();
        ClearUndo();
        FocusFirstField(false);
    } else {
        // The record shown stays the current one.
        Data().RestoreUndoState(true);
        MessageBeep(0);
    }
    RefreshStatus();
}

void CDBDocument::ApplyFindAll()
{
    AddCriterion(kCriterionFindAll);
    RebuildSelection(kPassCommitAndBuild);
    UpdateSortToolBar();
}

void CDBDocument::ApplySearchAll(const std::string& text)
{
    SetHeaderText(Header(), dbh::kSearchText, dbh::kSearchTextSize - 1, text.c_str());
    AddCriterion(kCriterionSearchAll);
    RebuildSelection(kPassCommitAndBuild);
}

void CDBDocument::ApplyQuery()
{
    AddCriterion(kCriterionQuery);
    RebuildSelection(kPassCommitAndBuild);
}

void CDBDocument::ShowAllRecords()
{
    PutU16LE(Header() + dbh::kActiveCriteria, 0);
    RebuildSelection(kPassCommitAndBuild);
}

void CDBDocument::SetBrowseColumn(int32_t column)
{
    if (column < 0 || column >= kEntryColumnCount)
        return;
    PutU16LE(Header() + dbh::kBrowseColumn, uint16_t(column));
    PutU16LE(Header() + dbh::kBrowseFieldId, uint16_t(FieldIdByIndex(column)));
    if (browser_)
        browser_->RedrawList();
}

void CDBDocument::DeleteAllDuplicates()
{
    if (!IsOpen() || Data().GetLiveCount() <= 0 || InBulkMailMode())
        return;
    CommitRecord(false);
    DataFile& data = Data();
    data.FlushRecordCache();
    const SortSpec saved = data.GetSortSpec();
    SortSpec byLastName;
    const bool resorted = !(saved == byLastName);
    if (resorted) {
        data.SetSortSpec(byLastName);
        DbDocument::RebuildSelection();
    }
    data.DeleteDuplicateRecords();
    if (resorted)
        data.SetSortSpec(saved);
    RebuildSelection(kPassCommitAndBuild);
    ClearUndo();
}
