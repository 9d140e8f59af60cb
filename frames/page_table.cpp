#include "frames/page_table.h"

#include <cstring>
#include <vector>

#include "foundation/alerts.h"
#include "foundation/win_error.h"
#include "frames/frame_document.h"

PageTable::PageTable(FrameDocument* document) : StoreArray(kPageRecordSize), document_(document) {}

void PageTable::InitPage(uint8_t* record, int16_t kind)
{
    std::memset(record, 0, kPageRecordSize);
    SetPageKind(record, uint16_t(kind));
    SetPageHandle(record, kNoPageHandle);
    int16_t mode = 4, numerator = 1, denominator = 1;
    if (document_)
        document_->GetPageZoom(&mode, &numerator, &denominator);
    PutI16LE(record + kPageZoomModeOffset, mode);
    PutI16LE(record + kPageZoomNumOffset, numerator);
    PutI16LE(record + kPageZoomDenOffset, denominator);
    record[kPageNewFlagOffset] = 1;
    SetPageNumber(record, kNoPageNumber);
}

int32_t PageTable::InsertPages(int16_t after, int32_t n, int16_t kind, int32_t result)
{
    uint8_t record[kPageRecordSize];
    InitPage(record, kind);
    uint32_t handle = 0;
    const int32_t found = HandleOfNumber(after, &handle);
    int32_t index = found + 1;
    int16_t number = found >= 0 ? int16_t(after + 1) : (document_ ? document_->FirstPageNumber() : 1);
    uint32_t next = MaxHandle() + 1;
    for (int32_t i = 0; i < n && uint32_t(count_) < kMaxPages; ++i) {
        SetPageHandle(record, next);
        SetPageNumber(record, number);
        if (InsertAt(index, record) != 0)
            break;
        ++next;
        ++number;
        ++index;
    }
    Renumber();
    return result;
}

int32_t PageTable::DeletePages(int16_t, int16_t) { return 0; }

void PageTable::Renumber()
{
    int16_t number = document_ ? document_->FirstPageNumber() : 1;
    for (int32_t i = 0; i < count_; ++i)
        SetPageNumber(RecordPtr(i), number++);
}

uint32_t PageTable::MaxHandle()
{
    uint32_t max = 0;
    for (int32_t i = 0; i < count_; ++i) {
        const uint32_t h = PageHandle(RecordPtr(i));
        if (h != kNoPageHandle && h > max)
            max = h;
    }
    return max;
}

int32_t PageTable::NumberOfHandle(uint32_t handle, int16_t* number)
{
    *number = kNoPageNumber;
    if (handle == kNoPageHandle)
        return -1;
    for (int32_t i = 0; i < count_; ++i) {
        const uint8_t* r = RecordPtr(i);
        if (PageHandle(r) == handle) {
            *number = PageNumber(r);
            return i;
        }
    }
    return -1;
}

int32_t PageTable::HandleOfNumber(int16_t number, uint32_t* handle)
{
    *handle = kNoPageHandle;
    if (number == kNoPageNumber)
        return -1;
    for (int32_t i = 0; i < count_; ++i) {
        const uint8_t* r = RecordPtr(i);
        if (PageNumber(r) == number) {
            *handle = PageHandle(r);
            return i;
        }
    }
    return -1;
}

int32_t PageTable::GetPage(int32_t index, uint8_t* record)
{
    const uint8_t* r = RecordPtr(index);
    if (!r) {
        SetPageHandle(record, kNoPageHandle);
        SetPageNumber(record, kNoPageNumber);
        SetPageKind(record, 0xFFFF);
        PutU16LE(record + kPageWord180Offset, 0);
        record[kPageByte185Offset] = 0;
        return -1;
    }
    std::memcpy(record, r, kPageRecordSize);
    return index;
}

int32_t PageTable::PutPage(int32_t index, const uint8_t* record)
{
    uint8_t* r = RecordPtr(index);
    if (!r)
        return -1;
    std::memcpy(r, record, kPageRecordSize);
    return index;
}

int32_t PageTable::Write(FileHandle file, int32_t offset)
{
    int32_t sum = 0;
    if (offset != -1)
        sum += FileSeek(file, kSeekStart, offset);
    uint8_t header[kPageSectionHeaderSize];
    const uint32_t length = uint32_t(count_) * kPageRecordSize;
    PutU32LE(header, length);
    sum += FileWrite(file, header, sizeof header);
    if (length)
        sum += FileWrite(file, HandleData(records_), length);
    return sum;
}

int32_t PageTable::Read(FileHandle file, int32_t offset)
{
    auto fail = [](int32_t code) {
        AlertNote(" NotEnough memory to load a page ", 0);
        return code ? code : 1;
    };
    if (offset != -1) {
        const int32_t err = FileSeek(file, kSeekStart, offset);
        if (err != kErrNone)
            return fail(err);
    }
    uint8_t header[kPageSectionHeaderSize];
    int32_t err = FileRead(file, header, sizeof header);
    if (err != kErrNone)
        return fail(err);
    const uint32_t length = GetU32LE(header);
    // The length is believed only as far as the file reaches, and a table
    // is adopted only when all of it was read.
    uint32_t here = 0;
    uint32_t fileSize = 0;
    if (FileTell(file, &here) != kErrNone || FileGetSize(file, &fileSize) != kErrNone ||
        uint64_t(here) + length > fileSize)
        return fail(kErrHandleEof);
    Handle h = HandleNew(length);
    if (!h)
        return fail(kErrNotEnoughMemory);
    if (length && (err = FileRead(file, HandleData(h), length)) != kErrNone) {
        HandleFree(h);
        return fail(err);
    }
    HandleFree(records_);
    records_ = h;
    CountRecords();
    HandleResize(records_, int32_t(count_ * kPageRecordSize));
    return 0;
}
