#include "dbdoc/db_document.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "database/database_header.h"
#include "database/database_messages.h"
#include "database/db_file_io.h"
#include "database/field_table.h"
#include "database/file_swap.h"
#include "database/progress_window.h"
#include "dbdoc/mac_database.h"
#include "dbdoc/open_database_registry.h"
#include "dbdoc/same_file.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"

namespace {

constexpr int32_t kStringCopying = 258;
constexpr uint32_t kCopyBufferSize = 50 * 1024;
constexpr const char* kOpenFailedText = "Erorr Open Database.";

// Every open document, registered or not: the guard against writing over
// an open database must see the ones the registry has no room for.
std::vector<const DbDocument*>& OpenDocuments()
{
    static std::vector<const DbDocument*> documents;
    return documents;
}

void ForgetDocument(const DbDocument* document)
{
    auto& documents = OpenDocuments();
    documents.erase(std::remove(documents.begin(), documents.end(), document), documents.end());
}

// Copies the record file into a new file at target, which replaces what
// is there only once the copy is whole and on the disk. 0 or the code.
int32_t CopyRecordFile(FileHandle source, const PathRecord& target, DbWorkingWindow& working)
{
    uint32_t size = 0;
    int32_t err = DbGetSize(source, &size);
    FileSwap swap(target);
    if (err == kErrNone)
        err = swap.Begin();
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kCopyBufferSize]);
    if (err == kErrNone && !buffer)
        err = kErrNotEnoughMemory;
    for (uint32_t offset = 0; err == kErrNone && offset < size;) {
        const uint32_t n = std::min(kCopyBufferSize, size - offset);
        err = DbReadAt(source, offset, buffer.get(), n);
        if (err == kErrNone)
            err = swap.Append(buffer.get(), n);
        offset += n;
        working.SetPos(int32_t(offset / kCopyBufferSize));
    }
    // The copy gets a new index; an old one beside it would not fit it.
    const PathRecord index = IndexPathFor(target);
    if (err == kErrNone && FileExists(&index, 0))
        err = FileDelete(&index);
    FileHandle copy = kNoFile;
    if (err == kErrNone)
        err = swap.Commit(&copy);
    if (err == kErrNone)
        FileClose(copy);
    return err;
}

}  // namespace

bool IsOpenDatabaseFile(const PathRecord& path)
{
    for (const DbDocument* document : OpenDocuments()) {
        if (SameExistingFile(path, document->Path()) || SameExistingFile(path, IndexPathFor(document->Path())))
            return true;
    }
    return false;
}

DbDocument::DbDocument() = default;

DbDocument::~DbDocument()
{
    Close();
    // A document whose open failed may still have been made current.
    UnregisterDatabase(this);
}

bool DbDocument::New(const PathRecord& path)
{
    if (IsOpen())
        return false;
    if (IsOpenDatabaseFile(path)) {
        DatabaseErrorBox(nullptr, 11);
        return false;
    }
    if (!session_.Create(path))
        return false;
    path_ = path;
    PutU32LE(Header() + dbh::kDataMark, 0);
    openMode_ = kDbOpenNew;
    OpenDocuments().push_back(this);
    RegisterDatabase(this);
    return true;
}

bool DbDocument::Open(const PathRecord& path)
{
    if (IsOpen())
        return false;
    PathRecord target = path;
    if (FileCheckAccess(&target, 0) != 0 || CheckDirectoryWritable(&target, 1) != 0)
        return false;
    if (CheckMacintoshDatabase(&target) != 0)
        return false;
    if (!session_.Open(target, false)) {
        if (session_.LastFailure() == DatabaseSession::Failure::File)
            AlertNote(kOpenFailedText, 0);
        return false;
    }
    path_ = target;
    openMode_ = session_.IndexKept() ? kDbOpenKeptIndex : kDbOpenNewIndex;
    OpenDocuments().push_back(this);
    RegisterDatabase(this);
    return true;
}

void DbDocument::LoadSelection()
{
    if (!IsOpen() || openMode_ == kDbOpenNew)
        return;
    DataFile& data = Data();
    if (openMode_ == kDbOpenNewIndex) {
        data.SetPurgeNew(true);
        session_.Rebuild();
        data.SetPurgeNew(false);
    }
    const int32_t live = data.GetLiveCount();
    if (live > 0) {
        const int32_t saved = GetU16LE(Header() + dbh::kPrefLastPosition);
        data.GotoRecord(std::min(saved, live - 1), true, true);
    }
}

bool DbDocument::SaveAs(const PathRecord& target)
{
    if (!IsOpen())
        return false;
    PathRecord folder = target;
    if (FileCheckAccess(&folder, 0) != 0 || CheckDirectoryWritable(&folder, 1) != 0)
        return false;
    if (IsOpenDatabaseFile(target) || IsOpenDatabaseFile(IndexPathFor(target))) {
        DatabaseErrorBox(nullptr, 12);
        return false;
    }
    DataFile& data = Data();
    int32_t err = kErrNone;
    {
        DbWorkingWindow working(WorkingMessage(kStringCopying),
                                int32_t(data.GetStoredCount() > 0 ? data.GetStoredCount() : 0));
        // The copy must hold every committed record and counters that
        // match them.
        data.FlushRecordCache();
        data.ExchangeHeaderCounts(false, Header());
        const int32_t position = data.CurrentPosition();
        PutU16LE(Header() + dbh::kPrefLastPosition, uint16_t(position > 0 ? position : 0));
        if (WriteDatabaseHeader(data.Handle(), Header(), false) < 0)
            err = kErrIoDevice;
        if (err == kErrNone)
            err = DbSync(data.Handle());
        if (err == kErrNone)
            err = CopyRecordFile(data.Handle(), target, working);
    }
    if (err != kErrNone) {
        AlertStopById(kDatabaseMessageBase, 7, err);
        return false;
    }
    // The old file is left as the copy found it: no pack, and its index
    // is not kept, since the next open cannot tell whether it still fits.
    session_.CloseUnchanged();
    ForgetDocument(this);
    bool onCopy = session_.Open(target, false);
    if (onCopy) {
        path_ = target;
    } else if (!session_.Open(path_, false)) {
        openMode_ = kDbOpenNone;
        UnregisterDatabase(this);
        return false;
    }
    // The copy would not open: the document goes on with the database it
    // had, whose index was just discarded.
    openMode_ = kDbOpenNewIndex;
    OpenDocuments().push_back(this);
    LoadSelection();
    return onCopy;
}

void DbDocument::Close()
{
    if (!IsOpen())
        return;
    const int32_t position = Data().CurrentPosition();
    PutU16LE(Header() + dbh::kPrefLastPosition, uint16_t(position > 0 ? position : 0));
    session_.Close();
    openMode_ = kDbOpenNone;
    ForgetDocument(this);
    UnregisterDatabase(this);
}

void DbDocument::AddCriterion(int32_t code)
{
    if (code < 1 || code > 9)
        return;
    int32_t digits[3];
    int32_t value = GetU16LE(Header() + dbh::kActiveCriteria);
    for (int32_t& digit : digits) {
        digit = value % 10;
        value /= 10;
    }
    // Least significant digit first; the code moves to the end of the list.
    int32_t kept[3] = {};
    int32_t n = 0;
    for (int32_t digit : digits) {
        if (digit != 0 && digit != code)
            kept[n++] = digit;
    }
    if (n < 3)
        kept[n++] = code;
    const int32_t packed = kept[0] + 10 * kept[1] + 100 * kept[2];
    PutU16LE(Header() + dbh::kActiveCriteria, uint16_t(packed));
}

bool DbDocument::HasCriterion(int32_t code) const
{
    int32_t value = GetU16LE(Header() + dbh::kActiveCriteria);
    for (int32_t i = 0; i < 3; ++i, value /= 10) {
        if (value % 10 == code && code != 0)
            return true;
    }
    return false;
}

void DbDocument::FillRecordWithDefaults()
{
    CardRecord& record = Data().Current();
    record.Clear();
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        char text[dbh::kDefaultValueSize];
        HeaderText(Header(), dbh::kDefaultValues + uint32_t(column) * dbh::kDefaultValueSize,
                   dbh::kDefaultValueSize, text);
        record.SetFieldText(FieldIdByIndex(column), text);
    }
    record.SetModified(false);
    record.SetGrown(false);
}

void DbDocument::ApplyCustomFieldNames()
{
    if (GetU16LE(Header() + dbh::kBrowseColumn) >= kEntryColumnCount) {
        PutU16LE(Header() + dbh::kBrowseColumn, uint16_t(FieldIndexOfId(kFieldLastName, 0)));
        PutU16LE(Header() + dbh::kBrowseFieldId, uint16_t(kFieldLastName));
    }
    SetCustomFieldNames(Header() + dbh::kCustomNames);
}

int32_t DbDocument::RowCount() const { return IsOpen() ? Data().GetLiveCount() : 0; }

bool DbDocument::GotoRow(int32_t row) { return Data().GotoRecord(row, true, true) >= 0; }

int32_t DbDocument::SortRecords(int32_t) { return 1; }
