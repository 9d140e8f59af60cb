#include "frames/swap_store.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "foundation/win_error.h"

SwapStore::SwapStore(uint32_t recordSize, CTFileMng* swap) : StoreArray(recordSize), CStoreMng(swap) {}

SwapStore::SwapStore(CTFileMng* swap) : CStoreMng(swap) {}

SwapStore::~SwapStore()
{
    for (void* p : slots_.TakeAll())
        HandleFree(static_cast<Handle>(p));
}

int32_t SwapStore::LoadForWrite(FileHandle file, int32_t i, SwapPlace* place)
{
    currentIndex_ = i;
    GetRecord(i, current_);
    *place = PlaceOf(current_);
    uint32_t here = 0;
    FileTell(file, &here);
    if (LoadCurrent(0) == 0)
        return 0;
    SetHeaderSize(current_, 0);
    SetHeaderPosition(current_, here);
    PutRecord(i, current_);
    return int32_t(kStoreSwapRead);
}

void SwapStore::ClearCurrent()
{
    currentIndex_ = -1;
    std::memset(current_, 0, sizeof current_);
}

void SwapStore::SetTemplate(const uint8_t* header) { std::memcpy(template_, header, kRecordHeaderSize); }

void SwapStore::InitRecord(uint8_t* header)
{
    std::memset(header, 0, kRecordHeaderSize);
    SetHeaderId(header, NextId());
    SetHeaderFlags(header, kRecNewFlags);
}

uint16_t SwapStore::MaxId()
{
    uint16_t max = 0;
    for (int32_t i = 0; i < count_; ++i) {
        const uint16_t id = HeaderId(RecordPtr(i));
        if (id > max)
            max = id;
    }
    return max;
}

uint16_t SwapStore::FirstFreeId()
{
    std::vector<bool> used(65536, false);
    for (int32_t i = 0; i < count_; ++i)
        used[HeaderId(RecordPtr(i))] = true;
    idsWrapped_ = 0;
    for (uint32_t id = 1; id < 65536; ++id) {
        if (!used[id])
            return uint16_t(id);
    }
    return 0;
}

bool SwapStore::IdInUse(uint16_t id) { return FirstIndexOf(id) >= 0; }

void SwapStore::IndexIds()
{
    uint16_t max = 0;
    for (int32_t i = 0; i < count_; ++i)
        max = std::max(max, HeaderId(RecordPtr(i)));
    firstIndexById_.assign(size_t(max) + 1, -1);
    for (int32_t i = count_ - 1; i >= 0; --i)
        firstIndexById_[HeaderId(RecordPtr(i))] = i;
    indexedAt_ = Edits();
    indexed_ = true;
}

int32_t SwapStore::FirstIndexOf(uint16_t id)
{
    if (!borrowed_) {
        if (!indexed_ || indexedAt_ != Edits())
            IndexIds();
        const int32_t index = id < firstIndexById_.size() ? firstIndexById_[id] : -1;
        if (index < 0 || HeaderId(RecordPtr(index)) == id)
            return index;
        // An id changed without notice; the records themselves decide.
        indexed_ = false;
    }
    for (int32_t i = 0; i < count_; ++i) {
        if (HeaderId(RecordPtr(i)) == id)
            return i;
    }
    return -1;
}

uint16_t SwapStore::NextId()
{
    if (lastId_ == 0)
        lastId_ = MaxId();
    lastId_ = uint16_t(lastId_ + 1);
    if (lastId_ == 0)
        idsWrapped_ = 1;
    if (idsWrapped_)
        lastId_ = FirstFreeId();
    if (lastId_ == 0 || !IdInUse(lastId_))
        return lastId_;
    // After a wrap the counter goes on from a reused id; it must never hand
    // out one that a record still has, so it steps over those, and past the
    // top to the lowest free id.
    std::vector<bool> used(65536, false);
    for (int32_t i = 0; i < count_; ++i)
        used[HeaderId(RecordPtr(i))] = true;
    uint32_t id = lastId_;
    while (id < 65536 && used[id])
        ++id;
    if (id == 65536) {
        id = 1;
        while (id < 65536 && used[id])
            ++id;
    }
    lastId_ = id < 65536 ? uint16_t(id) : 0;
    return lastId_;
}

int32_t SwapStore::FindByData(const void* data)
{
    if (!data)
        return -1;
    const uint32_t token = slots_.Find(data);
    for (int32_t i = 0; token != 0 && i < count_; ++i) {
        if (HeaderSlot(RecordPtr(i)) == token) {
            currentIndex_ = i;
            GetRecord(i, current_);
            return i;
        }
    }
    ClearCurrent();
    return -1;
}

int32_t SwapStore::FindById(uint16_t id)
{
    if (id == 0)
        return -1;
    const int32_t index = FirstIndexOf(id);
    if (index < 0) {
        ClearCurrent();
        return -1;
    }
    currentIndex_ = index;
    GetRecord(index, current_);
    return index;
}

void SwapStore::FreeData(uint8_t* header)
{
    HandleFree(static_cast<Handle>(slots_.Take(HeaderSlot(header))));
    SetHeaderSlot(header, 0);
    SetHeaderBits(header, kRecLoaded, false);
}

void SwapStore::FreeDataIfCopied(uint8_t* header)
{
    if (HeaderHas(header, kRecCopied))
        FreeData(header);
}

void SwapStore::PutRecord(int32_t index, const uint8_t* header)
{
    uint8_t* r = RecordPtr(index);
    if (r) {
        NoteIdWrite(r, header);
        CopyHeader(r, header);
    }
}

void SwapStore::GetRecord(int32_t index, uint8_t* header)
{
    const uint8_t* r = RecordPtr(index < 0 ? 0 : index);
    if (r)
        CopyHeader(header, r);
    else
        std::memset(header, 0, kRecordHeaderSize);
}

void SwapStore::LockData(uint16_t id, bool lock)
{
    const int32_t index = FirstIndexOf(id);
    if (index < 0)
        return;
    if (Handle h = DataHandle(RecordPtr(index)))
        lock ? HandleLock(h) : HandleUnlock(h);
}

int32_t SwapStore::LoadCurrent(uint8_t mode)
{
    Attach(current_);
    const int32_t result = SwapIn(mode);
    Detach();
    return result == 0 ? 0 : 1;
}

int32_t SwapStore::LoadData(uint16_t id, uint8_t mode)
{
    const int32_t index = FindById(id);
    if (index < 0)
        return 1;
    const int32_t result = LoadCurrent(mode);
    PutRecord(index, current_);
    return result;
}

int32_t SwapStore::SelectIndex(int32_t index, uint8_t mode)
{
    if (index < 0 || index >= count_)
        return 1;
    currentIndex_ = index;
    GetRecord(index, current_);
    const int32_t result = LoadCurrent(mode);
    PutRecord(index, current_);
    return result;
}

int32_t SwapStore::UnloadCurrent()
{
    Attach(current_);
    const int32_t result = SwapOut();
    Detach();
    if (result == 0)
        FreeData(current_);
    return result;
}

int32_t SwapStore::UnloadData(uint16_t id)
{
    const int32_t index = FindById(id);
    if (index < 0)
        return 1;
    const int32_t result = UnloadCurrent();
    PutRecord(index, current_);
    return result;
}

int32_t SwapStore::UnloadAll(uint8_t keepMask)
{
    int32_t sum = 0;
    for (int32_t i = 0; i < count_; ++i) {
        currentIndex_ = i;
        GetRecord(i, current_);
        if (!HeaderHas(current_, kRecLoaded))
            continue;
        if (keepMask != 0 && HeaderHas(current_, keepMask))
            continue;
        sum += UnloadCurrent();
        PutRecord(i, current_);
    }
    ClearCurrent();
    return sum;
}

void SwapStore::ClearKeepFlags()
{
    for (int32_t i = 0; i < count_; ++i)
        SetHeaderBits(RecordPtr(i), kRecKeep, false);
}

void SwapStore::DropCurrent()
{
    Attach(current_);
    ReleaseSwapCopy();
    Detach();
    FreeData(current_);
}

int32_t SwapStore::DeleteById(uint16_t id)
{
    const int32_t index = FindById(id);
    if (index < 0)
        return 1;
    DropCurrent();
    DeleteOne(index);
    ClearCurrent();
    return 0;
}

void SwapStore::DeleteAll()
{
    for (int32_t i = 0; i < count_; ++i) {
        currentIndex_ = i;
        GetRecord(i, current_);
        DropCurrent();
        PutRecord(i, current_);
    }
    DeleteAt(firstIndex_, count_);
    ClearCurrent();
}

void SwapStore::DeleteRange(int32_t first, int32_t n)
{
    if (first < 0 || n <= 0 || first >= count_)
        return;
    if (n > count_ - first)
        n = count_ - first;
    uint8_t saved[kRecordHeaderSize];
    std::memcpy(saved, current_, sizeof saved);
    int32_t savedIndex = currentIndex_;
    for (int32_t i = first; i < first + n; ++i) {
        currentIndex_ = i;
        GetRecord(i, current_);
        DropCurrent();
        PutRecord(i, current_);
    }
    DeleteAt(first, n);
    // The current record keeps its place among the records that stay.
    if (savedIndex >= first + n)
        savedIndex -= n;
    else if (savedIndex >= first)
        savedIndex = -1;
    currentIndex_ = savedIndex;
    if (savedIndex >= 0)
        std::memcpy(current_, saved, sizeof saved);
    else
        std::memset(current_, 0, sizeof current_);
}

uint16_t SwapStore::NewRecord(bool keep) { return InsertRecord(count_, nullptr, keep); }

uint16_t SwapStore::InsertRecord(int32_t index, Handle data, bool keep)
{
    if (recordSize_ < kRecordHeaderSize)
        return 0;
    std::vector<uint8_t> record(recordSize_, 0);
    InitRecord(record.data());
    const uint16_t id = HeaderId(record.data());
    if (id == 0)
        return 0;
    SetHeaderBits(record.data(), kRecKeep, keep);
    const bool ownHandle = data == nullptr;
    if (ownHandle) {
        data = HandleNew(0);
        if (!data)
            return 0;
    }
    SetDataHandle(record.data(), data);
    if (index < 0)
        index = 0;
    if (index > count_)
        index = count_;
    if (InsertAt(index, record.data()) != 0) {
        SetDataHandle(record.data(), nullptr);
        if (ownHandle)
            HandleFree(data);
        return 0;
    }
    currentIndex_ = index;
    GetRecord(index, current_);
    return id;
}

int32_t SwapStore::RewriteCurrent()
{
    if (currentIndex_ < 0)
        return 1;
    if (LoadCurrent(0) != 0)
        return 1;
    SetHeaderBits(current_, kRecCopied, false);
    const int32_t result = UnloadCurrent();
    PutRecord(currentIndex_, current_);
    return result;
}

int32_t SwapStore::WriteRecordTo(FileHandle file, uint16_t id)
{
    uint8_t saved[kRecordHeaderSize];
    std::memcpy(saved, current_, sizeof saved);
    const int32_t savedIndex = currentIndex_;
    if (LoadData(id, 0) != 0) {
        std::memcpy(current_, saved, sizeof saved);
        currentIndex_ = savedIndex;
        return 1;
    }
    Handle h = DataHandle(current_);
    const uint32_t size = HandleGetSize(h);
    uint32_t here = 0;
    int32_t sum = FileTell(file, &here);
    uint8_t header[kRecordHeaderSize];
    std::memcpy(header, current_, sizeof header);
    SetHeaderSlot(header, 0);
    SetHeaderSize(header, size);
    SetHeaderPosition(header, here + kRecordHeaderSize);
    sum += FileWrite(file, header, kRecordHeaderSize);
    if (size)
        sum += FileWrite(file, HandleData(h), size);
    UnloadData(id);
    std::memcpy(current_, saved, sizeof saved);
    currentIndex_ = savedIndex;
    return sum;
}

int32_t SwapStore::ReadRecordFrom(FileHandle file, uint16_t* id)
{
    *id = 0;
    uint8_t saved[kRecordHeaderSize];
    std::memcpy(saved, current_, sizeof saved);
    const int32_t savedIndex = currentIndex_;
    auto restore = [&] {
        std::memcpy(current_, saved, sizeof saved);
        currentIndex_ = savedIndex;
    };
    if (recordSize_ < kRecordHeaderSize)
        return 1;

    std::vector<uint8_t> record(recordSize_, 0);
    InitRecord(record.data());
    if (HeaderId(record.data()) == 0) {
        restore();
        return 1;
    }
    uint8_t header[kRecordHeaderSize];
    int32_t err = FileRead(file, header, kRecordHeaderSize);
    if (err != kErrNone) {
        restore();
        return err;
    }
    const uint32_t size = HeaderSize(header);
    uint32_t here = 0;
    uint32_t fileSize = 0;
    if (FileTell(file, &here) != kErrNone || FileGetSize(file, &fileSize) != kErrNone ||
        uint64_t(here) + size > fileSize) {
        restore();
        return kErrHandleEof;
    }
    Handle data = HandleNew(size);
    if (!data) {
        restore();
        return kErrNotEnoughMemory;
    }
    if (size && (err = FileRead(file, HandleData(data), size)) != kErrNone) {
        HandleFree(data);
        restore();
        return err;
    }
    SetHeaderFlags(record.data(), uint8_t(HeaderFlags(record.data()) | (HeaderFlags(header) & kRecLayoutBits)));
    SetDataHandle(record.data(), data);
    if (InsertAt(count_, record.data()) != 0) {
        SetDataHandle(record.data(), nullptr);
        HandleFree(data);
        restore();
        return kErrNotEnoughMemory;
    }
    currentIndex_ = count_ - 1;
    GetRecord(currentIndex_, current_);
    UnloadCurrent();
    PutRecord(currentIndex_, current_);
    *id = HeaderId(record.data());
    restore();
    return 0;
}

int32_t SwapStore::CopyRecords(SwapStore* source, int32_t first, int32_t last, int32_t destination)
{
    int32_t result = 0;
    for (int32_t i = first; i <= last; ++i) {
        Handle copy = nullptr;
        uint8_t layout = 0;
        if (source->SelectIndex(i, 0) == 0) {
            copy = source->DataHandle(source->current_);
            layout = HeaderFlags(source->current_) & kRecLayoutBits;
            if (HandleDuplicate(&copy) != 0) {
                copy = nullptr;
                result = 1;
            }
        } else {
            result = 1;
        }
        const uint16_t sourceId = HeaderId(source->current_);
        const uint16_t id = InsertRecord(destination, copy, false);
        if (id == 0) {
            HandleFree(copy);
            result = 1;
        } else {
            SetHeaderFlags(current_, uint8_t(HeaderFlags(current_) | layout));
            PutRecord(currentIndex_, current_);
            UnloadData(id);
            ++destination;
        }
        source->UnloadData(sourceId);
    }
    return result;
}

int32_t SwapStore::ReadStore(FileHandle file, int32_t offset, uint32_t length)
{
    if (offset != -1 && FileSeek(file, kSeekStart, offset) != kErrNone)
        return kStoreDocRead;
    uint32_t here = 0;
    uint32_t fileSize = 0;
    if (FileTell(file, &here) != kErrNone || FileGetSize(file, &fileSize) != kErrNone ||
        uint64_t(here) + length > fileSize || length > uint32_t(INT32_MAX) || recordSize_ == 0)
        return kStoreDocRead;
    // Whole records only: a torn last record is left out.
    const uint32_t whole = length - length % recordSize_;
    Handle h = HandleNew(length);
    if (!h)
        return kStoreDocRead;
    if (length && FileRead(file, HandleData(h), length) != kErrNone) {
        HandleFree(h);
        return kStoreDocRead;
    }
    if (whole != length)
        HandleResize(h, int32_t(whole));
    for (int32_t i = 0; i < count_; ++i)
        FreeData(RecordPtr(i));
    HandleFree(records_);
    records_ = h;
    CountRecords();
    lastId_ = MaxId();
    for (int32_t i = 0; i < count_; ++i) {
        uint8_t* r = RecordPtr(i);
        SetHeaderSlot(r, 0);
        SetHeaderFlags(r, kRecCopied);
    }
    ClearCurrent();
    return 0;
}

int32_t SwapStore::WriteRecordArray(FileHandle file)
{
    uint32_t here = 0;
    windowSize_ = 0;
    windowPosition_ = 0;
    if (FileTell(file, &here) != kErrNone)
        return kStoreDocWrite;
    windowPosition_ = here;
    const uint32_t bytes = uint32_t(count_) * recordSize_;
    std::vector<uint8_t> out(bytes);
    RecordsForFile(HandleData(records_), out.data(), size_t(count_), recordSize_);
    if (bytes && FileWrite(file, out.data(), bytes) != kErrNone)
        return kStoreDocWrite;
    windowSize_ = bytes;
    return 0;
}

int32_t SwapStore::WriteStore(FileHandle file, int32_t offset)
{
    if (offset != -1 && FileSeek(file, kSeekStart, offset) != kErrNone)
        return kStoreDocWrite;
    return WriteRecordArray(file);
}

void SwapStore::AdoptArray(Handle h, uint32_t recordSize)
{
    borrowed_ = true;
    InitArray(h, recordSize);
    lastId_ = MaxId();
    idsWrapped_ = 0;
    currentIndex_ = -1;
    SetHeaderFlags(current_, 0);
}

void SwapStore::ReleaseArray()
{
    lastId_ = 0;
    FreeArray(false);
    borrowed_ = false;
}

bool SwapStore::AnyChanged()
{
    for (int32_t i = 0; i < count_; ++i) {
        if (HeaderHas(RecordPtr(i), kRecChanged))
            return true;
    }
    return false;
}

void SwapStore::MarkChanged(int32_t key, bool byIndex)
{
    int32_t index = -1;
    if (byIndex) {
        if (key >= 0 && key < count_) {
            index = key;
            currentIndex_ = key;
            GetRecord(key, current_);
        }
    } else {
        index = FindById(uint16_t(key));
    }
    if (index < 0)
        return;
    SetHeaderBits(current_, kRecChanged, true);
    PutRecord(index, current_);
}
