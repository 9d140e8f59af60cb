#include "database/database_session.h"

#include <cstring>

#include "database/database_header.h"
#include "database/database_messages.h"
#include "database/db_file_io.h"
#include "database/index_mark.h"
#include "database/verify.h"
#include "foundation/byte_order.h"
#include "foundation/cstr.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"

DatabaseSession::DatabaseSession() { SetDefaultPreferences(header_); }

DatabaseSession::~DatabaseSession() { Close(); }

namespace {

// A file that never became a database is no file of the user's: nothing
// of a failed create stays behind (an empty file would pass for one), nor
// the index made for it.
void RemoveUnfinished(DataFile& data, const PathRecord& path)
{
    data.Close(true, false);
    FileDelete(&path);
    PathRecord index = path;
    StrCopyN(index.extension, ".idx", sizeof index.extension);
    FileDelete(&index);
}

}  // namespace

bool DatabaseSession::Create(const PathRecord& path)
{
    failure_ = Failure::File;
    const bool existed = FileExists(&path, 0) != 0;
    if (data_.CreateFile(&path) != 1) {
        if (!data_.IsOpen()) {
            // A file the create itself made and then could not use; a
            // file that was there is the user's, whatever kept it from us.
            if (!existed)
                FileDelete(&path);
            return false;
        }
        failure_ = Failure::Other;
        RemoveUnfinished(data_, path);
        return false;
    }
    failure_ = Failure::Other;
    InitDatabaseHeader(header_);
    // The new file is a database once its header and the filler behind
    // it are on the disk: a shorter file is none.
    int32_t err = DbWriteAt(data_.Handle(), 0, header_, kDbHeaderSize);
    if (err == kErrNone) {
        uint8_t filler[kDbDataStart - kDbHeaderSize];
        std::memset(filler, kDbFillerByte, sizeof filler);
        err = DbWriteAt(data_.Handle(), kDbHeaderSize, filler, sizeof filler);
    }
    if (err == kErrNone)
        err = DbSync(data_.Handle());
    if (err != kErrNone) {
        AlertFileError(err);
        RemoveUnfinished(data_, path);
        return false;
    }
    failure_ = Failure::None;
    data_.SetDataStart(DatabaseHeaderSize(1));
    data_.SetSortSpec(LoadSortSpec(header_ + dbh::kSortSpec));
    open_ = true;
    return true;
}

namespace {

constexpr int32_t kMessageDamaged = 8;
constexpr int32_t kMessageDamagedRecover = 26;

// True when a record of the file is not sound, or the header counts records
// the file no longer holds; a file that cannot be read is left to the
// engine, which reports what it meets. Without a header only the records
// are looked at.
bool RecordsDamaged(FileHandle file, uint32_t dataStart, const uint8_t* header)
{
    VerifyReport report;
    if (VerifyDataFile(file, dataStart, &report))
        return header && HeaderCountsMissingRecords(header, report);
    return report.ioError == 0 && report.badOffset >= 0;
}

}  // namespace

bool DatabaseSession::IndexStale(DataFile& data) const
{
    uint32_t check = 0;
    return !data.Index().ContentCheck(&check) ||
           !IndexMismatch(header_, data.Index().EntriesAtOpen(), check, data.Handle(), data.DataStart()).empty();
}

bool DatabaseSession::Open(const PathRecord& path, bool rebuild, bool readOnly)
{
    failure_ = Failure::File;
    if (data_.Open(&path, readOnly ? kDbAccessRead : kDbAccessReadWrite, kIndexModeNone) < 0)
        return false;
    failure_ = Failure::Other;
    // An open that fails closes without packing: a file refused as too
    // new, not a database or damaged is not ours to rewrite. A reader
    // never makes a database of a file too short to be one.
    InitDatabaseHeader(header_);
    const std::string name = data_.DatabaseName();
    if (ReadDatabaseHeader(data_.Handle(), header_, !readOnly, name.c_str()) < 0) {
        data_.Close(true, false);
        return false;
    }
    data_.ExchangeHeaderCounts(true, header_);
    data_.SetDataStart(DatabaseHeaderSize(1));
    data_.SetSortSpec(LoadSortSpec(header_ + dbh::kSortSpec));
    // International verification shows dates day first.
    data_.SetDateStyle(header_[dbh::kVerification] ? 1 : 0);

    // A damaged database is repaired only when opened to be changed.
    if (readOnly && GetU32LE(header_ + dbh::kVersion) == kDbVersion &&
        (GetU32LE(header_ + dbh::kDataMark) != 0 || RecordsDamaged(data_.Handle(), data_.DataStart(), header_))) {
        DatabaseErrorBox(AboutFile(name).c_str(), kMessageDamaged);
        data_.Close(true, false);
        return false;
    }
    int32_t check = CheckDatabaseHeader(header_, name.c_str());
    // A record file can be damaged with its mark clear (the program was
    // stopped halfway through writing a record, or the file was cut short):
    // what the header says is checked against the records themselves, and
    // damage found gets the same offer to repair before anything is
    // written. A record whose write never finished is no damage: it ends
    // the file, and the selection cuts it off.
    if (check == 0 && RecordsDamaged(data_.Handle(), data_.DataStart(), header_))
        check = DatabaseConfirm(kMessageDamagedRecover, AboutFile(name).c_str()) ? 2 : 1;
    if (check == 1) {
        data_.Close(true, false);
        return false;
    }
    bool indexOpened = false;
    if (check == 2) {
        if (data_.RepairFile() != 0) {
            data_.Close(true, false);
            return false;
        }
        // The repair leaves only sound records; should it not have, the
        // database is not opened on them.
        if (RecordsDamaged(data_.Handle(), data_.DataStart(), nullptr)) {
            DatabaseErrorBox(AboutFile(name).c_str(), kMessageDamaged);
            data_.Close(true, false);
            return false;
        }
        PutU16LE(header_ + dbh::kActiveCriteria, 0);
        header_[dbh::kCategoryFlags] = 1;
    } else if (GetU16LE(header_ + dbh::kPrefDeleteIndex) == 0 && !data_.Recovered()) {
        indexOpened = data_.OpenIndex() == 1;
        // An index that does not belong to the records (kept from before
        // another program changed them, or put back from a backup) would
        // list records that are gone and miss new ones: it goes, and the
        // selection is built anew.
        if (indexOpened && IndexStale(data_)) {
            data_.Index().SetDiscard(1);
            data_.Index().Close();
            indexOpened = false;
        }
    }
    if (!indexOpened && data_.CreateIndex() != 1) {
        data_.Close(true, false);
        return false;
    }
    PutU32LE(header_ + dbh::kDataMark, 0);
    open_ = true;
    failure_ = Failure::None;
    if (indexOpened) {
        if (data_.GetLiveCount() > 0)
            data_.GotoRecord(0, true, true);
        return true;
    }
    if (rebuild) {
        data_.SetPurgeNew(true);
        const int32_t selected = Rebuild();
        data_.SetPurgeNew(false);
        // A reader (a print, an export) works on the selection alone: one
        // that could not be built (its message has been shown) would give
        // blank cards or an empty file, said to be done.
        if (readOnly && selected != 1) {
            CloseUnchanged();
            failure_ = Failure::Other;
            return false;
        }
        // The repaired file's counts go into its header at once: a stop
        // before the close would leave the old count, and the next open
        // would take the file for damaged again.
        if (check == 2) {
            data_.ExchangeHeaderCounts(false, header_);
            if (data_.StoreHeader(header_) != 0 || DbSync(data_.Handle()) != 0)
                DatabaseErrorBox(nullptr, 32);
        }
    }
    return true;
}

int32_t DatabaseSession::Rebuild()
{
    return data_.BuildSelection(header_ + dbh::kCategoryFlags, header_ + dbh::kActiveCriteria);
}

void DatabaseSession::CloseUnchanged()
{
    if (!open_)
        return;
    open_ = false;
    data_.Close(true, false);
}

void DatabaseSession::Close()
{
    if (!open_)
        return;
    open_ = false;
    // Another program's database now stands in the file: neither this
    // session's counters nor a mark of its index belong in its header.
    if (data_.TakenOverElsewhere()) {
        data_.Close(true, false);
        return;
    }
    // A change whose undo the disk refused is undone first, so that the
    // header gets the counts of what the file holds.
    data_.RetryStuckUndo();
    data_.ExchangeHeaderCounts(false, header_);
    const bool damaged = GetU32LE(header_ + dbh::kDataMark) || GetU32LE(header_ + dbh::kIndexMark);
    // An index kept beside the file and the header share a mark, by which
    // the next open knows the index and the records as this close left
    // them. The records edited in place are written first, so that the
    // mark is of what the file holds. Where the index goes at the close,
    // the header keeps what it held.
    uint32_t indexCheck = 0;
    uint32_t recordsCheck = 0;
    if (!damaged && data_.IndexOpen() && GetU16LE(header_ + dbh::kPrefDeleteIndex) == 0 &&
        data_.FlushRecordCache() == 0) {
        data_.Index().AdvanceSequence();
        if (data_.Index().ContentCheck(&indexCheck) &&
            RecordsCheck(data_.Handle(), data_.DataStart(), &recordsCheck) == kErrNone)
            PutIndexMark(header_, indexCheck, recordsCheck);
    }
    // The counters the file keeps are then stale; an index kept beside
    // them would be read with the wrong number of records.
    const bool headerWritten = data_.StoreHeader(header_) == 0;
    if (!headerWritten)
        DatabaseErrorBox(nullptr, 32);
    data_.Close(damaged || !headerWritten || GetU16LE(header_ + dbh::kPrefDeleteIndex) != 0);
}
