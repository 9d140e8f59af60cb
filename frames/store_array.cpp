#include "frames/store_array.h"

#include <cstring>

#include "foundation/alerts.h"

StoreArray::StoreArray(uint32_t recordSize) : records_(HandleNew(0)), recordSize_(recordSize) {}

StoreArray::StoreArray() = default;

StoreArray::~StoreArray() { HandleFree(records_); }

int32_t StoreArray::InitArray(Handle h, uint32_t recordSize)
{
    NoteEdit();
    records_ = h;
    recordSize_ = recordSize;
    locked_ = 0;
    if (!h) {
        count_ = 0;
        AlertNote("InitArray", 0);
        return 0;
    }
    return CountRecords();
}

void StoreArray::FreeArray(bool freeHandle)
{
    NoteEdit();
    recordSize_ = 0;
    count_ = 0;
    locked_ = 0;
    if (freeHandle)
        HandleFree(records_);
    records_ = nullptr;
}

int32_t StoreArray::CountRecords()
{
    NoteEdit();
    if (!records_ || recordSize_ == 0)
        count_ = 0;
    else
        count_ = int32_t(HandleGetSize(records_) / recordSize_);
    return count_;
}

int32_t StoreArray::InsertAt(int32_t index, const void* source)
{
    if (!records_ || recordSize_ == 0)
        return 1;
    NoteEdit();
    const int64_t bytes = (int64_t(count_) + 1) * recordSize_;
    if (bytes > INT32_MAX || HandleResize(records_, int32_t(bytes)) != 0)
        return 1;
    const int32_t old = count_;
    ++count_;
    int64_t p = int64_t(index) - firstIndex_;
    if (p > old) {
        p = old;
    } else {
        if (p < 0)
            p = 0;
        uint8_t* base = HandleData(records_);
        MemMove(base + p * recordSize_, base + (p + 1) * recordSize_, uint32_t(old - p) * recordSize_);
    }
    std::memcpy(HandleData(records_) + p * recordSize_, source, recordSize_);
    return 0;
}

int32_t StoreArray::DeleteAt(int32_t index, int32_t n)
{
    // A start below the first record would move memory from before the
    // array; it is refused like one past the end.
    const int64_t p = int64_t(index) - firstIndex_;
    if (!records_ || p < 0 || p >= count_ || n <= 0)
        return 0;
    NoteEdit();
    int64_t take = n;
    if (p + take < count_) {
        uint8_t* base = HandleData(records_);
        MemMove(base + (p + take) * recordSize_, base + p * recordSize_, uint32_t(count_ - p - take) * recordSize_);
    } else {
        take = count_ - p;
    }
    count_ -= int32_t(take);
    return HandleResize(records_, int32_t(int64_t(count_) * recordSize_));
}

int32_t StoreArray::DeleteOne(int32_t index) { return DeleteAt(index, 1); }

void StoreArray::GetBytes(int32_t index, void* destination, uint32_t n)
{
    const uint8_t* r = RecordPtr(index);
    if (r && n <= recordSize_)
        MemMove(r, destination, n);
    else
        std::memset(destination, 0, n);
}

void StoreArray::SetBytes(int32_t index, const void* source, uint32_t n)
{
    uint8_t* r = RecordPtr(index);
    if (r && n <= recordSize_) {
        NoteEdit();
        MemMove(source, r, n);
    }
}

void StoreArray::ReadAt(int32_t index, void* destination) { GetBytes(index, destination, recordSize_); }

void StoreArray::WriteAt(int32_t index, const void* source) { SetBytes(index, source, recordSize_); }

uint8_t* StoreArray::RecordPtr(int32_t index)
{
    if (!records_ || !Contains(index))
        return nullptr;
    return HandleData(records_) + int64_t(index - firstIndex_) * recordSize_;
}

const uint8_t* StoreArray::RecordPtr(int32_t index) const
{
    return const_cast<StoreArray*>(this)->RecordPtr(index);
}

int32_t StoreArray::Append(const void* source) { return InsertAt(count_ + firstIndex_, source); }
