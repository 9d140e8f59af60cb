#include "graphics/emf_reader.h"

#include <new>

#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "foundation/win_error.h"
#include "graphics/metafile_format.h"

namespace {

IntRect ReadRect(const uint8_t* p)
{
    return IntRect{GetI32LE(p), GetI32LE(p + 4), GetI32LE(p + 8), GetI32LE(p + 12)};
}

IntSize ReadSize(const uint8_t* p) { return IntSize{GetI32LE(p), GetI32LE(p + 4)}; }

bool ReadHeader(const std::vector<uint8_t>& bits, EmfHeader* h)
{
    const uint8_t* p = bits.data();
    const uint32_t size = GetU32LE(p + 4);
    h->bounds = ReadRect(p + kEmfHeaderBounds);
    h->frame = ReadRect(p + kEmfHeaderFrame);
    h->bytes = uint32_t(bits.size());
    h->handles = GetU16LE(p + kEmfHeaderHandles);
    h->devicePixels = ReadSize(p + kEmfHeaderDevice);
    h->deviceMillimeters = ReadSize(p + kEmfHeaderMillimeters);
    if (size >= kEmfHeaderFullSize)
        h->deviceMicrometers = ReadSize(p + kEmfHeaderMicrometers);
    // The description is optional; one that does not lie inside the header
    // record is left out rather than refusing the picture.
    const uint32_t chars = GetU32LE(p + kEmfHeaderDescriptionChars);
    const uint32_t offset = GetU32LE(p + kEmfHeaderDescriptionOffset);
    if (chars > 0 && offset >= kEmfHeaderBaseSize && offset <= size && chars <= (size - offset) / 2) {
        h->description.resize(chars);
        for (uint32_t i = 0; i < chars; ++i)
            h->description[i] = char16_t(GetU16LE(p + offset + 2 * i));
    }
    return true;
}

// Checks the framing and makes the bytes well-formed (see the header).
bool Normalise(std::vector<uint8_t>& bits, uint32_t* records)
{
    if (bits.size() < kEmfHeaderBaseSize || bits.size() > kEmfMaxBytes)
        return false;
    const uint8_t* p = bits.data();
    const uint32_t headerSize = GetU32LE(p + 4);
    if (GetU32LE(p) != EMR_HEADER || GetU32LE(p + kEmfHeaderSignature) != kEmfSignature ||
        headerSize < kEmfHeaderBaseSize || headerSize % 4 != 0 || headerSize > bits.size())
        return false;

    size_t pos = headerSize;
    uint32_t count = 1;
    bool closed = false;
    while (bits.size() - pos >= 8) {
        const uint32_t type = GetU32LE(bits.data() + pos);
        const uint32_t size = GetU32LE(bits.data() + pos + 4);
        if (size < 8 || size % 4 != 0 || size > bits.size() - pos)
            break;
        pos += size;
        ++count;
        if (type == EMR_EOF) {
            closed = true;
            break;
        }
    }
    bits.resize(pos);
    if (!closed) {
        if (bits.size() > kEmfMaxBytes - 20)
            return false;
        uint8_t eof[20];
        PutU32LE(eof, EMR_EOF);
        PutU32LE(eof + 4, 20);
        PutU32LE(eof + 8, 0);
        PutU32LE(eof + 12, 16);
        PutU32LE(eof + 16, 20);
        bits.insert(bits.end(), eof, eof + 20);
        ++count;
    }
    PutU32LE(bits.data() + kEmfHeaderBytes, uint32_t(bits.size()));
    PutU32LE(bits.data() + kEmfHeaderRecords, count);
    *records = count;
    return true;
}

// The two-call rule of the bits' readers: without a buffer the size
// wanted, into one too small nothing (0), else the first n bytes.
uint32_t CopyLeadingBits(EnhMetafile mf, uint32_t n, uint32_t size, uint8_t* buffer)
{
    if (!buffer)
        return n;
    if (size < n)
        return 0;
    std::memcpy(buffer, mf->bits.data(), n);
    return n;
}

}  // namespace

bool EmfRecordCursor::next(EmfRecord* out)
{
    if (bits_->size() - pos_ < 8)
        return false;
    const uint8_t* p = bits_->data() + pos_;
    out->type = GetU32LE(p);
    out->size = GetU32LE(p + 4);
    out->data = p;
    pos_ += out->size;
    return true;
}

EnhMetafile EnhMetafileFromBytes(std::vector<uint8_t> bytes)
{
    uint32_t records = 0;
    if (!Normalise(bytes, &records))
        return nullptr;
    auto* mf = new (std::nothrow) EnhMetafileRec;
    if (!mf)
        return nullptr;
    mf->bits = std::move(bytes);
    ReadHeader(mf->bits, &mf->header);
    mf->header.records = records;
    return mf;
}

EnhMetafile SetEnhMetaFileBits(uint32_t size, const uint8_t* data)
{
    if (!data || size < kEmfHeaderBaseSize)
        return nullptr;
    std::vector<uint8_t> bytes;
    try {
        bytes.assign(data, data + size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return EnhMetafileFromBytes(std::move(bytes));
}

uint32_t GetEnhMetaFileBits(EnhMetafile mf, uint32_t size, uint8_t* buffer)
{
    return mf ? CopyLeadingBits(mf, uint32_t(mf->bits.size()), size, buffer) : 0;
}

uint32_t GetEnhMetaFileHeader(EnhMetafile mf, uint32_t size, uint8_t* buffer)
{
    return mf ? CopyLeadingBits(mf, GetU32LE(mf->bits.data() + 4), size, buffer) : 0;
}

void DeleteEnhMetaFile(EnhMetafile mf) { delete mf; }

int32_t MetafileReadWholeFile(const char* path, uint32_t maxBytes, std::vector<uint8_t>* out)
{
    out->clear();
    PathRecord record;
    if (!path)
        return kErrFileNotFound;
    int32_t err = PathRecordFromString(path, &record);
    if (err)
        return err;
    FileHandle file = kNoFile;
    err = FileOpen(&record, kFileRead, &file);
    if (err)
        return err;
    uint32_t size = 0;
    err = FileGetSize(file, &size);
    if (!err && size > maxBytes)
        err = kErrNotEnoughMemory;
    if (!err) {
        try {
            out->resize(size);
        } catch (const std::bad_alloc&) {
            err = kErrNotEnoughMemory;
        }
    }
    if (!err && size)
        err = FileRead(file, out->data(), size);
    FileClose(file);
    if (err)
        out->clear();
    return err;
}

EnhMetafile GetEnhMetaFileA(const char* path)
{
    std::vector<uint8_t> bytes;
    if (MetafileReadWholeFile(path, kEmfMaxBytes, &bytes))
        return nullptr;
    return EnhMetafileFromBytes(std::move(bytes));
}
