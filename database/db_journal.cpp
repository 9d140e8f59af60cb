#include "database/db_journal.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>
#include <memory>
#include <new>

#include "database/db_file_io.h"
#include "database/db_journal_format.h"
#include "foundation/byte_order.h"
#include "foundation/cstr.h"
#include "foundation/win_error.h"

namespace {

// A journal is the old bytes of one change; anything much larger than a
// whole record file is no journal of ours.
constexpr uint32_t kMaxJournalSize = 256u << 20;

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

void PutHeader(uint8_t* header, uint32_t salt, uint32_t size)
{
    std::memset(header, 0, dbj::kHeaderSize);
    PutU32LE(header + dbj::kMagicAt, dbj::kMagic);
    PutU32LE(header + dbj::kVersionAt, dbj::kVersion);
    PutU32LE(header + dbj::kSaltAt, salt);
    PutU32LE(header + dbj::kOriginalSizeAt, size);
    PutU32LE(header + dbj::kHeaderCrcAt, Crc(0, header, dbj::kHeaderCrcAt));
}

bool HeaderIsValid(const uint8_t* header)
{
    return GetU32LE(header + dbj::kMagicAt) == dbj::kMagic && GetU32LE(header + dbj::kVersionAt) == dbj::kVersion &&
           Crc(0, header, dbj::kHeaderCrcAt) == GetU32LE(header + dbj::kHeaderCrcAt);
}

// Fills in the head of an entry whose length bytes follow it.
void SealEntry(uint8_t* head, uint32_t offset, uint32_t length, uint32_t salt)
{
    PutU32LE(head + dbj::kEntryOffsetAt, offset);
    PutU32LE(head + dbj::kEntryLengthAt, length);
    PutU32LE(head + dbj::kEntrySaltAt, salt);
    PutU32LE(head + dbj::kEntryCrcAt, Crc(Crc(0, head, dbj::kEntryCrcAt), head + dbj::kEntryHeadSize, length));
}

// The header of a journal image into header: its own when sound, else the
// copy in its first entry, when that is sound and the header differs from
// it only as a cut or one changed bit leaves it.
bool SoundHeader(const std::vector<uint8_t>& image, uint8_t* header)
{
    if (image.size() >= dbj::kHeaderSize && HeaderIsValid(image.data())) {
        std::memcpy(header, image.data(), dbj::kHeaderSize);
        return true;
    }
    if (image.size() < 2 * dbj::kHeaderSize + dbj::kEntryHeadSize)
        return false;
    const uint8_t* head = image.data() + dbj::kHeaderSize;
    const uint8_t* copy = head + dbj::kEntryHeadSize;
    const uint32_t salt = GetU32LE(head + dbj::kEntrySaltAt);
    if (GetU32LE(head + dbj::kEntryLengthAt) != dbj::kHeaderSize || !HeaderIsValid(copy) ||
        GetU32LE(copy + dbj::kSaltAt) != salt ||
        GetU32LE(head + dbj::kEntryOffsetAt) != GetU32LE(copy + dbj::kOriginalSizeAt) ||
        Crc(Crc(0, head, dbj::kEntryCrcAt), copy, dbj::kHeaderSize) != GetU32LE(head + dbj::kEntryCrcAt))
        return false;
    int changedBits = 0;
    for (uint32_t i = 0; i < dbj::kHeaderSize; ++i)
        changedBits += std::popcount(uint8_t(image[i] ^ copy[i]));
    if (changedBits > 1)
        return false;
    std::memcpy(header, copy, dbj::kHeaderSize);
    return true;
}

// True when the first `got` bytes of a header (the rest zeros, or not
// there) are the start of the header of a change that found the record
// file recordSize bytes long: what a crash leaves of a header whose write
// it cut short. That change wrote nothing before its header was on the
// disk whole, so the record file is as it found it.
bool IsHeaderCutShort(const uint8_t* bytes, uint32_t got, uint32_t recordSize)
{
    uint8_t expected[dbj::kHeaderSize] = {};
    PutHeader(expected, 0, recordSize);
    for (uint32_t i = 0; i < got && i < dbj::kHeaderCrcAt; ++i) {
        if (i >= dbj::kSaltAt && i < dbj::kOriginalSizeAt)
            continue;
        if (bytes[i] != expected[i])
            return false;
    }
    return true;
}

// What a journal image says, and the header of a change to undo.
DbJournal::State ReadState(const std::vector<uint8_t>& image, uint32_t recordSize, uint8_t* header)
{
    // The header bytes up to the last that is not zero: a finished change
    // cleared them all, and a journal just made has none.
    uint32_t got = uint32_t(std::min<size_t>(image.size(), dbj::kHeaderSize));
    while (got > 0 && image[got - 1] == 0)
        --got;
    if (got == 0)
        return DbJournal::State::None;
    if (SoundHeader(image, header))
        return DbJournal::State::Pending;
    // A clearing the crash cut short: zeros, then what is left of the
    // header. The change was on the disk before its journal was cleared.
    if (image[0] == 0)
        return DbJournal::State::None;
    if (got < dbj::kHeaderSize && IsHeaderCutShort(image.data(), got, recordSize))
        return DbJournal::State::None;
    return DbJournal::State::Unreadable;
}

// The whole journal at path into image; 0 or the code. A journal larger
// than any of ours reads as none.
int32_t ReadImage(FileHandle journal, std::vector<uint8_t>* image)
{
    uint32_t size = 0;
    int32_t err = FileGetSize(journal, &size);
    if (err != kErrNone || size > kMaxJournalSize)
        return err;
    try {
        image->resize(size);
    } catch (const std::bad_alloc&) {
        return kErrNotEnoughMemory;
    }
    err = DbReadAt(journal, 0, image->data(), size);
    return err == kErrHandleEof ? kErrNone : err;
}

struct Entry {
    uint32_t offset;
    uint32_t length;
    const uint8_t* bytes;
};

// The entries of a journal image whose header is valid, up to the first
// that did not reach the disk whole.
std::vector<Entry> ReadEntries(const std::vector<uint8_t>& image, uint32_t salt)
{
    std::vector<Entry> entries;
    size_t at = dbj::kHeaderSize;
    while (image.size() - at >= dbj::kEntryHeadSize) {
        const uint8_t* head = image.data() + at;
        const uint32_t length = GetU32LE(head + dbj::kEntryLengthAt);
        if (GetU32LE(head + dbj::kEntrySaltAt) != salt || length == 0 || length > dbj::kMaxEntryLength ||
            image.size() - at - dbj::kEntryHeadSize < length)
            break;
        const uint8_t* bytes = head + dbj::kEntryHeadSize;
        if (Crc(Crc(0, head, dbj::kEntryCrcAt), bytes, length) != GetU32LE(head + dbj::kEntryCrcAt))
            break;
        entries.push_back({GetU32LE(head + dbj::kEntryOffsetAt), length, bytes});
        at += dbj::kEntryHeadSize + length;
    }
    return entries;
}

// Puts back what the journal image (whose header is valid) kept, cuts the
// record file to its old size and flushes it.
int32_t PlayBack(FileHandle recordFile, const std::vector<uint8_t>& image)
{
    const uint32_t original = GetU32LE(image.data() + dbj::kOriginalSizeAt);
    const std::vector<Entry> entries = ReadEntries(image, GetU32LE(image.data() + dbj::kSaltAt));
    int32_t err = kErrNone;
    // Newest first: a stretch kept twice gets its oldest bytes last.
    for (auto e = entries.rbegin(); err == kErrNone && e != entries.rend(); ++e) {
        if (e->offset >= original)
            continue;
        err = DbWriteAt(recordFile, e->offset, e->bytes, std::min(e->length, original - e->offset));
    }
    uint32_t now = 0;
    if (err == kErrNone)
        err = DbGetSize(recordFile, &now);
    if (err == kErrNone && now > original)
        err = DbSetSize(recordFile, original);
    if (err == kErrNone)
        err = DbSync(recordFile);
    return err;
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
    if (!FileExists(&journalPath, 0))
        return kErrNone;
    FileHandle journal = kNoFile;
    int32_t err = FileOpen(&journalPath, kFileReadWrite, &journal);
    if (err != kErrNone)
        return err;
    std::vector<uint8_t> image;
    uint32_t recordSize = 0;
    err = ReadImage(journal, &image);
    if (err == kErrNone)
        err = DbGetSize(recordFile, &recordSize);
    uint8_t header[dbj::kHeaderSize];
    const State state = err == kErrNone ? ReadState(image, recordSize, header) : State::None;
    if (state == State::Unreadable) {
        // Kept, for a repair to take the records as they stand.
        FileClose(journal);
        return kUnreadable;
    }
    if (state == State::Pending) {
        std::memcpy(image.data(), header, dbj::kHeaderSize);
        err = PlayBack(recordFile, image);
        if (err == kErrNone) {
            // Undone for good; only now may the journal go.
            const uint8_t cleared[dbj::kHeaderSize] = {};
            err = DbWriteAt(journal, 0, cleared, dbj::kHeaderSize);
            if (err == kErrNone)
                err = DbSync(journal);
        }
        *undone = err == kErrNone;
    }
    FileClose(journal);
    if (err == kErrNone)
        FileDelete(&journalPath);
    return err;
}

DbJournal::State DbJournal::Inspect(const PathRecord& path)
{
    const PathRecord journalPath = PathFor(path);
    FileHandle journal = kNoFile;
    if (!FileExists(&journalPath, 0) || FileOpen(&journalPath, kFileRead, &journal) != kErrNone)
        return State::None;
    std::vector<uint8_t> image;
    const int32_t err = ReadImage(journal, &image);
    FileClose(journal);
    struct stat records {};
    if (err != kErrNone || ::stat(PathRecordToPosix(path).c_str(), &records) != 0)
        return State::Unreadable;
    uint8_t header[dbj::kHeaderSize];
    return ReadState(image, uint32_t(records.st_size), header);
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
    salt_ = NewSalt();
    pending_.resize(2 * dbj::kHeaderSize + dbj::kEntryHeadSize);
    PutHeader(pending_.data(), salt_, size_);
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
    std::vector<uint8_t> image;
    try {
        image.resize(end_);
    } catch (const std::bad_alloc&) {
        return kErrNotEnoughMemory;
    }
    int32_t err = DbReadAt(file_, 0, image.data(), end_);
    // The header as this change wrote it, even when a failed commit may
    // have cleared it on the disk.
    if (err == kErrNone) {
        PutHeader(image.data(), salt_, size_);
        err = PlayBack(recordFile_, image);
    }
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
