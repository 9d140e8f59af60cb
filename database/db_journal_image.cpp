#include "database/db_journal_image.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <map>
#include <new>

#include "database/db_file_io.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"

namespace {

uint32_t ImageCrc(uint32_t crc, const uint8_t* bytes, uint32_t n)
{
    return uint32_t(crc32_z(crc, bytes, n));
}

bool HeaderIsValid(const uint8_t* header)
{
    const uint32_t version = GetU32LE(header + dbj::kVersionAt);
    return GetU32LE(header + dbj::kMagicAt) == dbj::kMagic &&
           (version == dbj::kVersion || version == dbj::kVersionWithoutCheck) &&
           ImageCrc(0, header, dbj::kHeaderCrcAt) == GetU32LE(header + dbj::kHeaderCrcAt);
}

// The copy of the header in the first entry, when it reached the disk whole.
bool CopyIsSound(const uint8_t* front)
{
    const uint8_t* head = front + dbj::kHeaderSize;
    const uint8_t* copy = front + dbj::kCopyAt;
    return GetU32LE(head + dbj::kEntryLengthAt) == dbj::kHeaderSize && HeaderIsValid(copy) &&
           GetU32LE(copy + dbj::kSaltAt) == GetU32LE(head + dbj::kEntrySaltAt) &&
           GetU32LE(head + dbj::kEntryOffsetAt) == GetU32LE(copy + dbj::kOriginalSizeAt) &&
           ImageCrc(ImageCrc(0, head, dbj::kEntryCrcAt), copy, dbj::kHeaderSize) == GetU32LE(head + dbj::kEntryCrcAt);
}

// True when the header differs from its sound copy only as the copy is
// there to mend: one changed bit, or bytes zeroed while the rest still
// agrees (its first bytes, as a clearing cut short or damage leaves them;
// or any, while it names the copy's change). A header zeroed whole is a
// finished change's, and mended by nothing.
bool CopyMends(const uint8_t* header, const uint8_t* copy)
{
    int changedBits = 0;
    for (uint32_t i = 0; i < dbj::kHeaderSize; ++i)
        changedBits += std::popcount(uint8_t(header[i] ^ copy[i]));
    if (changedBits <= 1)
        return true;
    bool kept = false;
    for (uint32_t i = 0; i < dbj::kHeaderSize; ++i) {
        if (header[i] != copy[i] && header[i] != 0)
            return false;
        kept = kept || header[i] != 0;
    }
    // A header whose first write a crash cut short over an older change's
    // copy starts as every header does, and names a change of its own.
    return kept && (header[0] == 0 || GetU32LE(header + dbj::kSaltAt) == GetU32LE(copy + dbj::kSaltAt));
}

// True when the first `got` bytes of a header (the rest zeros, or not
// there) are the start of the header of a change that found the record
// file recordSize bytes long: what a crash leaves of a header whose write
// it cut short. That change wrote nothing before its header was on the
// disk whole, so the record file is as it found it.
bool IsHeaderCutShort(const uint8_t* bytes, uint32_t got, uint32_t recordSize)
{
    uint8_t expected[dbj::kHeaderSize];
    const uint32_t version = bytes[dbj::kVersionAt] == dbj::kVersionWithoutCheck ? dbj::kVersionWithoutCheck : dbj::kVersion;
    DbJournalImage::PutHeader(expected, 0, recordSize, 0, version);
    for (uint32_t i = 0; i < got && i < dbj::kHeaderCrcAt; ++i) {
        const bool unknown = (i >= dbj::kSaltAt && i < dbj::kSaltAt + 4) ||
                             (i >= dbj::kStateCheckAt && i < dbj::kStateCheckAt + 4);
        if (!unknown && bytes[i] != expected[i])
            return false;
    }
    return true;
}

// True when nothing but zeros follows offset from in the journal.
int32_t ZerosFrom(FileHandle journal, uint32_t from, uint32_t size, bool* zeros)
{
    *zeros = true;
    std::vector<uint8_t> piece(size_t(1) << 20);
    for (uint32_t at = from; at < size && *zeros;) {
        const uint32_t n = std::min<uint32_t>(uint32_t(piece.size()), size - at);
        if (const int32_t err = DbReadAt(journal, at, piece.data(), n); err != kErrNone)
            return err;
        *zeros = std::all_of(piece.begin(), piece.begin() + n, [](uint8_t b) { return b == 0; });
        at += n;
    }
    return kErrNone;
}

// The bytes a record file held at a change's start, as stretches of kept
// bytes (by offset: end, bytes) over what the file holds now.
using Overlay = std::map<uint32_t, std::pair<uint32_t, const uint8_t*>>;

// The check of the first size bytes of the file with the overlay put over
// it; *whole is false when the file ends before a byte the overlay lacks.
int32_t OverlaidCheck(FileHandle file, uint32_t size, const Overlay& overlay, uint32_t* check, bool* whole)
{
    *whole = true;
    uint32_t now = 0;
    if (const int32_t err = DbGetSize(file, &now); err != kErrNone)
        return err;
    uint32_t crc = ImageCrc(0, nullptr, 0);
    std::vector<uint8_t> piece(size_t(256) << 10);
    const auto fromFile = [&](uint32_t at, uint32_t end) -> int32_t {
        if (end > now) {
            *whole = false;
            return kErrNone;
        }
        while (at < end) {
            const uint32_t n = std::min<uint32_t>(uint32_t(piece.size()), end - at);
            if (const int32_t err = DbReadAt(file, at, piece.data(), n); err != kErrNone)
                return err;
            crc = ImageCrc(crc, piece.data(), n);
            at += n;
        }
        return kErrNone;
    };
    uint32_t at = 0;
    for (const auto& [start, kept] : overlay) {
        if (const int32_t err = fromFile(at, start); err != kErrNone || !*whole)
            return err;
        crc = ImageCrc(crc, kept.second, kept.first - start);
        at = kept.first;
    }
    const int32_t err = fromFile(at, size);
    *check = crc;
    return err;
}

}  // namespace

void DbJournalImage::PutHeader(uint8_t* header, uint32_t salt, uint32_t size, uint32_t check, uint32_t version)
{
    std::memset(header, 0, dbj::kHeaderSize);
    PutU32LE(header + dbj::kMagicAt, dbj::kMagic);
    PutU32LE(header + dbj::kVersionAt, version);
    PutU32LE(header + dbj::kSaltAt, salt);
    PutU32LE(header + dbj::kOriginalSizeAt, size);
    PutU32LE(header + dbj::kStateCheckAt, check);
    PutU32LE(header + dbj::kHeaderCrcAt, ImageCrc(0, header, dbj::kHeaderCrcAt));
}

int32_t DbJournalImage::CheckOf(FileHandle recordFile, uint32_t size, uint32_t* check)
{
    bool whole = true;
    const int32_t err = OverlaidCheck(recordFile, size, Overlay(), check, &whole);
    return err == kErrNone && !whole ? kErrHandleEof : err;
}

int32_t DbJournalImage::Read(FileHandle journal, uint32_t recordSize)
{
    state_ = DbJournal::State::None;
    entries_.clear();
    kept_.clear();
    uint32_t size = 0;
    if (const int32_t err = FileGetSize(journal, &size); err != kErrNone)
        return err;
    uint8_t front[dbj::kFrontSize] = {};
    const uint32_t n = std::min(size, dbj::kFrontSize);
    if (const int32_t err = DbReadAt(journal, 0, front, n); err != kErrNone)
        return err;
    const bool copySound = n == dbj::kFrontSize && CopyIsSound(front);
    if (n >= dbj::kHeaderSize && HeaderIsValid(front)) {
        std::memcpy(header_, front, dbj::kHeaderSize);
    } else if (copySound && CopyMends(front, front + dbj::kCopyAt)) {
        std::memcpy(header_, front + dbj::kCopyAt, dbj::kHeaderSize);
    } else {
        // No header to go by. The header bytes up to the last that is not
        // zero: a finished change cleared them all (and left the rest), a
        // journal just made has none, and a crash may cut the header's
        // first write short. Anything else is a change that did not finish
        // and cannot say what to undo.
        uint32_t got = std::min(n, dbj::kHeaderSize);
        while (got > 0 && front[got - 1] == 0)
            --got;
        bool zeros = false;
        int32_t err = ZerosFrom(journal, dbj::kHeaderSize, size, &zeros);
        if (err != kErrNone)
            return err;
        if (got == 0 && (copySound || zeros))
            return kErrNone;
        if (got > 0 && got < dbj::kHeaderSize && IsHeaderCutShort(front, got, recordSize) &&
            (zeros || copySound))
            return kErrNone;
        state_ = DbJournal::State::Unreadable;
        return kErrNone;
    }
    state_ = DbJournal::State::Pending;
    return ReadEntries(journal, size);
}

int32_t DbJournalImage::ReadOwn(FileHandle journal, const uint8_t* header, uint32_t end)
{
    std::memcpy(header_, header, dbj::kHeaderSize);
    state_ = DbJournal::State::Pending;
    entries_.clear();
    kept_.clear();
    return ReadEntries(journal, end);
}

int32_t DbJournalImage::ReadEntries(FileHandle journal, uint32_t end)
{
    const uint32_t salt = GetU32LE(header_ + dbj::kSaltAt);
    uint32_t at = dbj::kHeaderSize;
    while (end - at >= dbj::kEntryHeadSize) {
        uint8_t head[dbj::kEntryHeadSize];
        if (const int32_t err = DbReadAt(journal, at, head, dbj::kEntryHeadSize); err != kErrNone)
            return err;
        const uint32_t length = GetU32LE(head + dbj::kEntryLengthAt);
        if (GetU32LE(head + dbj::kEntrySaltAt) != salt || length == 0 || length > dbj::kMaxEntryLength ||
            end - at - dbj::kEntryHeadSize < length)
            break;
        const size_t bytesAt = kept_.size();
        try {
            kept_.resize(bytesAt + length);
        } catch (const std::bad_alloc&) {
            return kErrNotEnoughMemory;
        }
        uint8_t* bytes = kept_.data() + bytesAt;
        if (const int32_t err = DbReadAt(journal, at + dbj::kEntryHeadSize, bytes, length); err != kErrNone)
            return err;
        if (ImageCrc(ImageCrc(0, head, dbj::kEntryCrcAt), bytes, length) != GetU32LE(head + dbj::kEntryCrcAt)) {
            kept_.resize(bytesAt);
            break;
        }
        entries_.push_back({GetU32LE(head + dbj::kEntryOffsetAt), length, bytesAt});
        at += dbj::kEntryHeadSize + length;
    }
    return kErrNone;
}

uint32_t DbJournalImage::OriginalSize() const { return GetU32LE(header_ + dbj::kOriginalSizeAt); }

bool DbJournalImage::HasStateCheck() const
{
    return state_ == DbJournal::State::Pending && GetU32LE(header_ + dbj::kVersionAt) == dbj::kVersion;
}

int32_t DbJournalImage::Belongs(FileHandle recordFile, bool* belongs) const
{
    *belongs = true;
    if (!HasStateCheck())
        return kErrNone;
    // Each byte from the oldest entry that kept it, as a playback leaves it.
    const uint32_t original = OriginalSize();
    Overlay overlay;
    for (const Entry& e : entries_) {
        const uint32_t end = uint32_t(std::min<uint64_t>(uint64_t(e.offset) + e.length, original));
        uint32_t at = e.offset;
        while (at < end) {
            auto next = overlay.upper_bound(at);
            if (next != overlay.begin()) {
                const auto before = std::prev(next);
                if (before->second.first > at) {
                    at = before->second.first;
                    continue;
                }
            }
            const uint32_t gapEnd = next == overlay.end() ? end : std::min(end, next->first);
            overlay[at] = {gapEnd, kept_.data() + e.at + (at - e.offset)};
            at = gapEnd;
        }
    }
    uint32_t check = 0;
    bool whole = true;
    const int32_t err = OverlaidCheck(recordFile, original, overlay, &check, &whole);
    *belongs = err == kErrNone && whole && check == GetU32LE(header_ + dbj::kStateCheckAt);
    return err;
}

int32_t DbJournalImage::PlayBack(FileHandle recordFile) const
{
    const uint32_t original = OriginalSize();
    int32_t err = kErrNone;
    // Newest first: a stretch kept twice gets its oldest bytes last.
    for (auto e = entries_.rbegin(); err == kErrNone && e != entries_.rend(); ++e) {
        if (e->offset >= original)
            continue;
        err = DbWriteAt(recordFile, e->offset, kept_.data() + e->at, std::min(e->length, original - e->offset));
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
