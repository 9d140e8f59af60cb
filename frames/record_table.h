// A store with checked access to whole records, numbered from 1.
#pragma once

#include <cstdint>

#include "frames/store_array.h"

class RecordTable : public StoreArray {
public:
    explicit RecordTable(uint32_t recordSize);

    bool IsValidIndex(int32_t index) const { return Contains(index); }

    // Inserts n equal copies of the record at index; 1 as soon as one
    // insert fails (the copies made so far stay).
    virtual int32_t InsertRecords(int32_t n, int32_t index, const void* source);
    virtual int32_t DeleteRecords(int32_t n, int32_t index);
    // False, and nothing copied, for an index outside the table.
    virtual bool GetRecord(int32_t index, void* destination);
    // Does nothing for an index outside the table.
    virtual void SetRecord(int32_t index, const void* source);
};
