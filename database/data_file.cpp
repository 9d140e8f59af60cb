#include "database/data_file.h"

#include <algorithm>
#include <cstring>

#include "database/database_messages.h"
#include "database/db_file_io.h"
#include "database/file_swap.h"
#include "database/progress_window.h"
#include "database/record_file_format.h"
#include "database/repair.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/cstr.h"
#include "foundation/scratch_mark.h"
#include "foundation/string_table.h"
#include "foundation/win_error.h"

namespace {

constexpr int32_t kStringClosing = 259;
// Blocks the index may keep in memory: a selection pass over 32000 records
// touches every leaf in no order, so the cache holds the whole tree of any
// database the engine allows (a few hundred blocks, a few thousand with
// the longest keys) and the file is written once, at the close. Blocks
// are taken as needed.
constexpr int32_t kIndexCacheBlocksInUse = 6144;
constexpr int32_t kFileErrorBase = 365;
constexpr int32_t kDiskFullIndex = 3;
constexpr char kChangeUndoneText[] =
    "The last change to this database (an import, a merge or an edit) did not finish. It has been undone: the "
    "database is as it was before it.";
constexpr char kUnfinishedChangeText[] =
    "A change to this database did not finish. Open the database in the program to undo it.";

// The journal of a change that did not finish, when it cannot be read: the
// records are left as they stand, and the journal for a repair to remove.
void ReportUnreadableJournal(const PathRecord& path)
{
    char name[512];
    PathRecordGetFileName(&path, name, sizeof name);
    const std::string text = std::string(name) +
                             ": A change to this database did not finish, and its journal (" + name +
                             "-journal) cannot be read, so the change cannot be undone. The database was not "
                             "opened and is left as it is; a repair (tessaline-tool db repair) keeps the records "
                             "it holds now.";
    AlertStop(text.c_str(), 0);
}

// A journal beside the database that was not made for it as it stands: its
// old bytes would overwrite the records with another file's.
void ReportJournalNotItsOwn(const PathRecord& path)
{
    char name[512];
    PathRecordGetFileName(&path, name, sizeof name);
    const std::string text = std::string(name) + ": The journal beside this database (" + name +
                             "-journal) was not made for it as it stands: it is another database's, or older "
                             "than these records. It was not played back. The database was not opened and both "
                             "files are left as they are; a repair (tessaline-tool db repair) removes the journal "
                             "and keeps the records.";
    AlertStop(text.c_str(), 0);
}

void ReportJournal(const PathRecord& path, int32_t err)
{
    if (err == DbJournal::kUnreadable)
        ReportUnreadableJournal(path);
    else if (err == DbJournal::kNotItsOwn)
        ReportJournalNotItsOwn(path);
    else
        AlertFileError(err);
}

PathRecord IndexPathOf(const PathRecord& path)
{
    PathRecord index = path;
    StrCopyN(index.extension, ".idx", sizeof index.extension);
    return index;
}

// The file layer refuses a second open of a file with 32: the file box
// says another program uses it. The box names the file: a command may open
// several.
void ReportOpenError(const PathRecord& path, int32_t err)
{
    char name[512];
    PathRecordGetFileName(&path, name, sizeof name);
    AlertFileErrorAbout(name, err);
}

}  // namespace

DataFile::DataFile() : index_(std::make_unique<IndexFile>(kIndexCacheBlocksInUse))
{
    cache_.reset(new (std::nothrow) uint8_t[size_t(kRecordCacheSlots) * CardRecord::MaxRecordSize()]);
    cacheEnabled_ = cache_ != nullptr;
}

DataFile::~DataFile()
{
    DbForgetWitness(&witness_);
    if (open_) {
        FlushRecordCache();
        FileClose(file_);
        file_ = kNoFile;
        open_ = false;
    }
    if (IndexOpen()) {
        index_->SetDiscard(1);
        index_->Close();
    }
}

int32_t DataFile::Open(const PathRecord* path, uint32_t access, int16_t indexMode)
{
    path_ = *path;
    access_ = access;
    recovered_ = false;
    indexFailureShown_ = false;
    readOnly_ = access == kDbAccessRead;
    selectionFailed_ = false;
    ForgetFileSize();
    ++recordChanges_;
    int32_t err = FileOpen(&path_, readOnly_ ? kFileRead : kFileReadWrite, &file_);
    if (err != kErrNone) {
        file_ = kNoFile;
        ReportOpenError(path_, err);
        return -1;
    }
    // A change a crash interrupted is undone before anything reads the
    // file; a file that cannot be brought back to its committed state is
    // not opened at all. Undoing it writes, which a reader may not.
    if (readOnly_) {
        const DbJournal::State journal = DbJournal::Inspect(path_, file_);
        err = journal != DbJournal::State::None ? kErrAccessDenied : kErrNone;
        if (journal == DbJournal::State::Unreadable)
            ReportUnreadableJournal(path_);
        else if (journal == DbJournal::State::NotItsOwn)
            ReportJournalNotItsOwn(path_);
        else if (err != kErrNone)
            AlertStop(kUnfinishedChangeText, 0);
    } else {
        err = DbJournal::Recover(file_, path_, &recovered_);
        if (err != kErrNone)
            ReportJournal(path_, err);
        // The journal is gone once its change is undone: this is said at
        // the one open that undid it.
        else if (recovered_)
            AlertNote(kChangeUndoneText, 0);
        // The new files of a pack, repair or split that never finished:
        // this one's, and those a split left beside it.
        FileSwap::RemoveLeftovers(path_);
    }
    if (err != kErrNone) {
        FileClose(file_);
        file_ = kNoFile;
        return -1;
    }
    open_ = true;
    WitnessFile();
    switch (indexMode) {
    case kIndexModeNone: return 0;
    case kIndexModeOpen:
        if (OpenIndex() == 1)
            return 1;
        CreateIndex();
        return 0;
    default:
        if (CreateIndex() != 1) {
            FileClose(file_);
            file_ = kNoFile;
            open_ = false;
            return -1;
        }
        return 0;
    }
}

int32_t DataFile::CreateFile(const PathRecord* path)
{
    path_ = *path;
    recovered_ = false;
    indexFailureShown_ = false;
    readOnly_ = false;
    ForgetFileSize();
    ++recordChanges_;
    const int32_t err = FileCreate(&path_, kFileReadWrite, &file_);
    if (err != kErrNone) {
        file_ = kNoFile;
        ReportOpenError(path_, err);
        return -1;
    }
    // A journal left by an earlier file of this name must never be played
    // back onto the new one.
    const PathRecord journal = DbJournal::PathFor(path_);
    FileExists(&journal, 1);
    open_ = true;
    WitnessFile();
    stored_ = live_ = deleted_ = newCount_ = 0;
    return CreateIndex() == 1 ? 1 : -1;
}

int32_t DataFile::OpenIndex()
{
    if (readOnly_)
        return 0;
    const PathRecord indexPath = IndexPathOf(path_);
    if (!FileExists(&indexPath, 0))
        return 0;
    index_->SetLabel(IndexLabel(indexPath, false));
    if (!index_->Open(&indexPath, 1))
        return 0;
    indexPath_ = indexPath;
    index_->SetDescending(sortSpec_.descending && !sortSpec_.bulkMail);
    return 1;
}

int32_t DataFile::CreateIndex(bool durable)
{
    PathRecord indexPath = IndexPathOf(path_);
    // A reader's index lives among the temporary files, never beside the
    // database.
    if (readOnly_) {
        if (GetSystemTempFolder(&indexPath) != kErrNone)
            return 0;
        StrCopyN(indexPath.name, "IDX", sizeof indexPath.name);
        if (MakeTempFileRecord(&indexPath) != kErrNone)
            return 0;
    }
    index_->SetLabel(IndexLabel(indexPath, readOnly_));
    if (!index_->Create(&indexPath, 1, durable))
        return 0;
    // One a killed reader leaves is cleared by the next print or start.
    if (readOnly_)
        MarkOwnScratch(PathRecordToPosix(indexPath));
    // An empty index holds no selection of the records counted.
    selectionFailed_ = live_ > 0;
    indexPath_ = indexPath;
    index_->SetDescending(sortSpec_.descending && !sortSpec_.bulkMail);
    return 1;
}

bool DataFile::SelectionFailed() const { return selectionFailed_ || (IndexOpen() && index_->Failed()); }

int32_t DataFile::Close(bool discardIndex, bool pack)
{
    if (!open_)
        return 0;
    ++recordChanges_;
    bool synced = true;
    // A file another program has written in place is that program's now:
    // nothing of this session goes into it, and the index, which is of the
    // records that were there, goes.
    const bool theirs = TakenOverElsewhere();
    {
        DbWorkingWindow working(WorkingMessage(kStringClosing), stored_ > 0 ? stored_ : 0);
        // A batch the caller left open ends here.
        if (changeDepth_ > 0) {
            changeDepth_ = 1;
            EndChange();
        }
        // A change still to be undone goes before anything else is written.
        FlushAppends();
        RetryStuckUndo();
        // Dirty entries are records the user committed; they are written
        // whatever the counters say.
        if (theirs)
            DropCacheEntry(-2);
        else
            FlushRecordCache();
        // What the session wrote must be on the disk before the index that
        // vouches for it is closed clean; a failure is the user's to know.
        // A reader wrote nothing and has nothing to flush.
        if (const int32_t err = readOnly_ ? kErrNone : DbSync(file_); err != kErrNone) {
            AlertFileError(err);
            synced = false;
        } else {
            journal_.Close();
        }
        packed_ = false;
        if (pack && stored_ > 0 && !readOnly_ && !theirs)
            packed_ = PackDataFile() == 1;
    }
    DbForgetWitness(&witness_);
    witness_.Forget();
    FileClose(file_);
    file_ = kNoFile;
    open_ = false;
    DropCacheEntry(-2);
    if (IndexOpen()) {
        index_->SetDiscard(discardIndex || packed_ || indexMark_ || !synced || readOnly_ || theirs ? 1 : 0);
        index_->Close();
    }
    currentOffset_ = savedOffset_ = -1;
    currentPosition_ = savedPosition_ = -1;
    return 1;
}

int32_t DataFile::RepairFile()
{
    if (!open_)
        return 1;
    FlushAppends();
    DropCacheEntry(-2);
    ForgetFileSize();
    ++recordChanges_;
    const int32_t result = RepairDataFile(&file_, &path_, dataStart_, stored_);
    ForgetFileSize();
    WitnessFile();
    return result;
}

void DataFile::WitnessFile()
{
    witness_.Take(file_);
    DbWatchWrites(&witness_);
}

bool DataFile::ChangedElsewhere() const
{
    return open_ && !readOnly_ && !witness_.Matches(Handle());
}

bool DataFile::TakenOverElsewhere() const
{
    return ChangedElsewhere() && (!dataMark_ || !witness_.HeadMatches(Handle()));
}

void DataFile::ExchangeHeaderCounts(bool load, uint8_t* header)
{
    if (load) {
        ++recordChanges_;
        stored_ = GetI32LE(header + dbh::kStoredCount);
        live_ = GetI32LE(header + dbh::kLiveCount);
        deleted_ = GetI32LE(header + dbh::kDeletedCount);
        newCount_ = GetI32LE(header + dbh::kNewCount);
        currentPosition_ = GetI32LE(header + dbh::kSavedPosition);
        dataMark_ = false;
        indexMark_ = false;
        return;
    }
    PutU32LE(header + dbh::kDataMark, dataMark_ ? 1 : 0);
    PutU32LE(header + dbh::kIndexMark, indexMark_ ? 1 : 0);
    PutI32LE(header + dbh::kStoredCount, stored_);
    PutI32LE(header + dbh::kLiveCount, live_);
    PutI32LE(header + dbh::kDeletedCount, deleted_);
    PutI32LE(header + dbh::kNewCount, newCount_);
    PutI32LE(header + dbh::kSavedPosition, savedPosition_);
}

void DataFile::SetSortSpec(const SortSpec& order)
{
    sortSpec_ = order;
    // Bulk-mail order is postal order: tiers first, whatever the order flag.
    if (IndexOpen())
        index_->SetDescending(order.descending && !order.bulkMail);
}

std::string DataFile::DatabaseName() const
{
    char name[512];
    PathRecordGetFileName(&path_, name, sizeof name);
    return name;
}

void DataFile::MarkDamaged()
{
    ++recordChanges_;
    stored_ = -1;
    deleted_ = -1;
    newCount_ = 0;
    dataMark_ = true;
    ResetIndex();
    live_ = 0;
    DatabaseErrorBox(AboutFile(DatabaseName()).c_str(), 8);
}

int32_t DataFile::CheckDiskSpace(double bytes)
{
    // The room asked for is the index's: a reader keeps its index among
    // the temporary files, so a database on a full disk can still be read.
    char path[kPathTextSize];
    PathRecordToString(IndexOpen() ? &indexPath_ : &path_, path);
    if (DbDiskFreeBytes(path) >= bytes)
        return 1;
    // Which disk is full: the database's, or the temporary folder's.
    char text[256];
    LoadStringByIndex(kFileErrorBase, kDiskFullIndex, text);
    AlertStop(((IndexOpen() ? index_->Label() : DatabaseName()) + ": " + text).c_str(), 0);
    return 0;
}

std::string DataFile::IndexLabel(const PathRecord& indexPath, bool temporary) const
{
    if (!temporary) {
        char name[512];
        PathRecordGetFileName(&indexPath, name, sizeof name);
        return "The index of " + DatabaseName() + " (" + name + ")";
    }
    PathRecord folder = indexPath;
    folder.name[0] = 0;
    folder.extension[0] = 0;
    std::string where = PathRecordToPosix(folder);
    while (where.size() > 1 && where.back() == '/')
        where.pop_back();
    return "The temporary folder " + where + " (for the index of " + DatabaseName() + ")";
}

int32_t DataFile::FileSize(uint32_t* size) const
{
    int32_t err = kErrNone;
    if (file_ != kNoFile && knownSizeFile_ == file_ && knownSizeWrites_ == DbWriteCount()) {
        *size = knownSize_;
    } else {
        err = DbGetSize(file_, size);
        if (err == kErrNone) {
            knownSizeFile_ = file_;
            knownSizeWrites_ = DbWriteCount();
            knownSize_ = *size;
        }
    }
    // Records gathered for one write are part of the file already.
    if (err == kErrNone && !appends_.empty())
        *size = std::max(*size, appendsAt_ + uint32_t(appends_.size()));
    return err;
}

void DataFile::NoteWritten(uint64_t writesBefore, uint32_t end, bool exact)
{
    // Only when the one write since the size was learnt is this one: any
    // other (the journal's, another file's, a failed one) leaves the size
    // to be asked again.
    if (knownSizeFile_ != file_ || knownSizeWrites_ != writesBefore || DbWriteCount() != writesBefore + 1)
        return;
    knownSize_ = exact ? end : std::max(knownSize_, end);
    knownSizeWrites_ = DbWriteCount();
}

int32_t DataFile::ReportWriteError(int32_t code)
{
    AlertFileError(code);
    return code;
}

