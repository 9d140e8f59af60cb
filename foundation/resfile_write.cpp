// Adding, writing back, removing and moving resources.
//
// Each change is built on a copy of the file's content and of the table;
// only when the new content is safely in the file does the table take the
// change. On any failure the file and the table stay as they were.
#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

#include "foundation/resfile.h"
#include "foundation/resfile_format.h"
#include "foundation/resfile_state.h"
#include "foundation/win_error.h"

namespace {

bool Writable() { return ResState().mode == kResReadWrite; }

// Runs change on a copy of the table; the copy takes the table's place only
// when the change, which commits the file, succeeded. Running out of memory
// on the way is a failure like any other.
int32_t ChangeOnCopy(std::vector<ResEntry>& table, const std::function<int32_t(std::vector<ResEntry>&)>& change)
{
    int32_t err = 0;
    std::vector<ResEntry> work;
    try {
        work = table;
        err = change(work);
    } catch (const std::bad_alloc&) {
        err = kErrNotEnoughMemory;
    }
    if (err)
        return err;
    table = std::move(work);
    return 0;
}

void PutEntry(ResImage& image, uint32_t at, int32_t id, uint32_t size, uint32_t offset)
{
    PutI32LE(image.data() + at + kResEntryIdAt, id);
    PutU32LE(image.data() + at + kResEntryDataSizeAt, size);
    PutU32LE(image.data() + at + kResEntryOffsetAt, offset);
}

void AddToCount(ResImage& image, uint32_t at, int32_t d)
{
    const uint32_t count = GetU32LE(image.data() + at);
    PutU32LE(image.data() + at, d < 0 && count == 0 ? 0 : count + uint32_t(d));
}

// A resource not yet on disk: its entry goes into its group before the
// first entry whose id is at least its own (or behind the last), or into a
// new group behind the last one; its data goes to the end of the file. The
// directory growth moves every data offset.
int32_t PlaceNew(ResImage& image, std::vector<ResEntry>& table, size_t i, Handle data)
{
    const ResEntry& e = table[i];
    const uint32_t n = HandleGetSize(data);
    ResGroupPos group;
    if (ResImageFindGroup(image, e.type, &group)) {
        uint32_t j = 0;
        while (j < group.count && GetI32LE(image.data() + ResImageEntryAt(group, j) + kResEntryIdAt) < e.id)
            ++j;
        const uint32_t at = ResImageEntryAt(group, j);
        if (!ResImageMoveOffsets(image, table, 0, kResEntrySize))
            return kResBadFile;
        ResImageInsert(image, at, kResEntrySize);
        AddToCount(image, group.at + kResGroupCountAt, 1);
        PutEntry(image, at, e.id, n, uint32_t(image.size()));
    } else {
        uint32_t at;
        if (!ResImageDirectoryEnd(image, &at) ||
            !ResImageMoveOffsets(image, table, 0, kResGroupHeaderSize + kResEntrySize))
            return kResBadFile;
        ResImageInsert(image, at, kResGroupHeaderSize + kResEntrySize);
        PutU32LE(image.data() + at + kResGroupTypeAt, e.type);
        PutU32LE(image.data() + at + kResGroupCountAt, 1);
        PutEntry(image, at + kResGroupHeaderSize, e.id, n, uint32_t(image.size()));
        AddToCount(image, kResHeaderGroupCountAt, 1);
    }
    table[i].offset = uint32_t(image.size());
    image.insert(image.end(), HandleData(data), HandleData(data) + n);
    return 0;
}

// A resource on disk whose data changed size: everything behind its old
// data moves by the difference, and so do the offsets pointing there.
int32_t PlaceChanged(ResImage& image, std::vector<ResEntry>& table, size_t i, Handle data)
{
    const ResEntry e = table[i];
    const uint32_t n = HandleGetSize(data);
    ResGroupPos group;
    uint32_t j;
    if (!ResImageFindEntry(image, e.type, e.id, &group, &j) || uint64_t(e.offset) + e.size > image.size())
        return kResBadFile;
    const int64_t d = int64_t(n) - int64_t(e.size);
    if (!ResImageMoveOffsets(image, table, e.offset, d))
        return kResBadFile;
    if (d > 0)
        ResImageInsert(image, e.offset + e.size, uint32_t(d));
    else if (d < 0)
        ResImageCut(image, e.offset + n, uint32_t(-d));
    std::memcpy(image.data() + e.offset, HandleData(data), n);
    PutU32LE(image.data() + ResImageEntryAt(group, j) + kResEntryDataSizeAt, n);
    return 0;
}

int32_t RemoveAt(size_t i)
{
    std::vector<ResEntry>& table = ResState().table;
    const ResEntry e = table[i];
    ResImage image;
    ResGroupPos group;
    uint32_t j = 0;
    bool inDirectory = false;
    if (e.offset != kResNoOffset) {
        if (int32_t err = ResLoadImage(&image))
            return ResFail(err);
        inDirectory = ResImageFindEntry(image, e.type, e.id, &group, &j);
    }
    if (!inDirectory) {
        HandleFree(e.data);
        table.erase(table.begin() + std::ptrdiff_t(i));
        return ResFail(kResRemoveNotOnDisk);
    }
    if (uint64_t(e.offset) + e.size > image.size())
        return ResFail(kResBadFile);

    const int32_t err = ChangeOnCopy(table, [&](std::vector<ResEntry>& work) {
        work.erase(work.begin() + std::ptrdiff_t(i));
        ResImageMoveOffsets(image, work, e.offset, -int64_t(e.size));
        ResImageCut(image, e.offset, e.size);
        if (group.count < 2) {
            const uint32_t bytes = kResGroupHeaderSize + group.count * kResEntrySize;
            ResImageMoveOffsets(image, work, 0, -int64_t(bytes));
            ResImageCut(image, group.at, bytes);
            AddToCount(image, kResHeaderGroupCountAt, -1);
        } else {
            ResImageMoveOffsets(image, work, 0, -int64_t(kResEntrySize));
            ResImageCut(image, ResImageEntryAt(group, j), kResEntrySize);
            AddToCount(image, group.at + kResGroupCountAt, -1);
        }
        return ResCommit(image);
    });
    if (err)
        return ResFail(err);
    HandleFree(e.data);
    return ResFail(0);
}

}  // namespace

int32_t ResFileAddEntry(Handle data, ResType type, int32_t id)
{
    if (!Writable())
        return ResFail(kErrAccessDenied);
    // A Handle can belong to one entry only: the table frees it.
    if (!ResHasTable() || !data || ResFindOwner(data) >= 0 || ResFindEntry(type, id) >= 0)
        return ResFail(kResAddFailed);
    std::vector<ResEntry>& table = ResState().table;
    // Before the first entry of the type with a greater id, else behind the
    // type's last entry, else at the end.
    size_t at = table.size();
    bool placed = false;
    for (size_t i = 0; i < table.size() && !placed; ++i) {
        if (table[i].type != type)
            continue;
        at = table[i].id > id ? i : i + 1;
        placed = table[i].id > id;
    }
    try {
        table.insert(table.begin() + std::ptrdiff_t(at),
                     ResEntry{id, kResNoOffset, kResNoOffset, type, kResLoaded | kResChanged | kResNew, data});
    } catch (const std::bad_alloc&) {
        return ResFail(kErrNotEnoughMemory);
    }
    return ResFail(0);
}

int32_t ResFileWriteResource(Handle data)
{
    if (!Writable())
        return ResFail(kErrAccessDenied);
    const uint32_t n = HandleGetSize(data);
    const int32_t i = ResFindOwner(data);
    if (n < 1 || !ResHasTable() || i < 0 || !(ResState().table[size_t(i)].flags & kResChanged))
        return ResFail(kResWriteFailed);
    std::vector<ResEntry>& table = ResState().table;
    if (uint64_t(ResState().size) + n + kResGroupHeaderSize + kResEntrySize > kResFileMaxSize)
        return ResFail(kErrDiskFull);

    ResImage image;
    if (int32_t err = ResLoadImage(&image))
        return ResFail(err);
    const int32_t err = ChangeOnCopy(table, [&](std::vector<ResEntry>& work) {
        const size_t at = size_t(i);
        const int32_t placed = work[at].offset == kResNoOffset ? PlaceNew(image, work, at, data)
                                                           : PlaceChanged(image, work, at, data);
        return placed ? placed : ResCommit(image);
    });
    if (err)
        return ResFail(err);
    table[size_t(i)].flags = kResLoaded;
    table[size_t(i)].size = n;
    return ResFail(0);
}

int32_t ResFilePut(ResType type, int32_t id, const void* bytes, int32_t n, int32_t release)
{
    if (!Writable())
        return ResFail(kErrAccessDenied);
    if (!ResHasTable())
        return ResFail(kResAddFailed);
    if (n < 1 || !bytes)
        return ResFail(kResWriteFailed);
    Handle h = nullptr;
    const int32_t i = ResFindEntry(type, id);
    if (i >= 0) {
        ResEntry& e = ResState().table[size_t(i)];
        if (e.data && HandleGetSize(e.data) != uint32_t(n) && HandleResize(e.data, n))
            return ResFail(kErrNotEnoughMemory);
        if (!e.data && HandleFromBytes(bytes, &e.data, uint32_t(n)))
            return ResFail(kErrNotEnoughMemory);
        std::memcpy(HandleData(e.data), bytes, size_t(n));
        e.flags = (e.flags & ~uint32_t(kResOnDisk)) | kResLoaded | kResChanged;
        h = e.data;
    } else {
        if (HandleFromBytes(bytes, &h, uint32_t(n)))
            return ResFail(kErrNotEnoughMemory);
        if (int32_t err = ResFileAddEntry(h, type, id)) {
            HandleFree(h);
            return err;
        }
    }
    const int32_t err = ResFileWriteResource(h);
    if (release)
        ResFileRelease(h);
    return ResFail(err);
}

int32_t ResFileRemoveResource(Handle data)
{
    if (!Writable())
        return ResFail(kErrAccessDenied);
    const int32_t i = ResFindOwner(data);
    if (HandleGetSize(data) < 1 || !ResHasTable() || i < 0)
        return ResFail(kResRemoveFailed);
    return RemoveAt(size_t(i));
}

int32_t ResFileRemove(ResType type, int32_t id)
{
    if (!Writable())
        return ResFail(kErrAccessDenied);
    const int32_t i = ResHasTable() ? ResFindEntry(type, id) : -1;
    if (i < 0)
        return ResFail(kResRemoveNotOnDisk);
    return RemoveAt(size_t(i));
}

int32_t ResFileMoveToIndex(ResType type, int32_t id, int32_t n)
{
    if (!Writable())
        return ResFail(kErrAccessDenied);
    if (n < 1)
        return ResFail(kResBadIndex);
    const int32_t found = ResHasTable() ? ResFindEntry(type, id) : -1;
    if (found < 0)
        return ResFail(kResNoTable);
    std::vector<ResEntry>& table = ResState().table;

    const int32_t err = ChangeOnCopy(table, [&](std::vector<ResEntry>& work) {
        int32_t failed = 0;
        std::vector<size_t> slots;
        for (size_t i = 0; i < table.size(); ++i) {
            if (table[i].type == type)
                slots.push_back(i);
        }
        const size_t from = size_t(std::find(slots.begin(), slots.end(), size_t(found)) - slots.begin());
        const size_t to = std::min<size_t>(size_t(n), slots.size()) - 1;
        std::vector<ResEntry> run;
        for (size_t s : slots)
            run.push_back(table[s]);
        const ResEntry moving = run[from];
        run.erase(run.begin() + std::ptrdiff_t(from));
        run.insert(run.begin() + std::ptrdiff_t(to), moving);
        for (size_t k = 0; k < slots.size(); ++k)
            work[slots[k]] = run[k];

        // The group in the file holds the entries on disk in table order;
        // entries not yet written take no place there.
        if (moving.offset != kResNoOffset) {
            ResImage image;
            ResGroupPos group;
            uint32_t j;
            failed = ResLoadImage(&image);
            if (!failed && !ResImageFindEntry(image, type, id, &group, &j))
                failed = kResBadFile;
            if (!failed) {
                uint32_t target = 0;
                for (size_t k = 0; k < to; ++k)
                    target += run[k].offset != kResNoOffset;
                target = std::min(target, group.count - 1);
                if (target != j) {
                    uint8_t* first = image.data() + ResImageEntryAt(group, 0);
                    uint8_t* a = first + std::min(j, target) * kResEntrySize;
                    uint8_t* b = first + (std::max(j, target) + 1) * kResEntrySize;
                    if (target < j)
                        std::rotate(a, b - kResEntrySize, b);
                    else
                        std::rotate(a, a + kResEntrySize, b);
                    failed = ResCommit(image);
                }
            }
        }
        return failed;
    });
    return ResFail(err);
}
