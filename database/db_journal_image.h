// A journal as read back from the disk (layout in db_journal_format.h):
// what its front says (the header, or the copy of it when the header was
// damaged), and the entries that reached the disk whole. Only as much of
// the file is read as it holds of the change, however long the file is.
#pragma once

#include <cstdint>
#include <vector>

#include "database/db_journal.h"
#include "database/db_journal_format.h"
#include "foundation/file_io.h"

class DbJournalImage {
public:
    // Reads the journal open in journal, beside a record file recordSize
    // bytes long. 0 or the code of a read that failed.
    int32_t Read(FileHandle journal, uint32_t recordSize);
    // Reads the entries of a change this session made, whose header is
    // header (the one on the disk may be gone), up to end.
    int32_t ReadOwn(FileHandle journal, const uint8_t* header, uint32_t end);

    DbJournal::State state() const { return state_; }
    // A pending journal that names the record file it was made for.
    bool HasStateCheck() const;
    // Whether the old bytes kept, put over the record file, give back the
    // bytes the change found there. 0 or the code of a read that failed.
    int32_t Belongs(FileHandle recordFile, bool* belongs) const;
    // Puts the old bytes back (the oldest of a stretch kept twice last),
    // cuts the record file to its old size and flushes it.
    int32_t PlayBack(FileHandle recordFile) const;

    // The check a header keeps of the first size bytes of a record file.
    static int32_t CheckOf(FileHandle recordFile, uint32_t size, uint32_t* check);
    // A header into header (kHeaderSize bytes).
    static void PutHeader(uint8_t* header, uint32_t salt, uint32_t size, uint32_t check,
                          uint32_t version = dbj::kVersion);

private:
    struct Entry {
        uint32_t offset;
        uint32_t length;
        size_t at;  // where its bytes are in kept_
    };
    int32_t ReadEntries(FileHandle journal, uint32_t end);
    uint32_t OriginalSize() const;

    DbJournal::State state_ = DbJournal::State::None;
    uint8_t header_[dbj::kHeaderSize] = {};
    std::vector<Entry> entries_;
    std::vector<uint8_t> kept_;
};
