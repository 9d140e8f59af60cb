#include "foundation/resfile.h"

#include <zlib.h>

#include <algorithm>
#include <new>
#include <tuple>

#include "foundation/resfile_format.h"
#include "foundation/resfile_state.h"
#include "foundation/win_error.h"

namespace {

ResFileState g_state;

int32_t g_failCountdown = -1;
bool g_failOnce = false;
bool g_crashed = false;

// True when the next write, size change or flush is to fail. The first
// failure of a run tears its write in half; after a simulated crash
// nothing reaches the file any more.
bool InjectedFailure(bool* tear)
{
    *tear = false;
    if (g_failCountdown < 0)
        return false;
    if (g_failCountdown > 0) {
        --g_failCountdown;
        return false;
    }
    *tear = !g_crashed;
    if (g_failOnce)
        g_failCountdown = -1;
    else
        g_crashed = true;
    return true;
}

int32_t Write(FileHandle file, const void* buffer, uint32_t n)
{
    bool tear;
    if (InjectedFailure(&tear)) {
        if (tear)
            FileWrite(file, buffer, n / 2);
        return kErrDiskFull;
    }
    return FileWrite(file, buffer, n);
}

int32_t SetSize(FileHandle file, uint32_t size)
{
    bool tear;
    return InjectedFailure(&tear) ? kErrDiskFull : FileSetSize(file, size);
}

int32_t Sync(FileHandle file)
{
    bool tear;
    return InjectedFailure(&tear) ? kErrDiskFull : FileSync(file);
}

int32_t ReadAt(FileHandle file, uint32_t at, void* buffer, uint32_t n)
{
    if (int32_t err = FileSeek(file, kSeekStart, int32_t(at)))
        return err;
    return n ? FileRead(file, buffer, n) : 0;
}

int32_t WriteAt(FileHandle file, uint32_t at, const void* buffer, uint32_t n)
{
    if (int32_t err = FileSeek(file, kSeekStart, int32_t(at)))
        return err;
    return n ? Write(file, buffer, n) : 0;
}

uint32_t Crc(const uint8_t* data, uint32_t n)
{
    return uint32_t(crc32(crc32(0L, Z_NULL, 0), data, n));
}

// Writes the content over the start of the file and cuts the file there.
// The content is on the disk when the first two steps succeed; *durable
// tells so even when cutting the rest away fails.
int32_t RewriteFront(FileHandle file, const uint8_t* content, uint32_t n, bool* durable)
{
    *durable = false;
    int32_t err = WriteAt(file, 0, content, n);
    if (!err)
        err = Sync(file);
    if (err)
        return err;
    *durable = true;
    // The cut must reach the disk before the next change writes its copy
    // behind the content: a cut lost in a crash would bring this change's
    // trailer back over a copy the next change has overwritten, and its
    // damaged copy would then pass the old, shorter content off as the
    // file's.
    err = SetSize(file, n);
    return err ? err : Sync(file);
}

// Where the content of a file of `physical` bytes lies. A valid trailer at
// the end means a rewrite was interrupted after its copy was safe: the copy
// is the content, and with write access it is put in place now. A trailer
// whose copy is damaged means the copy itself was interrupted: the old
// content before it is whole.
int32_t LocateContent(FileHandle file, uint32_t physical, int16_t mode, uint32_t* base, uint32_t* size)
{
    *base = 0;
    *size = physical;
    if (physical < kResHeaderSize + kResTrailerSize)
        return 0;
    uint8_t trailer[kResTrailerSize];
    if (int32_t err = ReadAt(file, physical - kResTrailerSize, trailer, kResTrailerSize))
        return err;
    if (GetU32LE(trailer + kResTrailerMagicAt) != kResFileMagic ||
        GetU32LE(trailer + kResTrailerPendingAt) != kResPendingMagic)
        return 0;
    const uint32_t oldSize = GetU32LE(trailer + kResTrailerOldSizeAt);
    const uint32_t newSize = GetU32LE(trailer + kResTrailerNewSizeAt);
    if (newSize < kResHeaderSize ||
        uint64_t(std::max(oldSize, newSize)) + newSize + kResTrailerSize != physical)
        return 0;
    const uint32_t copyAt = physical - kResTrailerSize - newSize;

    ResImage copy;
    try {
        copy.resize(newSize);
    } catch (const std::bad_alloc&) {
        return kErrNotEnoughMemory;
    }
    if (int32_t err = ReadAt(file, copyAt, copy.data(), newSize))
        return err;
    if (Crc(copy.data(), newSize) != GetU32LE(trailer + kResTrailerCrcAt)) {
        if (mode == kResReadWrite)
            SetSize(file, oldSize);
        *size = oldSize;
        return 0;
    }
    *base = copyAt;
    *size = newSize;
    bool durable = false;
    if (mode == kResReadWrite)
        RewriteFront(file, copy.data(), newSize, &durable);
    if (durable)
        *base = 0;
    return 0;
}

// Reads and checks the directory of the content [base, base + size).
// Every entry must lie in the data area behind the directory, within the
// content, without overlapping another; types and ids must be unique. So
// nothing is ever allocated or read beyond what the file holds.
int32_t ReadDirectory(FileHandle file, uint32_t base, uint32_t size, std::vector<ResEntry>* table)
{
    uint8_t header[kResHeaderSize];
    if (int32_t err = ReadAt(file, base, header, kResHeaderSize))
        return err;
    if (GetU32LE(header + kResHeaderMagicAt) != kResFileMagic)
        return kResBadFile;
    const uint32_t groups = GetU32LE(header + kResHeaderGroupCountAt);
    if (kResHeaderSize + uint64_t(groups) * kResGroupHeaderSize > size)
        return kResBadFile;

    std::vector<ResType> types;
    ResImage entries;
    uint64_t at = kResHeaderSize;
    for (uint32_t g = 0; g < groups; ++g) {
        uint8_t group[kResGroupHeaderSize];
        if (at + kResGroupHeaderSize > size)
            return kResBadFile;
        if (int32_t err = ReadAt(file, base + uint32_t(at), group, kResGroupHeaderSize))
            return err;
        const ResType type = GetU32LE(group + kResGroupTypeAt);
        const uint32_t count = GetU32LE(group + kResGroupCountAt);
        const uint64_t bytes = uint64_t(count) * kResEntrySize;
        at += kResGroupHeaderSize;
        if (at + bytes > size)
            return kResBadFile;
        types.push_back(type);
        entries.resize(size_t(bytes));
        if (int32_t err = ReadAt(file, base + uint32_t(at), entries.data(), uint32_t(bytes)))
            return err;
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = entries.data() + i * kResEntrySize;
            table->push_back(ResEntry{GetI32LE(e + kResEntryIdAt), GetU32LE(e + kResEntryDataSizeAt),
                                      GetU32LE(e + kResEntryOffsetAt), type, kResOnDisk, nullptr});
        }
        at += bytes;
    }
    const uint64_t directoryEnd = at;

    for (const ResEntry& e : *table) {
        if (e.size == 0 || e.offset < directoryEnd || uint64_t(e.offset) + e.size > size)
            return kResBadFile;
    }
    std::sort(types.begin(), types.end());
    if (std::adjacent_find(types.begin(), types.end()) != types.end())
        return kResBadFile;
    std::vector<const ResEntry*> sorted;
    sorted.reserve(table->size());
    for (const ResEntry& e : *table)
        sorted.push_back(&e);
    std::sort(sorted.begin(), sorted.end(), [](const ResEntry* a, const ResEntry* b) {
        return std::tie(a->type, a->id) < std::tie(b->type, b->id);
    });
    for (size_t i = 1; i < sorted.size(); ++i) {
        if (sorted[i]->type == sorted[i - 1]->type && sorted[i]->id == sorted[i - 1]->id)
            return kResBadFile;
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const ResEntry* a, const ResEntry* b) { return a->offset < b->offset; });
    for (size_t i = 1; i < sorted.size(); ++i) {
        if (uint64_t(sorted[i - 1]->offset) + sorted[i - 1]->size > sorted[i]->offset)
            return kResBadFile;
    }
    return 0;
}

void DropTable()
{
    for (ResEntry& e : g_state.table)
        HandleFree(e.data);
    g_state.table.clear();
    g_state.table.shrink_to_fit();
    g_state.file = kNoFile;
    g_state.base = 0;
    g_state.size = 0;
}

int32_t CommitTo(FileHandle file, const ResImage& image, uint32_t* base, uint32_t* size);

int32_t ReadTableOf(FileHandle file, int16_t mode)
{
    if (file == kNoFile)
        return ResFail(kResNoFileForTable);
    DropTable();
    uint32_t physical = 0;
    if (int32_t err = FileGetSize(file, &physical))
        return ResFail(err);
    if (physical > kResFileMaxSize)
        return ResFail(kResBadFile);
    uint32_t base = 0;
    uint32_t size = 0;
    if (int32_t err = LocateContent(file, physical, mode, &base, &size))
        return ResFail(err);

    // Only a file that holds nothing at all becomes a resource file: any
    // other short file is someone else's, picked by mistake.
    if (size == 0 && mode == kResReadWrite) {
        ResImage header(kResHeaderSize, 0);
        PutU32LE(header.data() + kResHeaderMagicAt, kResFileMagic);
        if (int32_t err = CommitTo(file, header, &base, &size))
            return ResFail(err);
    } else if (size < kResHeaderSize) {
        return ResFail(kResBadFile);
    } else {
        std::vector<ResEntry> table;
        int32_t err;
        try {
            err = ReadDirectory(file, base, size, &table);
        } catch (const std::bad_alloc&) {
            err = kResNoTable;
        }
        if (err)
            return ResFail(err);
        g_state.table = std::move(table);
    }
    g_state.file = file;
    g_state.base = base;
    g_state.size = size;
    FileSeek(file, kSeekStart, 0);
    return ResFail(0);
}

// The rewrite is made safe by a copy first: the new content and a trailer
// go behind everything the file holds and are flushed, and only then is the
// file rewritten from its start and cut to the new size. Until the copy is
// on the disk the old content is untouched; from then on the copy holds the
// new content until the rewrite is complete (LocateContent finishes it
// after a crash). So the change counts as made once the copy is safe, even
// when the rewrite fails: the content is then read from the copy.
int32_t CommitTo(FileHandle file, const ResImage& image, uint32_t* base, uint32_t* size)
{
    // After a rewrite that failed, the content is the copy at the end of
    // the file. A new copy behind it would hide that copy's trailer, and a
    // crash before the new copy is safe would then leave the half-rewritten
    // front as the content. So that rewrite is finished first, and the
    // change refused while it cannot be.
    if (*base != 0) {
        ResImage current;
        try {
            current.resize(*size);
        } catch (const std::bad_alloc&) {
            return kErrNotEnoughMemory;
        }
        if (int32_t err = ReadAt(file, *base, current.data(), *size))
            return err;
        bool durable = false;
        const int32_t err = RewriteFront(file, current.data(), *size, &durable);
        if (!durable)
            return err;
        *base = 0;
    }

    const uint64_t newSize = image.size();
    uint32_t physical = 0;
    if (int32_t err = FileGetSize(file, &physical))
        return err;
    const uint64_t copyAt = std::max<uint64_t>(physical, newSize);
    if (copyAt + newSize + kResTrailerSize > kResFileMaxSize)
        return kErrDiskFull;

    uint8_t trailer[kResTrailerSize];
    PutU32LE(trailer + kResTrailerMagicAt, kResFileMagic);
    PutU32LE(trailer + kResTrailerPendingAt, kResPendingMagic);
    PutU32LE(trailer + kResTrailerOldSizeAt, physical);
    PutU32LE(trailer + kResTrailerNewSizeAt, uint32_t(newSize));
    PutU32LE(trailer + kResTrailerCrcAt, Crc(image.data(), uint32_t(newSize)));
    int32_t err = WriteAt(file, uint32_t(copyAt), image.data(), uint32_t(newSize));
    if (!err)
        err = Write(file, trailer, kResTrailerSize);
    if (!err)
        err = Sync(file);
    if (err) {
        SetSize(file, physical);
        return err;
    }

    bool durable = false;
    RewriteFront(file, image.data(), uint32_t(newSize), &durable);
    *base = durable ? 0 : uint32_t(copyAt);
    *size = uint32_t(newSize);
    return 0;
}

}  // namespace

ResFileState& ResState() { return g_state; }

int32_t ResFindEntry(ResType type, int32_t id)
{
    for (size_t i = 0; i < g_state.table.size(); ++i) {
        if (g_state.table[i].type == type && g_state.table[i].id == id)
            return int32_t(i);
    }
    return -1;
}

int32_t ResFindOwner(Handle data)
{
    if (!data)
        return -1;
    for (size_t i = 0; i < g_state.table.size(); ++i) {
        if (g_state.table[i].data == data)
            return int32_t(i);
    }
    return -1;
}

int32_t ResReadContent(uint32_t at, void* buffer, uint32_t n)
{
    if (uint64_t(at) + n > g_state.size)
        return kErrHandleEof;
    return ReadAt(g_state.file, g_state.base + at, buffer, n);
}

int32_t ResLoadImage(ResImage* image)
{
    try {
        image->resize(g_state.size);
    } catch (const std::bad_alloc&) {
        return kErrNotEnoughMemory;
    }
    return ResReadContent(0, image->data(), g_state.size);
}

int32_t ResCommit(const ResImage& image)
{
    return CommitTo(g_state.file, image, &g_state.base, &g_state.size);
}

void ResFileInjectWriteFailure(int32_t successes, bool once)
{
    g_failCountdown = successes;
    g_failOnce = once;
    g_crashed = false;
}

FileHandle ResFileOpen(const PathRecord* record, int16_t mode)
{
    FileHandle file = kNoFile;
    int32_t err;
    if (mode == kResReadOnly) {
        err = FileOpen(record, kFileRead, &file);
    } else {
        mode = kResReadWrite;
        err = FileOpen(record, kFileReadWrite, &file);
        if (err) {
            mode = kResReadOnly;
            err = FileOpen(record, kFileRead, &file);
        }
    }
    ResFail(err);
    if (err)
        return kNoFile;
    g_state.mode = mode;
    return file;
}

int32_t ResFileUse(FileHandle file, int16_t mode)
{
    if (file == kNoFile)
        return ResFail(kResNoFile);
    if (file == g_state.file)
        return ResFail(0);
    mode = mode == kResReadOnly ? kResReadOnly : kResReadWrite;
    if (int32_t err = ReadTableOf(file, mode))
        return err;
    g_state.mode = mode;
    return 0;
}

int32_t ResFileReadTable(FileHandle file) { return ReadTableOf(file, g_state.mode); }

int32_t ResFileClose(FileHandle file)
{
    if (file != kNoFile && file == g_state.file)
        DropTable();
    return ResFail(FileClose(file));
}

int16_t ResFileGetMode() { return g_state.mode; }
int32_t ResFileLastError() { return g_state.lastError; }
FileHandle ResFileGetCurrent() { return g_state.file; }
const std::vector<ResEntry>& ResFileTable() { return g_state.table; }
