// The root of the store family: one Handle holding a packed array of
// fixed-size records. It knows nothing of what a record means.
//
// Record i (in the store's own numbering) lives at byte
// (i - first index) x record size of the Handle's data; the Handle's data
// size is count x record size after every operation that succeeds.
#pragma once

#include <cstdint>

#include "foundation/handle.h"

class StoreArray {
public:
    explicit StoreArray(uint32_t recordSize);
    // No records Handle at all until InitArray gives one (a store that
    // borrows its array from elsewhere).
    StoreArray();
    virtual ~StoreArray();
    StoreArray(const StoreArray&) = delete;
    StoreArray& operator=(const StoreArray&) = delete;

    // Adopts h as the record array and counts its whole records. A null
    // Handle gives count 0 and the "InitArray" note.
    int32_t InitArray(Handle h, uint32_t recordSize);
    // Forgets the records; frees the Handle only when asked. The Handle
    // field is null afterwards either way.
    void FreeArray(bool freeHandle);
    int32_t CountRecords();

    // 0, or 1 when memory runs out (the store is then unchanged). An index
    // past the end appends, one below the first index puts the record
    // first.
    virtual int32_t InsertAt(int32_t index, const void* source);
    // Deletes up to n records from index, clipped at the end. A start
    // outside the records or n <= 0 changes nothing and answers 0.
    virtual int32_t DeleteAt(int32_t index, int32_t n);
    virtual int32_t DeleteOne(int32_t index);
    // Copy n bytes from or to the start of record index. An index outside
    // the records, or n beyond the record, copies nothing (reads give
    // zeros).
    virtual void GetBytes(int32_t index, void* destination, uint32_t n);
    virtual void SetBytes(int32_t index, const void* source, uint32_t n);

    // Whole records, with the same checks.
    void ReadAt(int32_t index, void* destination);
    void WriteAt(int32_t index, const void* source);
    // The record's bytes, valid until the next insert or delete; null for
    // an index outside the records.
    uint8_t* RecordPtr(int32_t index);
    const uint8_t* RecordPtr(int32_t index) const;
    int32_t Append(const void* source);

    Handle Records() const { return records_; }
    uint32_t RecordSize() const { return recordSize_; }
    int32_t Count() const { return count_; }
    int32_t FirstIndex() const { return firstIndex_; }
    bool Contains(int32_t index) const { return index >= firstIndex_ && index - firstIndex_ < count_; }
    // Changes whenever records may have come, gone, moved or been rewritten
    // through this class, so that what is worked out from the records can
    // tell when it is out of date.
    uint32_t Edits() const { return edits_; }

protected:
    void NoteEdit() { ++edits_; }

    Handle records_ = nullptr;
    uint32_t recordSize_ = 0;
    int32_t count_ = 0;
    uint8_t locked_ = 0;
    int32_t firstIndex_ = 0;
    uint32_t edits_ = 0;
};
