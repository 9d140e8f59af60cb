// A store of records whose data moves between memory and the swap file:
// records of at least the 20-byte header of record_header_format.h, 16-bit
// ids, a current record, and the record operations the frame, story and
// paragraph stores use or override.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/file_io.h"
#include "frames/cstore_mng.h"
#include "frames/record_header_format.h"
#include "frames/store_array.h"

class SwapStore : public StoreArray, public CStoreMng {
public:
    SwapStore(uint32_t recordSize, CTFileMng* swap);
    // For a store that borrows its array (AdoptArray).
    explicit SwapStore(CTFileMng* swap);
    // Frees every data Handle still held.
    ~SwapStore() override;

    virtual void SetTemplate(const uint8_t* header);
    // A header for a new record: the next id, size 0, position 0, flags
    // 0x0B, no data. Id 0 when every id is in use.
    virtual void InitRecord(uint8_t* header);
    virtual uint16_t MaxId();
    // The lowest id >= 1 no record uses (0 when none is left); clears the
    // wrapped flag.
    virtual uint16_t FirstFreeId();
    // The next id; never one a record of the store already has.
    virtual uint16_t NextId();
    // Index of the record whose data is data, made current; -1 (and no
    // current record) when absent; -1 with the current record unchanged
    // for null.
    virtual int32_t FindByData(const void* data);
    virtual int32_t FindById(uint16_t id);
    virtual void FreeData(uint8_t* header);
    virtual void FreeDataIfCopied(uint8_t* header);
    // Header of record index in and out; -1 reads record 0. An index with
    // no record reads a zeroed header and writes nothing.
    virtual void PutRecord(int32_t index, const uint8_t* header);
    virtual void GetRecord(int32_t index, uint8_t* header);
    virtual void LockData(uint16_t id, bool lock);
    void UnlockData(uint16_t id) { LockData(id, false); }
    // 1 on failure, else 0.
    virtual int32_t LoadCurrent(uint8_t mode);
    virtual int32_t LoadData(uint16_t id, uint8_t mode);
    virtual int32_t SelectIndex(int32_t index, uint8_t mode);
    virtual int32_t UnloadCurrent();
    virtual int32_t UnloadData(uint16_t id);
    virtual int32_t UnloadAll(uint8_t keepMask);
    virtual void ClearKeepFlags();
    // The current record's data leaves memory and the swap file.
    virtual void DropCurrent();
    virtual int32_t DeleteById(uint16_t id);
    virtual void DeleteAll();
    virtual void DeleteRange(int32_t first, int32_t n);
    // The new record's id, 0 when it could not be made.
    virtual uint16_t NewRecord(bool keep);
    virtual uint16_t InsertRecord(int32_t index, Handle data, bool keep);
    // Gives the current record's data a fresh stretch of its own.
    virtual int32_t RewriteCurrent();
    // One record in the transfer format: the header (size = data length,
    // position = offset behind the header), then the data. A failed read
    // leaves the store as it was.
    virtual int32_t ReadRecordFrom(FileHandle file, uint16_t* id);
    virtual int32_t WriteRecordTo(FileHandle file, uint16_t id);
    virtual int32_t CopyRecords(SwapStore* source, int32_t first, int32_t last, int32_t destination);

    // The whole record array from or to a document section. The document
    // reader gives the section's length; records end with flags 4 (copied
    // only) and no data. A section that does not fit the file leaves the
    // store as it was (106).
    virtual int32_t ReadStore(FileHandle file, int32_t offset, uint32_t length);
    virtual int32_t WriteStore(FileHandle file, int32_t offset);
    // Where the last WriteStore put the array in the document.
    uint32_t WindowSize() const { return windowSize_; }
    uint32_t WindowPosition() const { return windowPosition_; }

    void AdoptArray(Handle h, uint32_t recordSize);
    void ReleaseArray();
    bool AnyChanged();
    // Selects a record by index (0..count - 1) or by id, marks it changed
    // and stores it back.
    void MarkChanged(int32_t key, bool byIndex);

    int32_t CurrentIndex() const { return currentIndex_; }
    const uint8_t* Current() const { return current_; }
    uint16_t LastId() const { return lastId_; }
    void SetLastId(uint16_t id) { lastId_ = id; }

protected:
    // Writes the record array (data slots as 0) at the file's position and
    // notes it as the file window; 105 when the write fails.
    int32_t WriteRecordArray(FileHandle file);
    // Where a record's data lies in the swap file, and whether it is there.
    struct SwapPlace {
        uint32_t size;
        uint32_t position;
        bool copied;
    };
    static SwapPlace PlaceOf(const uint8_t* header)
    {
        return {HeaderSize(header), HeaderPosition(header), HeaderHas(header, kRecCopied)};
    }
    // The document's copy of the store, written at the file's position:
    // writeRecord(i, &place) writes record i's data, leaves its header
    // naming where in the file it went and gives where its swap copy lies
    // (its result: 0 or the record's failure). Then the record array, after
    // which the headers name the swap copies again, and say again whether
    // there is one. The first failure wins.
    template <class WriteRecord>
    int32_t WriteRecordsAndArray(FileHandle file, WriteRecord writeRecord)
    {
        std::vector<SwapPlace> swapPlaces(static_cast<size_t>(count_));
        int32_t result = 0;
        for (int32_t i = 0; i < count_; ++i) {
            const int32_t failed = writeRecord(i, &swapPlaces[size_t(i)]);
            if (failed != 0)
                result = result ? result : failed;
        }
        const int32_t array = WriteRecordArray(file);
        if (array != 0)
            result = result ? result : array;
        for (int32_t i = 0; i < count_; ++i) {
            uint8_t* r = RecordPtr(i);
            SetHeaderSize(r, swapPlaces[size_t(i)].size);
            SetHeaderPosition(r, swapPlaces[size_t(i)].position);
            SetHeaderBits(r, kRecCopied, swapPlaces[size_t(i)].copied);
        }
        ClearCurrent();
        return result;
    }
    // Record i made current and loaded to be written at the file's
    // position, `place` where its swap copy lies. Where its data can't be
    // read it is kept as it is in memory, its header names nothing at that
    // position, and the answer is the read failure (the save fails).
    int32_t LoadForWrite(FileHandle file, int32_t i, SwapPlace* place);
    // Forgets which record is current.
    void ClearCurrent();
    bool IdInUse(uint16_t id);
    // The first record with the id, -1 when none has it: what reading the
    // records in order finds, also when a damaged file repeats an id.
    int32_t FirstIndexOf(uint16_t id);
    // Call after writing a record's header in place when its id may differ
    // from the one it had.
    void NoteIdWrite(const uint8_t* record, const uint8_t* header)
    {
        if (HeaderId(record) != HeaderId(header))
            NoteEdit();
    }

    uint16_t lastId_ = 0;
    uint8_t idsWrapped_ = 0;
    int32_t currentIndex_ = -1;
    uint8_t current_[kRecordHeaderSize] = {};
    uint8_t template_[kRecordHeaderSize] = {};
    uint32_t windowSize_ = 0;
    uint32_t windowPosition_ = 0;

private:
    // Stores look records up by id all the time while a job prints, often
    // several times per frame per card; reading hundreds of records each
    // time set the pace. The first index of every id, kept while no record
    // has come, gone, moved or changed its id since it was made.
    void IndexIds();
    std::vector<int32_t> firstIndexById_;
    uint32_t indexedAt_ = 0;
    bool indexed_ = false;
    // A borrowed array can be changed by its owner behind this store's
    // back, so it is always read in order.
    bool borrowed_ = false;
};
