#include "frames/cstore_mng.h"

#include <algorithm>

#include "foundation/win_error.h"
#include "frames/record_header_format.h"

Handle CStoreMng::DataHandle(const uint8_t* header) const
{
    return static_cast<Handle>(slots_.Get(HeaderSlot(header)));
}

void CStoreMng::SetDataHandle(uint8_t* header, Handle h)
{
    const uint32_t token = HeaderSlot(header);
    if (token != 0 && slots_.Get(token)) {
        if (h) {
            slots_.Set(token, h);
            return;
        }
        slots_.Take(token);
    }
    SetHeaderSlot(header, slots_.Add(h));
}

uint32_t CStoreMng::DataSize()
{
    return attached_ ? HandleGetSize(DataHandle(attached_)) : 0;
}

uint32_t CStoreMng::StoredSize() { return attached_ ? HeaderSize(attached_) : 0; }

int32_t CStoreMng::PrepareHandle()
{
    if (!attached_)
        return 1;
    const uint32_t size = HeaderSize(attached_);
    Handle h = DataHandle(attached_);
    if (!h) {
        h = HandleNew(size);
        if (!h)
            return 1;
        SetDataHandle(attached_, h);
        return 0;
    }
    if (HandleGetSize(h) != size && (size > uint32_t(INT32_MAX) || HandleResize(h, int32_t(size)) != 0))
        return 1;
    return 0;
}

int32_t CStoreMng::SwapOut()
{
    if (!attached_)
        return 0;
    if (!swap_)
        return kStoreNoSwap;
    if (!swap_->IsOpen())
        return kStoreSwapNotOpen;
    uint8_t* h = attached_;
    if (!HeaderHas(h, kRecChanged) && HeaderHas(h, kRecCopied))
        return 0;
    if (!HeaderHas(h, kRecLoaded))
        return 0;
    const uint32_t now = DataSize();
    const uint32_t old = HeaderSize(h);
    uint32_t position = HeaderPosition(h);
    if (!HeaderHas(h, kRecCopied)) {
        SetHeaderBits(h, kRecChanged | kRecCopied, true);
        position = swap_->Allocate(now);
    } else if (now > old) {
        swap_->FreeSpace(position, old);
        position = swap_->Allocate(now);
    } else if (now < old) {
        swap_->FreeSpace(position + now, old - now);
    }
    SetHeaderSize(h, now);
    SetHeaderPosition(h, position);
    const int32_t result = WriteData(swap_->GetFileHandle(), position);
    if (result == 0) {
        SetHeaderBits(h, kRecChanged, false);
    } else {
        // The record has no valid copy any more; its stretch would
        // otherwise never come back.
        SetHeaderBits(h, kRecCopied, false);
        if (position != kNoSwapPosition)
            swap_->FreeSpace(position, now);
    }
    return result;
}

int32_t CStoreMng::WriteData(FileHandle file, uint32_t position)
{
    if (!attached_ || position == kNoSwapPosition || position > uint32_t(INT32_MAX))
        return 1;
    Handle h = DataHandle(attached_);
    const uint32_t size = std::min(HeaderSize(attached_), HandleGetSize(h));
    // A closing page swaps out every paragraph and story it has: one call
    // each, not a seek and a write.
    return size ? FileWriteAt(file, position, HandleData(h), size) : kErrNone;
}

int32_t CStoreMng::SwapIn(uint8_t mode)
{
    if (!swap_)
        return kStoreNoSwap;
    if (!swap_->IsOpen())
        return kStoreSwapNotOpen;
    if (!attached_)
        return kStoreNoCopy;
    uint8_t* h = attached_;
    if (HeaderHas(h, kRecLoaded)) {
        SetHeaderFlags(h, uint8_t(HeaderFlags(h) | mode));
        return 0;
    }
    if (!HeaderHas(h, kRecCopied))
        return kStoreNoCopy;
    const int32_t result = ReadData(swap_->GetFileHandle(), HeaderPosition(h));
    if (result == 0) {
        SetHeaderBits(h, kRecChanged, false);
        SetHeaderFlags(h, uint8_t(HeaderFlags(h) | kRecLoaded | mode));
    }
    return result;
}

bool CStoreMng::ReadIntoData(FileHandle file, int64_t seekTo, uint32_t size)
{
    if (PrepareHandle() != 0)
        return false;
    Handle h = DataHandle(attached_);
    // An opening page swaps in every paragraph and story it has: a read at
    // a place is one call, not a seek and a read.
    const int32_t err = !size        ? kErrNone
                        : seekTo >= 0 ? FileReadAt(file, uint32_t(seekTo), HandleData(h), size)
                                      : FileRead(file, HandleData(h), size);
    if (err != kErrNone) {
        SetDataHandle(attached_, nullptr);
        HandleFree(h);
        return false;
    }
    return true;
}

int32_t CStoreMng::ReadData(FileHandle file, uint32_t position)
{
    if (!attached_)
        return kStoreSwapRead;
    uint32_t fileSize = 0;
    const uint32_t size = HeaderSize(attached_);
    // The size comes from a record that may have come from a file; it is
    // believed only as far as the file reaches.
    if (FileGetSize(file, &fileSize) != kErrNone || position == kNoSwapPosition || position > uint32_t(INT32_MAX) ||
        uint64_t(position) + size > fileSize)
        return kStoreSwapRead;
    return ReadIntoData(file, int64_t(position), size) ? 0 : kStoreSwapRead;
}

int32_t CStoreMng::ReadFromFile(FileHandle file)
{
    if (!attached_)
        return kStoreDocRead;
    uint32_t here = 0;
    uint32_t fileSize = 0;
    const uint32_t size = HeaderSize(attached_);
    if (FileTell(file, &here) != kErrNone || FileGetSize(file, &fileSize) != kErrNone ||
        uint64_t(here) + size > fileSize)
        return kStoreDocRead;
    return ReadIntoData(file, -1, size) ? 0 : kStoreDocRead;
}

int32_t CStoreMng::WriteToFile(FileHandle file)
{
    if (!attached_)
        return kStoreDocWrite;
    uint32_t here = 0;
    if (FileTell(file, &here) != kErrNone)
        return kStoreDocWrite;
    SetHeaderPosition(attached_, here);
    Handle h = DataHandle(attached_);
    if (!h) {
        SetHeaderSize(attached_, 0);
        return 0;
    }
    const uint32_t size = std::min(HeaderSize(attached_), HandleGetSize(h));
    SetHeaderSize(attached_, size);
    if (size && FileWrite(file, HandleData(h), size) != kErrNone)
        return kStoreDocWrite;
    return 0;
}

void CStoreMng::ReleaseSwapCopy()
{
    if (!attached_ || !HeaderHas(attached_, kRecCopied))
        return;
    if (swap_)
        swap_->FreeSpace(HeaderPosition(attached_), HeaderSize(attached_));
    SetHeaderBits(attached_, kRecCopied, false);
}
