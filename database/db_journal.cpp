#include "database/db_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <new>

#include "database/db_file_io.h"
#include "database/db_journal_format.h"
#include "database/db_journal_image.h"
#include "foundation/byte_order.h"
#include "foundation/cstr.h"
#include "foundation/win_error.h"

namespace {

uint32_t Crc(uint32_t crc, const uint8_t* bytes, uint32_t n)
{
    return uint32_t(crc32_z(crc, bytes, n));
}

uint32_t NewSalt()
{
    static uint32_t counter = 0;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    uint32_t salt = uint32_t(now) ^ uint32_t(uint64_t(now) >> 32) ^ (uint32_t(::getpid()) << 16) ^ (++counter * 2654435761u);
    return salt ? salt : 1;
}

// Fills in the head of an entry whose length bytes follow it.
void SealEntry(uint8_t* head, uint32_t offset, uint32_t length, uint32_t salt)
{
    PutU32LE(head + dbj::kEntryOffsetAt, offset);
    PutU32LE(head + dbj::kEntryLengthAt, length);
    PutU32LE(head + dbj::kEntrySaltAt, salt);
    PutU32LE(head + dbj::kEntryCrcAt, Crc(Crc(0, head, dbj::kEntryCrcAt), head + dbj::kEntryHeadSize, length));
}

// Opens the journal at path to read it. *present tells whether anything
// is there: a journal of ours is a file, so anything else there (a
// folder, a pipe, a link) is a change that cannot say what to undo, as is
// a file this user cannot read.
int32_t OpenJournal(const PathRecord& path, FileHandle* journal, bool* present)
{
    *journal = kNoFile;
    *present = true;
    // Only read, without the lock a change holds on its journal; never
    // through a link, and never waiting on a pipe.
    const int fd = ::open(PathRecordToPosix(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        // The file layer also finds a name that differs only in case.
        struct stat st {};
        const bool named = ::lstat(PathRecordToPosix(path).c_str(), &st) == 0;
        if (!named && errno == ENOENT) {
            *present = FileExists(&path, 0);
            if (*present && FileOpen(&path, kFileRead, journal) != kErrNone) {
                *journal = kNoFile;
                return DbJournal::kUnreadable;
            }
            return kErrNone;
        }
        return DbJournal::kUnreadable;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return DbJournal::kUnreadable;
    }
    *journal = fd;
    return kErrNone;
}

}  // namespace

DbJournal::~DbJournal()
{
    if (file_ != kNoFile)
        FileClose(file_);
}

PathRecord DbJournal::PathFor(const PathRecord& recordFile)
{
    PathRecord path = recordFile;
    StrCatN(path.extension, "-journal", sizeof path.extension);
    return path;
}

int32_t DbJournal::Recover(FileHandle recordFile, const PathRecord& path, bool* undone)
{
    *undone = false;
    const PathRecord journalPath = PathFor(path);
    FileHandle journal = kNoFile;
    bool present = false;
    int32_t err = OpenJournal(journalPath, &journal, &present);
    if (!present || err != kErrNone)
        return err;
    DbJournalImage image;
    uint32_t recordSize = 0;
    err = DbGetSize(recordFile, &recordSize);
    // A journal that cannot be read to its end stays, for a repair.
    if (err == kErrNone && image.Read(journal, recordSize) != kErrNone)
        err = kUnreadable;
    bool belongs = true;
    if (err == kErrNone && image.state() == State::Pending)
        err = image.Belongs(recordFile, &belongs);
    if (err == kErrNone && image.state() == State::Unreadable)
        err = kUnreadable;
    else if (err == kErrNone && !belongs)
        err = kNotItsOwn;
    if (err == kErrNone && image.state() == State::Pending) {
        err = image.PlayBack(recordFile);
        *undone = err == kErrNone;
    }
    FileClose(journal);
    if (err != kErrNone)
        return err;
    // Undone for good (or nothing to undo); only now may the journal go.
    // One that cannot be cleared first is played back again at the next
    // open, which leaves the records as they are.
    if (*undone && FileOpen(&journalPath, kFileReadWrite, &journal) == kErrNone) {
        const uint8_t cleared[dbj::kHeaderSize] = {};
        if (DbWriteAt(journal, 0, cleared, dbj::kHeaderSize) == kErrNone)
            DbSync(journal);
        FileClose(journal);
    }
    FileDelete(&journalPath);
    return kErrNone;
}

DbJournal::State DbJournal::Inspect(const PathRecord& path, FileHandle recordFile)
{
    const PathRecord journalPath = PathFor(path);
    FileHandle journal = kNoFile;
    bool present = false;
    if (OpenJournal(journalPath, &journal, &present) != kErrNone)
        return present ? State::Unreadable : State::None;
    if (!present)
        return State::None;
    // The record file is read to check the journal belongs to it; one
    // another program holds open is taken as the journal's own.
    FileHandle records = recordFile;
    if (records == kNoFile && FileOpen(&path, kFileRead, &records) != kErrNone)
        records = kNoFile;
    struct stat recordStat {};
    DbJournalImage image;
    State state = State::Unreadable;
    if (::stat(PathRecordToPosix(path).c_str(), &recordStat) == 0 &&
        image.Read(journal, uint32_t(recordStat.st_size)) == kErrNone) {
        state = image.state();
        bool belongs = true;
        if (state == State::Pending && records != kNoFile && image.Belongs(records, &belongs) != kErrNone)
            state = State::Unreadable;
        else if (!belongs)
            state = State::NotItsOwn;
    }
    FileClose(journal);
    if (records != recordFile)
        FileClose(records);
    return state;
}

int32_t DbJournal::Discard(const PathRecord& path)
{
    const PathRecord journalPath = PathFor(path);
    const std::string journal = PathRecordToPosix(journalPath);
    struct stat st {};
    if (::lstat(journal.c_str(), &st) != 0)
        return errno == ENOENT ? kErrNone : Win32ErrorFromErrno(errno);
    if (S_ISREG(st.st_mode) && ::access(journal.c_str(), R_OK) != 0)
        return kErrAccessDenied;
    if (!S_ISDIR(st.st_mode))
        return FileDelete(&journalPath);
    return ::rmdir(journal.c_str()) == 0 ? kErrNone : Win32ErrorFromErrno(errno);
}

void DbJournal::Begin(FileHandle recordFile, const PathRecord& path, uint32_t size, bool loneAppend)
{
    recordFile_ = recordFile;
    path_ = path;
    active_ = true;
    lone_ = loneAppend;
    started_ = false;
    wrote_ = false;
    size_ = size;
    pending_.clear();
    kept_.clear();
}

int32_t DbJournal::Start()
{
    if (started_)
        return kErrNone;
    if (file_ == kNoFile) {
        const PathRecord journalPath = PathFor(path_);
        const int32_t err = FileCreate(&journalPath, kFileReadWrite, &file_);
        if (err != kErrNone) {
            file_ = kNoFile;
            return err;
        }
    }
    // The header names the record file as this change finds it; what an
    // earlier step left unflushed goes to the disk first, so that a crash
    // cannot take back bytes the check has seen.
    int32_t err = DbSync(recordFile_);
    if (err == kErrNone)
        err = DbJournalImage::CheckOf(recordFile_, size_, &check_);
    if (err != kErrNone)
        return err;
    salt_ = NewSalt();
    pending_.resize(dbj::kFrontSize);
    DbJournalImage::PutHeader(pending_.data(), salt_, size_, check_);
    uint8_t* copy = pending_.data() + dbj::kHeaderSize;
    std::memcpy(copy + dbj::kEntryHeadSize, pending_.data(), dbj::kHeaderSize);
    SealEntry(copy, size_, dbj::kHeaderSize, salt_);
    end_ = 0;
    started_ = true;
    return kErrNone;
}

int32_t DbJournal::Preserve(uint32_t offset, uint32_t n)
{
    if (!active_ || offset >= size_ || n == 0)
        return kErrNone;
    n = std::min(n, size_ - offset);
    auto before = kept_.upper_bound(offset);
    if (before != kept_.begin()) {
        --before;
        if (uint64_t(before->first) + before->second >= uint64_t(offset) + n)
            return kErrNone;
    }
    if (const int32_t err = Start(); err != kErrNone)
        return err;
    for (uint32_t done = 0; done < n;) {
        const uint32_t length = std::min(n - done, dbj::kMaxEntryLength);
        const size_t at = pending_.size();
        pending_.resize(at + dbj::kEntryHeadSize + length);
        uint8_t* head = pending_.data() + at;
        if (const int32_t err = DbReadAt(recordFile_, offset + done, head + dbj::kEntryHeadSize, length);
            err != kErrNone) {
            pending_.resize(at);
            return err;
        }
        SealEntry(head, offset + done, length, salt_);
        done += length;
    }
    uint32_t& kept = kept_[offset];
    kept = std::max(kept, n);
    return kErrNone;
}

int32_t DbJournal::Seal()
{
    if (pending_.empty())
        return kErrNone;
    int32_t err = DbWriteAt(file_, end_, pending_.data(), uint32_t(pending_.size()));
    if (err == kErrNone)
        err = DbSync(file_);
    if (err != kErrNone)
        return err;
    end_ += uint32_t(pending_.size());
    pending_.clear();
    return kErrNone;
}

int32_t DbJournal::BeforeWrite(uint32_t offset, uint32_t n)
{
    if (keep_)
        return keptError_;
    if (!active_)
        return kErrNone;
    if (!(lone_ && offset >= size_)) {
        if (const int32_t err = Start(); err != kErrNone)
            return err;
    }
    if (const int32_t err = Preserve(offset, n); err != kErrNone)
        return err;
    const int32_t err = Seal();
    if (err == kErrNone)
        wrote_ = true;
    return err;
}

int32_t DbJournal::BeforeResize(uint32_t size)
{
    if (keep_)
        return keptError_;
    if (!active_)
        return kErrNone;
    // Cutting back what the change itself appended needs nothing kept.
    if (size < size_) {
        if (const int32_t err = Preserve(size, size_ - size); err != kErrNone)
            return err;
    }
    if (!lone_ || size < size_) {
        if (const int32_t err = Start(); err != kErrNone)
            return err;
    }
    const int32_t err = Seal();
    if (err == kErrNone)
        wrote_ = true;
    return err;
}

int32_t DbJournal::Commit()
{
    if (!active_)
        return kErrNone;
    int32_t err = kErrNone;
    if (wrote_)
        err = DbSync(recordFile_);
    if (err == kErrNone && started_ && end_ > 0) {
        const uint8_t cleared[dbj::kHeaderSize] = {};
        err = DbWriteAt(file_, 0, cleared, dbj::kHeaderSize);
        if (err == kErrNone)
            err = DbSync(file_);
    }
    // A change that cannot be made durable is still under way: the caller
    // takes it back with Undo.
    if (err != kErrNone)
        return err;
    active_ = false;
    started_ = false;
    wrote_ = false;
    pending_.clear();
    kept_.clear();
    return err;
}

int32_t DbJournal::PlayBackKept()
{
    // The header as this change wrote it, even when a failed commit may
    // have cleared it on the disk.
    uint8_t header[dbj::kHeaderSize];
    DbJournalImage::PutHeader(header, salt_, size_, check_);
    DbJournalImage image;
    int32_t err = image.ReadOwn(file_, header, end_);
    if (err == kErrNone)
        err = image.PlayBack(recordFile_);
    return err;
}

int32_t DbJournal::Undo()
{
    if (!active_)
        return kErrNone;
    int32_t err = kErrNone;
    // Only what reached the journal can have been overwritten in the
    // record file (each stretch is kept before it is written), so nothing
    // needs writing to the journal now: a full disk can still undo.
    if (started_ && end_ >= dbj::kHeaderSize) {
        err = PlayBackKept();
    } else {
        uint32_t now = 0;
        err = DbGetSize(recordFile_, &now);
        if (err == kErrNone && now > size_) {
            err = DbSetSize(recordFile_, size_);
            if (err == kErrNone)
                err = DbSync(recordFile_);
        }
    }
    // Undone, or left to be tried again: the journal must then outlive
    // this session, and no other change may write over it.
    if (err != kErrNone) {
        active_ = false;
        keep_ = started_ && end_ >= dbj::kHeaderSize;
        keptError_ = err;
        return err;
    }
    wrote_ = false;
    // The record file is back as it was and flushed. A journal header that
    // could not be cleared is overwritten by the next change, or removed
    // at the close.
    if (Commit() != kErrNone) {
        active_ = false;
        started_ = false;
        pending_.clear();
        kept_.clear();
    }
    return kErrNone;
}

int32_t DbJournal::RetryUndo()
{
    if (!keep_)
        return kErrNone;
    const int32_t err = PlayBackKept();
    if (err != kErrNone) {
        keptError_ = err;
        return err;
    }
    keep_ = false;
    started_ = false;
    // Undone; a header that cannot be cleared is written over by the next
    // change, or goes with the journal at the close.
    const uint8_t cleared[dbj::kHeaderSize] = {};
    if (DbWriteAt(file_, 0, cleared, dbj::kHeaderSize) == kErrNone)
        DbSync(file_);
    return kErrNone;
}

void DbJournal::Close()
{
    active_ = false;
    if (file_ == kNoFile)
        return;
    FileClose(file_);
    file_ = kNoFile;
    // A change still to be undone is the next open's to undo.
    if (keep_) {
        keep_ = false;
        return;
    }
    const PathRecord journalPath = PathFor(path_);
    FileDelete(&journalPath);
}
