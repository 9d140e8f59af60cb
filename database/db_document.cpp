#include "database/db_document.h"

#include <algorithm>
#include <string>
#include <vector>

#include "database/database_messages.h"
#include "database/mac_database.h"
#include "database/open_database_registry.h"
#include "database/same_file.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"

namespace {

constexpr const char* kOpenFailedText = "Error Open Database.";
constexpr int32_t kFileErrorBase = 365;
constexpr int32_t kWriteProtectedIndex = 2;

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

// The folder check of an open to change a database. A folder the user may
// not write to is said to be that, not a write-protected disk.
bool FolderIsWritable(const PathRecord& path)
{
    const int32_t err = CheckDirectoryWritable(&path, 0);
    if (err == kErrAccessDenied)
        AlertFileError(err);
    else if (err != kErrNone)
        AlertNoteById(kFileErrorBase, kWriteProtectedIndex, 0);
    return err == kErrNone;
}

}  // namespace

bool MayChangeDatabase(const PathRecord& path)
{
    PathRecord file = path;
    FileHandle handle = kNoFile;
    const int32_t err = FileOpen(&file, kFileReadWrite, &handle);
    if (err == kErrNone)
        FileClose(handle);
    else
        return err != kErrAccessDenied && err != kErrWriteProtect;
    PathRecord folder = path;
    folder.name[0] = 0;
    folder.extension[0] = 0;
    return CheckDirectoryWritable(&folder, 0) == kErrNone;
}

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
    OpenDocuments().push_back(this);
    RegisterDatabase(this);
    return true;
}

bool DbDocument::Open(const PathRecord& path, bool readOnly)
{
    if (IsOpen())
        return false;
    if (IsOpenDatabaseFile(path)) {
        DatabaseErrorBox(nullptr, 11);
        return false;
    }
    PathRecord target = path;
    if (!readOnly && (FileCheckAccess(&target, 0) != 0 || !FolderIsWritable(target)))
        return false;
    // A Macintosh database is never opened itself: target becomes its
    // converted copy. A reader converts nothing.
    if (!readOnly && CheckMacintoshDatabase(&target) != 0)
        return false;
    readOnly_ = readOnly;
    if (!session_.Open(target, true, readOnly)) {
        if (session_.LastFailure() == DatabaseSession::Failure::File)
            AlertNote(kOpenFailedText, 0);
        return false;
    }
    path_ = target;
    OpenDocuments().push_back(this);
    RegisterDatabase(this);
    return true;
}

void DbDocument::Close()
{
    if (!IsOpen())
        return;
    if (readOnly_) {
        session_.CloseUnchanged();
    } else if (Data().TakenOverElsewhere()) {
        const std::string text =
            Data().DatabaseName() + kChangedElsewhereText + " Nothing of this window's was written to it as it closed.";
        session_.Close();
        AlertStop(text.c_str(), 0);
    } else {
        const int32_t position = Data().CurrentPosition();
        PutU16LE(Header() + dbh::kPrefLastPosition, uint16_t(position > 0 ? position : 0));
        session_.Close();
    }
    ForgetDocument(this);
    UnregisterDatabase(this);
}

bool DbDocument::ReopenWithNewIndex()
{
    if (!IsOpen())
        return false;
    const PathRecord path = path_;
    const bool readOnly = readOnly_;
    // The header keeps what the last close wrote: the counters the engine
    // has lost with the index are not written over it.
    session_.CloseUnchanged();
    ForgetDocument(this);
    UnregisterDatabase(this);
    return Open(path, readOnly);
}

int32_t DbDocument::RowCount() const { return IsOpen() ? Data().GetLiveCount() : 0; }

bool DbDocument::GotoRow(int32_t row) { return IsOpen() && Data().GotoRecord(row, true, true) >= 0; }

int32_t DbDocument::SortRecords(int32_t) { return 1; }

bool DbDocument::StoreCountsInChange()
{
    // Written only at the close, the counts would meet a disk that has
    // filled up since, after the change was said to be done: the file
    // would keep the count of the records before it.
    DataFile& data = Data();
    data.ExchangeHeaderCounts(false, Header());
    if (data.StoreHeader(Header(), true) == kErrNone)
        return true;
    data.AbandonChange();
    return false;
}
