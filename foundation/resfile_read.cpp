// Looking resources up and loading them.
#include <algorithm>
#include <cstring>

#include "foundation/resfile.h"
#include "foundation/resfile_format.h"
#include "foundation/resfile_state.h"

namespace {

Handle Load(ResEntry& e)
{
    if (e.data)
        return e.data;
    // An entry that was never written has nothing on the disk to load.
    if (e.offset == kResNoOffset) {
        ResFail(kResNotFound);
        return nullptr;
    }
    Handle h = HandleNew(e.size);
    if (!h || ResReadContent(e.offset, HandleData(h), e.size)) {
        HandleFree(h);
        ResFail(kResNotFound);
        return nullptr;
    }
    e.data = h;
    e.flags = kResLoaded;
    return h;
}

// The table index of the n-th resource of the type (from 1), or -1.
int32_t FindIndexed(ResType type, int32_t n)
{
    const std::vector<ResEntry>& table = ResState().table;
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].type == type && --n == 0)
            return int32_t(i);
    }
    return -1;
}

}  // namespace

int32_t ResFileCountType(ResType type)
{
    if (!ResHasTable()) {
        ResFail(kResNoTable);
        return -1;
    }
    ResFail(0);
    int32_t count = 0;
    for (const ResEntry& e : ResState().table)
        count += e.type == type;
    return count;
}

int32_t ResFileCountTypes()
{
    if (!ResHasTable()) {
        ResFail(kResNoTable);
        return -1;
    }
    ResFail(0);
    int32_t runs = 0;
    ResType previous = FourCC("    ");
    for (const ResEntry& e : ResState().table) {
        if (e.type != previous)
            ++runs;
        previous = e.type;
    }
    return runs;
}

Handle ResFileGet(ResType type, int32_t id)
{
    if (!ResHasTable()) {
        ResFail(kResNoTable);
        return nullptr;
    }
    ResFail(0);
    const int32_t i = ResFindEntry(type, id);
    if (i < 0) {
        ResFail(kResNotFound);
        return nullptr;
    }
    return Load(ResState().table[size_t(i)]);
}

Handle ResFileGetIndexed(ResType type, int32_t n, int32_t* id)
{
    if (!ResHasTable()) {
        ResFail(kResNoTable);
        return nullptr;
    }
    ResFail(0);
    const int32_t i = FindIndexed(type, n);
    if (i < 0) {
        ResFail(kResNotFound);
        return nullptr;
    }
    ResEntry& e = ResState().table[size_t(i)];
    if (id)
        *id = e.id;
    return Load(e);
}

Handle ResFileGetIndexed(ResType type, int32_t n) { return ResFileGetIndexed(type, n, nullptr); }

int32_t ResFileGetIndexedId(ResType type, int32_t n)
{
    const int32_t i = ResHasTable() ? FindIndexed(type, n) : -1;
    if (i < 0)
        return ResFail(kResNoTable);
    ResFail(0);
    return ResState().table[size_t(i)].id;
}

int32_t ResFileNextId(ResType type)
{
    ResFail(0);
    bool any = false;
    int32_t highest = 0;
    for (const ResEntry& e : ResState().table) {
        if (e.type == type && (!any || e.id > highest)) {
            highest = e.id;
            any = true;
        }
    }
    return any ? int32_t(uint32_t(highest) + 1) : -1;
}

int32_t ResFileNextType()
{
    if (!ResHasTable()) {
        ResFail(kResNoFileForTable);
        return -1;
    }
    ResFail(0);
    uint8_t header[kResHeaderSize];
    if (int32_t err = ResReadContent(0, header, kResHeaderSize)) {
        ResFail(err);
        return -1;
    }
    const uint32_t groups = GetU32LE(header + kResHeaderGroupCountAt);
    int64_t highest = 0;
    uint64_t at = kResHeaderSize;
    for (uint32_t g = 0; g < groups; ++g) {
        uint8_t group[kResGroupHeaderSize];
        if (int32_t err = ResReadContent(uint32_t(at), group, kResGroupHeaderSize)) {
            ResFail(err);
            return -1;
        }
        const int32_t type = GetI32LE(group + kResGroupTypeAt);
        if (g == 0 || type > highest)
            highest = type;
        at += kResGroupHeaderSize + uint64_t(GetU32LE(group + kResGroupCountAt)) * kResEntrySize;
    }
    const int64_t next = highest + 1;
    return groups == 0 || next < 1 || next > INT32_MAX ? -1 : int32_t(next);
}

int32_t ResFileReadInto(ResType type, int32_t id, void* buffer, int32_t n)
{
    if (n > 0)
        std::memset(buffer, 0, size_t(n));
    if (!ResHasTable())
        return ResFail(kResNoTable);
    const int32_t i = ResFindEntry(type, id);
    if (i < 0)
        return ResFail(kResNotFound);
    const ResEntry& e = ResState().table[size_t(i)];
    if (n <= 0)
        return ResFail(0);
    // Data in memory may hold changes not yet written: it is the resource.
    if (e.data) {
        std::memcpy(buffer, HandleData(e.data), std::min<size_t>(size_t(n), HandleGetSize(e.data)));
        return ResFail(0);
    }
    if (e.offset == kResNoOffset)
        return ResFail(kResNotFound);
    const int32_t err = ResReadContent(e.offset, buffer, std::min<uint32_t>(uint32_t(n), e.size));
    if (err)
        std::memset(buffer, 0, size_t(n));
    return ResFail(err ? kResNotFound : 0);
}

int32_t ResFileMarkChanged(Handle data)
{
    const int32_t i = ResFindOwner(data);
    if (i < 0)
        return ResFail(kResNotFound);
    ResState().table[size_t(i)].flags |= kResChanged;
    return ResFail(0);
}

int32_t ResFileSetFlags(Handle data, int32_t flags)
{
    const int32_t i = ResFindOwner(data);
    if (i < 0)
        return ResFail(kResNotFound);
    if (flags >= 0)
        ResState().table[size_t(i)].flags = uint32_t(flags);
    return ResFail(0);
}

int32_t ResFileRelease(Handle data)
{
    if (!data || !ResHasTable())
        return ResFail(kResReleaseFailed);
    std::vector<ResEntry>& table = ResState().table;
    const int32_t i = ResFindOwner(data);
    if (i >= 0) {
        // A resource never written has nothing left once its data is gone:
        // keeping its entry would promise data the file does not have.
        if (table[size_t(i)].offset == kResNoOffset) {
            table.erase(table.begin() + i);
        } else {
            table[size_t(i)].data = nullptr;
            table[size_t(i)].flags = kResOnDisk;
        }
    }
    HandleFree(data);
    return ResFail(0);
}
