// The journal that makes each change to a record file whole or absent
// after a crash (layout in db_journal_format.h).
//
// A change begins with the record file's size. Before any byte the file
// held at the start is overwritten, its old value goes into the journal,
// and the journal is flushed before the record file is touched. The change
// ends by flushing the record file and clearing the journal's header. At
// the next open, a journal whose header is still valid is undone: the old
// bytes go back and the file is cut to its old size.
//
// A change that only appends one record needs no journal: the record is
// either whole at the end of the file or a fragment that the next open
// recognises and cuts off.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/path_record.h"

class DbJournal {
public:
    DbJournal() = default;
    ~DbJournal();
    DbJournal(const DbJournal&) = delete;
    DbJournal& operator=(const DbJournal&) = delete;

    // The journal of the record file at path.
    static PathRecord PathFor(const PathRecord& recordFile);

    // What a journal beside a record file says.
    enum class State {
        None,        // no change under way (none, finished, or one whose
                     // journal never reached the disk, so nothing else did)
        Pending,     // a change that did not finish, to be undone
        Unreadable,  // a change that did not finish, and its journal cannot
                     // say what to undo
        NotItsOwn,   // a journal made for another record file, or for this
                     // one as it no longer stands: never played back
    };
    // Undoes the change a journal beside the record file left unfinished.
    // *undone tells whether there was one. 0 or the code of the step that
    // failed (the journal then stays for the next try); kUnreadable for a
    // journal that cannot be read, which stays for a repair; kNotItsOwn for
    // one that was not made for this record file, which stays too.
    static int32_t Recover(FileHandle recordFile, const PathRecord& path, bool* undone);
    static constexpr int32_t kUnreadable = 1392;  // the system's "file is corrupt"
    static constexpr int32_t kNotItsOwn = 1006;   // the system's "file altered, no longer valid"
    // What the journal beside the record file at path says; recordFile is
    // that file when it is open here (the file layer lets it be open once).
    static State Inspect(const PathRecord& path, FileHandle recordFile = kNoFile);
    // True when a journal beside the record file holds a change that did
    // not finish, readable or not.
    static bool IsPending(const PathRecord& path) { return Inspect(path) != State::None; }
    // Removes the journal beside the record file at path, for a repair that
    // keeps the records as they stand: whatever is there, but a file this
    // user cannot read (its owner may still undo its change) or a folder
    // that holds anything. 0 or the code.
    static int32_t Discard(const PathRecord& path);

    // Starts a change of the open record file, whose size is size. With
    // loneAppend the change is one record written at the end of the file,
    // and needs no journal unless it writes anywhere else.
    void Begin(FileHandle recordFile, const PathRecord& path, uint32_t size, bool loneAppend);
    bool Active() const { return active_; }
    // The change only appends one record and keeps no journal.
    bool Lone() const { return lone_; }
    // Before n bytes at offset are written: keeps the old bytes of the part
    // the file held at the start, and makes the journal durable. 0 or the
    // code; on failure nothing may be written.
    int32_t BeforeWrite(uint32_t offset, uint32_t n);
    // Before the file is cut or grown to size.
    int32_t BeforeResize(uint32_t size);
    // Keeps the old bytes of a stretch that is about to be written, without
    // flushing yet: a pass that changes many places says so first, and the
    // journal is then flushed once.
    int32_t Preserve(uint32_t offset, uint32_t n);
    // Ends the change: the record file is flushed, then the journal let go.
    // 0 or the code; after a failure the change is still under way, for
    // Undo to take back.
    int32_t Commit();
    // Ends a change one of whose steps failed: the record file goes back
    // to what it held at the start. 0 or the code (the journal then undoes
    // the change at the next open).
    int32_t Undo();
    // A change whose undo failed stays in the journal, and every later
    // write is refused (with the code of that failure) until RetryUndo
    // takes it back: 0 or the code.
    bool Stuck() const { return keep_; }
    int32_t RetryUndo();
    // Closes and removes the journal file; at the database's close. A
    // change still to be undone keeps it, for the next open.
    void Close();

private:
    // Reads the journal and puts the old bytes it holds back into the record
    // file; the undo of Undo and RetryUndo alike.
    int32_t PlayBackKept();
    int32_t Start();
    int32_t Seal();

    FileHandle recordFile_ = kNoFile;
    PathRecord path_{};
    FileHandle file_ = kNoFile;
    bool active_ = false;
    bool lone_ = false;
    bool started_ = false;   // the header of this change is written
    bool wrote_ = false;     // the record file changed
    bool keep_ = false;      // a change could not be undone yet
    int32_t keptError_ = 0;  // why
    uint32_t size_ = 0;      // the record file's size at the start
    uint32_t salt_ = 0;
    uint32_t check_ = 0;     // of the record file's first size_ bytes at the start
    uint32_t end_ = 0;       // where the next entry goes
    std::vector<uint8_t> pending_;  // entries not yet written
    std::map<uint32_t, uint32_t> kept_;  // stretches already kept: offset, length
};
