// The index file of a card database: a B-tree on disk that keeps one entry
// per record of the current selection in key order.
//
// The record engine reaches records in sort order, counts positions and
// finds records through one IndexFile per open database. Every operation
// works on the object's single cursor. The index is disposable: a file left
// unclean or found damaged is deleted and built again from the record file.
//
// Results follow the database convention: 1 success, 0 not found or
// refused, -1 failure, -2 past either end. After a damaged block or an I/O
// error the index is failed: the error is reported once, every further
// operation returns -1 without touching the file, and Close deletes it.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "database/index_format.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"

// An entry as callers hand it in and get it back (164 bytes).
struct IndexEntry {
    int32_t child;           // block of the keys after this one; -1 none
    int32_t recordPosition;  // offset of the record in the record file
    uint32_t sequence;       // orders equal keys by age
    char key[152];           // NUL-terminated, at most 149 characters used
};

// Kinds of index error.
enum : int16_t {
    kIndexErrorOpen = 0,   // "Error - cannot open/close index file", system code
    kIndexErrorRead = 1,   // "Error while reading index file", system code
    kIndexErrorWrite = 2,  // "Error while writing file", number 1
};

// The number reported with a read error when the bytes read are not a
// sound block (the system's "file is corrupt" code).
constexpr int32_t kIndexErrorCorrupt = 1392;

// Blocks the cache holds unless the owner asks for another number.
constexpr int32_t kIndexCacheBlocks = 8;

// Receives every index error instead of the default box. fileName is the
// index file's name without its extension; position the block's position.
using IndexErrorReporter = void (*)(void* context, int16_t kind, int32_t number, int32_t position,
                                    const char* fileName);

// The text of the default box: "%s [%ld] \nRecord %d \nFile %s" with the
// kind's text, or an empty text when number is 0.
std::string FormatIndexErrorText(int16_t kind, int32_t number, int32_t position, const char* fileName);

// What CheckStructure found.
struct IndexCheckReport {
    std::string problem;  // empty when sound
    int32_t levels = 0;
    int32_t entries = 0;
    int32_t treeBlocks = 0;  // the root included
    int32_t freeBlocks = 0;
    int32_t fileBlocks = 0;  // blocks after the header page
};

// What an index file on the disk holds, read without changing it.
struct IndexSurvey {
    bool clean = false;  // closed in order, and its tree sound
    int32_t entries = 0;
    uint32_t contentCheck = 0;  // as IndexFile::ContentCheck
};

class IndexFile {
public:
    // Reads the index at path without writing to it (nor taking it for
    // use): false when it cannot be read at all.
    static bool Survey(const PathRecord* path, IndexSurvey* survey);

    // Asked before the tree takes a block, before anything changes: the
    // record file puts what waits to be written on the disk first, so no
    // block ever names a record the disk has not got. False stops the
    // insert with the tree as it was.
    void SetBeforeNewBlock(std::function<bool()> hook) { beforeNewBlock_ = std::move(hook); }
    explicit IndexFile(int32_t cacheBlocks = kIndexCacheBlocks);
    // Closes a file still open without marking it clean, so that the next
    // open rebuilds it.
    ~IndexFile();
    IndexFile(const IndexFile&) = delete;
    IndexFile& operator=(const IndexFile&) = delete;

    // Creates or empties the file; 1, or 0 after reporting the failure.
    // durable: the new file's unclean mark is flushed to the disk before
    // the call returns, so that a crash cannot bring back an older index
    // marked clean under the name. A caller that only replaces an index it
    // created or opened itself (whose file has never been marked clean
    // since) may do without.
    int32_t Create(const PathRecord* path, int16_t duplicatesAllowed, bool durable = true);
    // Opens an index closed in order. A file left unclean or not sound is
    // deleted and 0 returned: the caller creates a new one.
    int32_t Open(const PathRecord* path, int16_t duplicatesAllowed);
    // Empties the open index as Create would make it anew, but in the file
    // it has: the new tree's blocks are written over the old ones, and
    // what lies past its end is cut off at the close. Only for an index
    // created or opened here (its file says unclean on the disk, so a crash
    // leaves nothing to trust). 1, or 0 after reporting the failure.
    int32_t Empty();
    void SetDiscard(int16_t flag);
    // What the file boxes name when the disk refuses the index: the user
    // knows the database, and where a reader's index lives, not the
    // index's own name.
    void SetLabel(std::string label) { label_ = std::move(label); }
    const std::string& Label() const { return label_; }
    // Writes everything back and marks the file clean, or deletes it when
    // discarding or failed. 1, or 0 when writing failed.
    int32_t Close();

    // Cursor before the first entry / after the last one.
    int32_t GoFirst() { return GoEnd(false); }
    int32_t GoLast() { return GoEnd(true); }
    // Moves the cursor one entry and copies that entry; -2 at the end.
    int32_t GetNext(IndexEntry* entry);
    int32_t GetPrev(IndexEntry* entry);
    // 1 and the entry copied when an equal entry exists; else 0 with the
    // cursor where the entry would go.
    int32_t FindKey(IndexEntry* entry);
    // As FindKey; without an equal entry copies the one that follows the
    // searched key in key order: 0, or -2 when none follows.
    int32_t LocateKey(IndexEntry* entry);
    // Finds the entry with the same key and record position; 1 and copy,
    // or 0.
    int32_t SeekEntry(IndexEntry* entry);
    // As SeekEntry, but looks only at the entry under the cursor and the
    // one after it, without a search; 0 leaves the cursor where it was.
    int32_t SeekEntryNearCursor(IndexEntry* entry);
    // Gives the entry the next sequence number, then adds it.
    int32_t AddKeySequenced(IndexEntry* entry);
    // 0 when an equal entry exists and duplicates are not allowed.
    int32_t AddKey(IndexEntry* entry);
    // Removes the entry SeekEntry finds; the cursor stays where it was.
    int32_t DeleteKey(IndexEntry* entry);
    // Gives the entry SeekEntry finds another record position.
    int32_t ReplaceRecordPosition(IndexEntry* entry, int32_t newPosition);

    // Negates the order of keys and sequences.
    void SetDescending(int16_t flag)
    {
        descending_ = flag != 0;
        appendPathKnown_ = false;
    }
    // Searches compare keys only.
    void SetIgnoreSequence(int16_t flag) { ignoreSequence_ = flag != 0; }
    void SetErrorReporter(IndexErrorReporter reporter, void* context);

    bool IsOpen() const { return open_; }
    // The entries the tree held when Open found it sound.
    int32_t EntriesAtOpen() const { return entriesAtOpen_; }
    // The sequence number the next entry added gets. Advanced by one at a
    // close that keeps the index, it makes that close unlike every other.
    uint32_t NextSequence() const;
    void AdvanceSequence();
    // A check of the whole file as a close would leave it (the header page
    // without its clean mark, then every block in file order, from the
    // cache or the disk), by which the record file knows the index again.
    // False when a block cannot be read.
    bool ContentCheck(uint32_t* check) const;
    bool Failed() const { return failed_; }
    // The disk's code when a write failed for want of room or of the right
    // to write (the user has been told), else 0.
    int32_t FileError() const { return fileError_; }

    // Walks the whole tree and the free list from the file and the cache.
    // Structure: positions, sizes, well-formed entries, leaves at one depth,
    // every block reached once, free blocks marked free and off the tree.
    // With checkOrder also the order of every key against its block and its
    // separators. True when sound.
    bool CheckStructure(bool checkOrder, IndexCheckReport* report);

private:
    struct CursorLevel {
        int32_t block;   // position of the block at this level
        int32_t offset;  // entry offset in the entry area; -1 before the first
    };
    static constexpr int32_t kMostEntries = kIndexEntryAreaSize / IndexEntrySize(0);
    struct CacheSlot {
        uint32_t dirty = 0;
        FileHandle owner = kNoFile;  // kNoFile: the slot is free
        uint32_t pinned = 0;         // in use by the running operation
        int32_t position = kIndexNone;
        // Where the entries of the block start, once a search has walked
        // it; -1 until then and after a change that does not keep them.
        int32_t startCount = -1;
        int16_t starts[kMostEntries];
        uint8_t block[kIndexBlockSize];
    };
    // A searched key with its sequence number.
    struct SearchKey {
        const char* key;
        uint32_t sequence;
    };
    enum class Compare { KeyOnly, KeyAndSequence };

    static constexpr int32_t kMinCacheBlocks = 4;

    // Lifecycle and file access (index_file.cpp).
    void ResetState();
    void InitCache();
    void ForgetCache();
    void ReportError(int16_t kind, int32_t number, int32_t position);
    void Fail(int16_t kind, int32_t number, int32_t position);
    int32_t RawRead(int32_t position, uint8_t* bytes, int32_t n) const;
    bool ReadAt(int32_t position, uint8_t* bytes, int32_t n);
    bool WriteAt(int32_t position, const uint8_t* bytes, int32_t n);
    // A full disk or a refused write fails the file and is said to the
    // user; true for those, false (nothing done) for any other code.
    bool FailedForUser(int32_t err);
    bool WriteHeaderPage();
    void EmptyHeader();
    bool CutToSize();
    bool HeaderPageIsSound() const;
    void DiscardFile();
    int32_t Levels() const;
    bool Usable() const { return open_ && !failed_; }

    // Block cache (index_file.cpp). A pinned block stays in its slot until
    // unpinned; pointers to other blocks last only until the next fetch.
    uint8_t* FetchBlock(int32_t position, int expectLeaf, bool pin);
    uint8_t* NewBlock(int32_t* position);
    bool FreeBlock(int32_t position);
    void MarkChanged(int32_t position);
    bool WriteNow(int32_t position);
    void Unpin(int32_t position);
    void Pin(int32_t slot);
    void UnpinAll();
    int32_t SlotOf(int32_t position) const;
    int32_t TakeSlot();
    bool WriteBack(int32_t slot);
    bool WriteBackAll();
    void BindSlot(int32_t slot, int32_t position);
    void DropSlot(int32_t slot);
    bool PeekBlock(int32_t position, uint8_t* out) const;

    // Tree (index_tree.cpp).
    int CompareAt(const SearchKey& searched, const uint8_t* entry, Compare how) const;
    int32_t Search(const SearchKey& searched, Compare how, bool stopAtFirst, bool* found);
    // The entry starts of the block at position (not the root), kept with
    // its slot: inner blocks change only when a block below them splits or
    // merges, and an entry added to a leaf moves the starts after it.
    const int16_t* BlockStarts(int32_t position, const uint8_t* block, int32_t* count);
    int32_t CopyAtCursor(IndexEntry* entry);
    // From the block at position on level down to the leaf, the cursor on
    // the way to the first entry or to the last.
    int32_t Descend(int32_t position, int32_t level, bool toLast);
    int32_t GoEnd(bool toLast);
    // From the cursor's inner entry down to the leaf entry next to it in
    // key order (before it when backwards).
    int32_t LeaveInnerEntry(bool backwards);
    // The leaf block the cursor stands in, an inner cursor first taken down
    // beside its entry; null when that fails.
    const uint8_t* CursorLeaf(bool backwards);
    int32_t InsertAt(int32_t level, const uint8_t* entry);
    int32_t SplitRoot();
    // Takes the entry at the cursor on level out of its block; the block,
    // or null when it cannot be read.
    uint8_t* CutAtCursor(int32_t level);
    int32_t ReplaceAt(int32_t level, const uint8_t* replacement);
    int32_t RemoveAtCursor();
    int32_t Rebalance(int32_t level);
    int32_t SeekExact(const IndexEntry* entry);
    int32_t SeekNearCursor(const IndexEntry* entry, const char* key);
    bool CursorIsRightmost();
    bool FollowsLastEntry(const SearchKey& searched);

    // Whole-tree check (index_check.cpp).
    struct CheckContext;
    bool CheckSubtree(int32_t position, int32_t level, const uint8_t* low, const uint8_t* high, CheckContext* context);
    bool CheckFreeList(CheckContext* context);

    PathRecord filePath_{};
    FileHandle file_ = kNoFile;
    int16_t level_ = 0;
    bool duplicatesAllowed_ = true;
    CursorLevel cursor_[kIndexMaxLevels]{};
    // The cursor's levels lead from the root to where it stands: set by a
    // search or a walk from either end, kept by stepping, lost when the
    // tree changes shape.
    bool cursorOnPath_ = false;
    // The path to the last entry of the whole tree, kept while keys are
    // added in order (the bulk-mail presort adds them sorted): an entry
    // that follows the last one goes there without a search. Any removal
    // forgets it.
    CursorLevel appendPath_[kIndexMaxLevels]{};
    bool appendPathKnown_ = false;
    uint8_t header_[kIndexHeaderPageSize]{};

    std::deque<CacheSlot> slots_;  // grows to maxSlots_; blocks keep their place
    size_t maxSlots_;
    std::vector<int32_t> slotOfBlock_;  // block number -> slot, -1 when not cached
    std::vector<int32_t> pinnedSlots_;  // slots pinned since the last UnpinAll
    int32_t lastSlot_ = -1;
    uint32_t fileSize_ = 0;

    bool open_ = false;
    bool discard_ = false;
    bool ignoreSequence_ = false;
    bool descending_ = false;
    std::function<bool()> beforeNewBlock_;
    bool failed_ = false;
    int32_t fileError_ = 0;
    int32_t entriesAtOpen_ = 0;
    std::string label_;

    IndexErrorReporter reporter_ = nullptr;
    void* reporterContext_ = nullptr;
};
