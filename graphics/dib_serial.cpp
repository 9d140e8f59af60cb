#include "graphics/dib_serial.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/win_error.h"
#include "graphics/dib_block.h"
#include "graphics/dib_format.h"

namespace {

// Reads one serial form into a cleared record. read(bytes, n) fetches the
// form's next n bytes and returns 0 or an error; fits(n) says whether n
// more bytes can be there at all, so that a corrupt size word is refused
// before anything is reserved for it.
template <class Read, class Fits>
int32_t ReadForm(DibHandle h, Read read, Fits fits)
{
    DibRecord* r = DibHandleBlockSlot(h);
    if (!r)
        return 1;
    DibHandleClear(&h);
    uint8_t word[4];
    if (int32_t e = read(word, 4))
        return e;
    const uint32_t size = GetU32LE(word);
    if (size == 0)
        return 0;
    if (size < kDibHeaderSize || size > kDibMaxBlockSize)
        return 1;
    if (int32_t e = fits(size))
        return e;
    uint8_t header[kDibHeaderSize];
    if (int32_t e = read(header, kDibHeaderSize))
        return e;
    DibGeometry g;
    if (!DibCheckHeader(header, size, &g))
        return 1;

    auto* block = static_cast<uint8_t*>(MemAllocClear(size));
    if (!block)
        return 1;
    std::memcpy(block, header, kDibHeaderSize);
    if (int32_t e = read(block + kDibHeaderSize, size - kDibHeaderSize)) {
        MemFree(block);
        return e;
    }
    if (DibIsWorkingForm(g))
        return DibHandleAdoptBlock(h, block, size);
    uint32_t convertedSize = 0;
    uint8_t* converted = DibConvertToWorkingForm(block, g, false, &convertedSize);
    MemFree(block);
    return converted ? DibHandleAdoptBlock(h, converted, convertedSize) : 1;
}

// The size word and the block of a picture (none when empty).
struct Form {
    uint8_t word[4] = {};
    const uint8_t* block = nullptr;
    uint32_t size = 0;

    explicit Form(DibHandle h)
    {
        if (!DibHandleIsEmpty(h)) {
            const DibRecord* r = DibHandleBlockSlot(h);
            block = r->block;
            size = r->byteSize;
        }
        PutU32LE(word, size);
    }
};

}  // namespace

uint32_t DibHandleSerialSize(DibHandle h) { return 4 + Form(h).size; }

int32_t DibHandleWriteFile(FileHandle file, DibHandle h)
{
    const Form form(h);
    if (int32_t e = FileWrite(file, form.word, 4))
        return e;
    return form.size ? FileWrite(file, form.block, form.size) : 0;
}

int32_t DibHandleReadFile(FileHandle file, DibHandle* h)
{
    if (!h)
        return 1;
    if (!*h && !(*h = DibHandleNew()))
        return 1;
    auto read = [file](void* bytes, uint32_t n) { return FileRead(file, bytes, n); };
    auto fits = [file](uint32_t n) {
        uint32_t position = 0, size = 0;
        if (FileTell(file, &position) == 0 && FileGetSize(file, &size) == 0 && position <= size &&
            n > size - position)
            return int32_t(kErrHandleEof);
        return int32_t(0);
    };
    const int32_t result = ReadForm(*h, read, fits);
    if (result)
        DibHandleClear(h);
    return result;
}

int32_t DibHandleWriteStore(StoreFileIo* store, DibHandle h, uint32_t* position, uint32_t* length)
{
    if (!h)
        return 0;
    if (!store)
        return 1;
    const Form form(h);
    const uint32_t n = 4 + form.size;
    const uint32_t at = store->Allocate(n);
    if (at == kStoreNoPosition)
        return 1;
    if (position)
        *position = at;
    if (length)
        *length = n;
    if (int32_t e = store->WriteAt(at, form.word, 4))
        return e;
    return form.size ? store->WriteAt(at + 4, form.block, form.size) : 0;
}

int32_t DibHandleReadStore(StoreFileIo* store, DibHandle h, uint32_t position)
{
    if (!store || position == kStoreNoPosition) {
        DibHandleClear(&h);
        return 1;
    }
    uint64_t at = position;
    auto read = [store, &at](void* bytes, uint32_t n) {
        if (at + n > UINT32_MAX)
            return int32_t(kErrHandleEof);
        const int32_t e = store->ReadAt(uint32_t(at), bytes, n);
        at += n;
        return e;
    };
    const int32_t result = ReadForm(h, read, [](uint32_t) { return int32_t(0); });
    if (result)
        DibHandleClear(&h);
    return result;
}

int32_t DibHandleSerialize(DibHandle h, uint8_t* buffer, size_t capacity, size_t offset)
{
    if (!h || !buffer)
        return 1;
    const Form form(h);
    if (offset > capacity || capacity - offset < 4 + uint64_t(form.size))
        return 1;
    std::memcpy(buffer + offset, form.word, 4);
    if (form.size)
        std::memcpy(buffer + offset + 4, form.block, form.size);
    return 0;
}

int32_t DibHandleDeserialize(DibHandle h, const uint8_t* buffer, size_t size, size_t offset)
{
    size_t at = offset;
    auto read = [&](void* bytes, uint32_t n) {
        if (!buffer || at > size || size - at < n)
            return int32_t(1);
        std::memcpy(bytes, buffer + at, n);
        at += n;
        return int32_t(0);
    };
    auto fits = [&](uint32_t n) { return at <= size && size - at >= n ? int32_t(0) : int32_t(1); };
    const int32_t result = ReadForm(h, read, fits);
    if (result)
        DibHandleClear(&h);
    return result;
}
