// The record engine of one open card database: the record file, its index,
// the record being edited with its saved (undo) copy, a cache of 56
// records, the counters and the sort order.
//
// A record is addressed by its file offset and by its index position (its
// rank in the index order). Results follow the database conventions: 1
// success, 0 not found or refused, -1 failure or none; offsets and
// positions use -1 for none.
//
// Every change is on the disk when the call returns, made whole or not at
// all (DbChange): a crash never loses a record that was committed, and
// never leaves half of a change behind.
// The member functions are implemented by topic in the data_file_*.cpp
// files and the pass files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "database/card_record.h"
#include "database/database_header.h"
#include "database/db_journal.h"
#include "database/index_file.h"
#include "database/record_file_format.h"
#include "database/record_read_cache.h"
#include "foundation/file_io.h"
#include "foundation/file_witness.h"
#include "foundation/path_record.h"

constexpr int32_t kMaxLiveRecords = 32000;
constexpr int32_t kRecordCacheSlots = 56;

// What the index walks and the passes hand around: the entry buffer of the
// index (child, record offset, sequence number, key).
using DbIndexEntry = IndexEntry;

// The access of DataFile::Open that only reads: the file is opened for
// reading, nothing is written beside it, and an unfinished change refuses
// the open rather than being undone.
constexpr uint32_t kDbAccessRead = 0x80000000;
constexpr uint32_t kDbAccessReadWrite = 0x40000000;

// Index modes of DataFile::Open.
enum : int16_t {
    kIndexModeNone = 0,
    kIndexModeOpen = 1,
    kIndexModeCreate = 2,
};

// Find kinds and directions of DataFile::FindRecords.
enum : int32_t {
    kFindFromFirst = 0,
    kFindForward = 1,
    kFindBackward = 2,
    kFindValues = 1,
    kFindAllFields = 2,
    kFindQuery = 3,
    kFindKey = 4,
};

// Operations of DataFile::ChangeCategories.
enum : int32_t {
    kCategoriesSet = 1,
    kCategoriesReset = 2,
    kCategoriesInvert = 3,
};

// What incremental find is given: per data-entry column, whether the user
// typed into it and what.
struct TypedEntries {
    uint16_t typed[21] = {};
    char texts[21][64] = {};
};

class DataFile {
public:
    DataFile();
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // --- Lifecycle (data_file.cpp) ---
    // Opens the record file for reading and writing. indexMode 0 leaves the
    // index closed (0), 1 opens the existing index or creates one, 2 creates
    // one (-1 when that fails). 1 when an existing index was opened, 0
    // otherwise, -1 when the file did not open. A file another open holds
    // is reported as "File is used by another program.".
    int32_t Open(const PathRecord* path, uint32_t access, int16_t indexMode);
    // Creates (or empties) the record file and creates its index; 1 or -1.
    int32_t CreateFile(const PathRecord* path);
    int32_t OpenIndex();
    // durable: as IndexFile::Create.
    int32_t CreateIndex(bool durable = true);
    // Closes the file: packs it when 100 or more records are deleted
    // (unless pack is off, for callers that only looked), then closes the
    // index (discarding it when asked, after a pack, or when the index is
    // marked damaged). Returns 1, or 0 when the file was not open.
    int32_t Close(bool discardIndex, bool pack = true);
    bool IsOpen() const { return open_; }
    // Runs the repair over the open record file (before the selection is
    // built); 0 on success, 1 when it failed and the file is unchanged.
    int32_t RepairFile();
    // True when the open found a change a crash had left unfinished and
    // undid it, or cut off a record that was never completely written:
    // the file then holds exactly what was committed, and any index kept
    // beside it may be stale.
    bool Recovered() const { return recovered_; }
    // A selection pass is building the index anew: positions mean nothing
    // until it ends (its progress window lets the screen repaint meanwhile).
    bool Rebuilding() const { return rebuilding_; }
    bool ReadOnly() const { return readOnly_; }
    // True when another program has written the record file since the
    // engine read it or last wrote it itself (copied another database
    // over it in place): nothing more of this session's may go into it.
    bool ChangedElsewhere() const;
    // Such a file is another program's now, and a close writes nothing
    // into it: unless it is still this database (its header as the engine
    // saw it) and the engine found it damaged, which the close marks.
    bool TakenOverElsewhere() const;

    // A change of the record file that a crash leaves whole or undone
    // (db_journal.h). Every change the engine makes is one; a batch groups
    // many (an import, a merge) into one, committed at its end. Changes
    // nest: only the outermost commits. single: the change is one write a
    // crash cannot leave half done (a record appended at the end, which the
    // next open cuts off when torn, or a record's flags byte), so it needs
    // no journal.
    void BeginChange(bool single = false);
    // 0, or the code of a commit that failed (already shown): the next
    // open undoes the change.
    int32_t EndChange();
    // Takes the change under way back whole when it ends: a batch one of
    // whose parts failed leaves the file, the counters and the index as
    // they were at its start, rather than half of it.
    void AbandonChange();
    // The records this outermost change appends may wait in memory and go
    // to the disk together (a fill or an import of many records); until
    // the change ends. Reads and other writes still see them.
    void GatherAppendsInChange() { gatherInChange_ = changeDepth_ > 0; }
    // True when the last outermost change was committed: it is on the
    // disk for good. Otherwise it was taken back (or, when even that
    // failed, is left for the next open to undo).
    bool LastChangeKept() const { return lastKept_; }
    // Writes the header image (whole header area) in place, as a change.
    // report: a refused write is said here (records waiting to be written
    // say their own failure in any case).
    int32_t StoreHeader(const uint8_t* header, bool report = false);
    void SetDataStart(uint32_t offset) { dataStart_ = offset; }
    uint32_t DataStart() const { return dataStart_; }
    // load: counters and saved position from the header, marks cleared;
    // else the marks, counters and saved position into the header.
    void ExchangeHeaderCounts(bool load, uint8_t* header);
    void SetSortSpec(const SortSpec& order);
    const SortSpec& GetSortSpec() const { return sortSpec_; }
    // Whoever reads or writes the file past the engine sees the records
    // gathered for one write (FlushAppends) on the disk first.
    FileHandle Handle() const
    {
        const_cast<DataFile*>(this)->FlushAppends();
        return file_;
    }
    const PathRecord& Path() const { return path_; }
    // The file's name without folder, as the progress windows show it.
    std::string DatabaseName() const;
    void SetPurgeNew(bool on) { purgeNew_ = on; }
    void SetDateStyle(uint8_t style) { dateStyle_ = style; }
    uint8_t DateStyle() const { return dateStyle_; }
    bool DataMark() const { return dataMark_; }
    bool IndexMark() const { return indexMark_; }
    // Database damaged: counters to -1, data mark set, index emptied,
    // database message 8.
    void MarkDamaged();
    // 1 when the file system of the index has at least bytes free, else
    // the "Disk is full" box and 0.
    int32_t CheckDiskSpace(double bytes);
    int32_t GetStoredCount() const { return stored_; }
    int32_t GetLiveCount() const { return live_; }
    int32_t GetDeletedCount() const { return deleted_; }
    int32_t GetNewCount() const { return newCount_; }

    // --- Current record (data_file_records.cpp) ---
    int32_t GotoRecord(int32_t position, bool seekCursor, bool saveUndo);
    int32_t SetCurrentAndRead(int32_t offset, int32_t position, bool seekCursor, bool saveUndo);
    int32_t GotoIndexPosition(int32_t position, bool saveUndo);
    int32_t MoveBy(bool seekFirst, int32_t delta, bool read, bool saveUndo);
    int32_t LocateIndexPosition(int32_t position, bool useCache);
    int32_t SeekCurrentEntry(bool fromCurrent);
    int32_t ComputeCurrentPosition(bool seekFirst);
    // Reads the record at offset into buffer (knownLength 0: from its
    // head). Returns the offset of the next record, or the file size after
    // marking the database damaged when no sound record is there.
    uint32_t ReadRecordAt(int32_t offset, CardRecord* buffer, uint32_t knownLength);
    void SaveUndoState();
    void RestoreUndoState(bool restoreBuffer);
    void SwapScratch(bool restore);
    bool IsCurrentRecordDeleted() const { return current_.IsDeleted(); }
    bool IsCurrentRecordNew() const { return current_.IsNew(); }
    bool FieldChanged(int32_t field, bool compareLengths) const;
    CardRecord& Current() { return current_; }
    const CardRecord& Saved() const { return saved_; }
    int32_t CurrentOffset() const { return currentOffset_; }
    int32_t CurrentPosition() const { return currentPosition_; }
    int32_t SavedOffset() const { return savedOffset_; }
    int32_t SavedPosition() const { return savedPosition_; }
    // The saved copy's field as a merge field shows it (dates in the date
    // style, trailing spaces removed, id 100 the postal digits); false
    // when skipNew is set and the copy is new, or for an unknown id.
    bool GetFieldDisplayText(int32_t id, bool skipNew, char* out) const;

    // --- Changes (data_file_edit.cpp) ---
    int32_t AddRecord(bool reposition, bool saveUndo);
    int32_t UpdateRecord(bool reposition, bool saveUndo);
    int32_t DeleteRecord(bool saveUndo);
    int32_t UndeleteRecord(int32_t offset);
    int32_t WriteRecord(int32_t offset, int32_t position, bool writeThrough);
    int32_t MarkOldPlaceDeleted(int32_t offset);
    int32_t RelocationOffset(int32_t offset) const;
    void UpdateDeliveryPoint();

    // --- Index upkeep and walks (data_file_index.cpp) ---
    // The key of the current buffer (or the saved copy) into entry.
    void BuildKey(bool fromSaved, DbIndexEntry* entry) const;
    int32_t InsertIndexEntry(int32_t offset);
    // As InsertIndexEntry, with the record's key already built.
    int32_t InsertIndexKey(int32_t offset, const char* key);
    int32_t DeleteIndexEntry();
    int32_t ReinsertIndexEntry();
    int32_t UpdateIndexPosition();
    IndexFile& Index() { return *index_; }
    bool IndexOpen() const;
    // Empties the index: discards the file and creates a new one.
    bool ResetIndex();
    void SetIndexMark() { indexMark_ = true; }

    // --- Record cache (data_file_cache.cpp) ---
    int32_t FindCacheByOffset(int32_t offset) const;
    int32_t FindCacheByPosition(int32_t position, int32_t* offset) const;
    int32_t TakeCacheSlot();
    int32_t LoadIntoCache(int32_t offset, int32_t position);
    int32_t ReadThroughCache(int32_t offset, int32_t position);
    int32_t WriteThroughCache(int32_t offset, int32_t position, bool writeThrough);
    void RenumberCacheEntries(int32_t position, bool inserted);
    void DropCacheEntry(int32_t offset);
    int32_t FlushRecordCache();
    void ReloadCache();
    int32_t PrefetchRange(int32_t first, int32_t last);
    bool CacheEnabled() const { return cacheEnabled_; }

    // --- Passes (selection_pass.cpp, find_pass.cpp, categories_pass.cpp) ---
    int32_t BuildSelection(const uint8_t* categoryFlags, const uint8_t* criteria);
    // True when the last selection was found through the index, reading
    // only the records it selected, rather than by a pass over the file.
    bool SelectionFromIndex() const { return selectionFromIndex_; }
    // True when the index does not hold the selection the counters count:
    // no pass has built it since the open, the last one could not index
    // every record it selected (a full disk), or the index failed since.
    // Reading the selection's rows would then give blank records.
    bool SelectionFailed() const;
    int32_t ChangeCategories(const uint8_t* categoryFlags, int32_t operation);
    // Walks the index, which must be in LastName order, and deletes every
    // record equal in fields 0-23 to one before it, as one change; the
    // user may stop the walk, and what it found by then is deleted. The
    // number deleted, or -1 when the file could not be read or written (a
    // failed write leaves every record as it was).
    int32_t DeleteDuplicateRecords();
    int32_t FindRecords(int32_t direction, int32_t kind, const uint8_t* criteria);
    int32_t IncrementalFind(const TypedEntries& typed, bool keyOnly);
    // Whether the current buffer passes the category filter.
    bool CategoryFilter(int32_t mode, uint16_t mask) const;
    uint32_t IndexKeySizeEstimate() const;

    // --- Pack (data_file_pack.cpp) ---
    // Rewrites the file without deleted records and records still marked
    // new. 1 packed, 0 nothing to do, -1 failed (the file is as it was).
    int32_t PackDataFile();

private:
    struct CacheEntry {
        bool dirty = false;
        int32_t position = -1;
        int32_t offset = -1;
    };

    uint8_t* CacheImage(int32_t slot) { return cache_.get() + size_t(slot) * CardRecord::MaxRecordSize(); }
    int32_t WriteImage(int32_t offset, const uint8_t* image, uint32_t length);
    // Records appended inside a batch are gathered and written together:
    // a write per record costs the kernel more than the rest of the add.
    // Any other read or write of the file, and the batch's end, writes
    // them first. A failed write fails the whole batch, since the records
    // it held were already counted as added. 0 or the code (shown).
    int32_t FlushAppends();
    // 0 or the code of a flush that failed; *gathered when the record
    // waits with the others.
    int32_t GatherAppend(int32_t offset, const uint8_t* image, uint32_t length, bool* gathered);
    // Cuts the file back to size (undoing an append of a failed change).
    int32_t ResizeFile(uint32_t size);
    void NoteFailedStep();
    // A record not completely written ends the file at offset: it is cut
    // off. True when it was.
    bool CutTornTail(uint32_t offset, uint32_t size);
    int32_t ReportWriteError(int32_t code);
    int32_t FileSize(uint32_t* size) const;
    // What FileSize learnt, kept while nothing is written (DbWriteCount);
    // the engine's own writes carry it forward. A walk through the records
    // reads one record at a time and would ask the disk each time.
    void ForgetFileSize() const
    {
        knownSizeFile_ = kNoFile;
        readCache_.Clear();
    }
    void NoteWritten(uint64_t writesBefore, uint32_t end, bool exact);
    int32_t IndexUpkeepFailed(const char* marker, int32_t code);
    // How the file boxes name the index at indexPath: its file name, or,
    // for a reader's index among the temporary files, that folder.
    std::string IndexLabel(const PathRecord& indexPath, bool temporary) const;
    // Seeks the entry of a built key and record offset, whatever tier the
    // bulk-mail presort gave it; the entry found is copied into e.
    int32_t SeekBuiltKey(DbIndexEntry* e);
    int32_t WriteHeaderWord(int32_t offset, uint8_t flags);
    void SyncSavedCopy();
    void ClearCurrent();
    int32_t RunBulkMailPresort(std::vector<std::string>& keys, const std::vector<int32_t>& offsets);
    // The query of a selection found through the index (index_query_pass.cpp):
    // 1 done, 0 when the index cannot answer it (the pass over the file
    // must), -1 failed.
    int32_t SelectFromIndex(const uint8_t* categoryFlags, const uint8_t* criteria);
    // After a pass over the file: whether the index it built holds every
    // record that is not deleted.
    void NoteWholeIndex(bool whole);
    // Anything that may change the records, their counts or the index
    // counts here (recordChanges_): the index of the last pass over the
    // file is only trusted while the count is the one it saw.
    struct WholeIndex {
        bool valid = false;
        uint64_t changes = 0;
        uint32_t size = 0;
        SortSpec order;
    };
    WholeIndex wholeIndex_;
    // The entry LocateIndexPosition found last and its position, while the
    // index has not changed since.
    struct Located {
        bool valid = false;
        uint64_t changes = 0;
        int32_t position = -1;
        DbIndexEntry entry{};
    };
    Located located_;
    uint64_t recordChanges_ = 0;
    bool selectionFromIndex_ = false;
    bool selectionFailed_ = false;

    bool open_ = false;
    int32_t currentPosition_ = -1;
    int32_t savedPosition_ = -1;
    int32_t currentOffset_ = -1;
    int32_t savedOffset_ = -1;
    CardRecord current_;
    CardRecord saved_;
    int32_t scratchPosition_ = -1;
    int32_t scratchOffset_ = -1;
    CardRecord scratch_;
    CardRecord load_;  // records on their way into the cache

    bool cacheEnabled_ = false;
    std::unique_ptr<uint8_t[]> cache_;
    CacheEntry cacheEntries_[kRecordCacheSlots];
    int32_t cacheLastLookup_ = 0;
    int32_t cacheLastTaken_ = kRecordCacheSlots - 1;

    PathRecord path_{};
    PathRecord indexPath_{};
    uint32_t access_ = 0x40000000;
    FileHandle file_ = kNoFile;
    mutable FileHandle knownSizeFile_ = kNoFile;
    mutable uint64_t knownSizeWrites_ = 0;
    mutable uint32_t knownSize_ = 0;
    mutable RecordReadCache readCache_;
    std::vector<uint8_t> appends_;
    uint32_t appendsAt_ = 0;
    bool gathering_ = false;  // only while a batch adds a record
    bool appendFlushFailed_ = false;
    bool gatherInChange_ = false;
    uint32_t dataStart_ = 6000;
    bool dataMark_ = false;
    bool indexMark_ = false;
    SortSpec sortSpec_;
    std::unique_ptr<IndexFile> index_;
    DbIndexEntry entry_;
    int32_t lookupMode_ = 1;
    int32_t stored_ = 0;
    int32_t live_ = 0;
    int32_t deleted_ = 0;
    int32_t newCount_ = 0;
    bool purgeNew_ = false;
    uint8_t dateStyle_ = 0;
    bool packed_ = false;
    bool recovered_ = false;
    bool rebuilding_ = false;
    bool readOnly_ = false;
    bool indexFailureShown_ = false;  // since the open
    DbJournal journal_;
    // The record file as the engine last saw it (db_file_io keeps it up to
    // date with the engine's own writes).
    FileWitness witness_{kDbHeaderSize};
    void WitnessFile();
    int32_t changeDepth_ = 0;
    bool changeFailed_ = false;
    // What the outermost change found at its start, for taking back an
    // abandoned one.
    struct ChangeStart {
        uint32_t size = 0;
        int32_t stored = 0, live = 0, deleted = 0, newCount = 0;
    };
    ChangeStart changeStart_;
    bool changeAbandoned_ = false;
    bool lastKept_ = false;
    bool stuckAbandoned_ = false;  // an abandoned change is still to be undone
    // Removes the index entries of records at or past offset (records an
    // abandoned change appended); false when the index failed meanwhile.
    bool DropIndexEntriesFrom(uint32_t offset);
    void TakeBackCounts();

public:
    // Undoes a change whose undo failed, when that now works, and takes its
    // counts back: done before anything else is written, and before the
    // counts go into the header at close.
    void RetryStuckUndo();
};

// One change, from construction to destruction (DataFile::BeginChange).
class DbChange {
public:
    explicit DbChange(DataFile& data, bool single = false) : data_(data) { data_.BeginChange(single); }
    ~DbChange() { data_.EndChange(); }
    DbChange(const DbChange&) = delete;
    DbChange& operator=(const DbChange&) = delete;

private:
    DataFile& data_;
};
