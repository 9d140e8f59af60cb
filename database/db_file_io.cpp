#include "database/db_file_io.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "foundation/file_host.h"
#include "foundation/win_error.h"

namespace {

DbFaultHook& Hook()
{
    static DbFaultHook hook;
    return hook;
}

DbFault Consult(DbIoStep step, uint32_t bytes)
{
    return Hook() ? Hook()(step, bytes) : DbFault{};
}

uint64_t g_writes = 0;

std::vector<FileWitness*>& Witnesses()
{
    static std::vector<FileWitness*> witnesses;
    return witnesses;
}

// After a write or resize of file, tried or done.
void Written(FileHandle file)
{
    for (FileWitness* witness : Witnesses())
        if (witness->File() == file)
            witness->Take(file);
}

// Reads at offset without moving the file position (a file handle is a
// descriptor): one system call where a seek and a read took two, and a
// record read in the middle of a walk leaves nothing for the next one to
// undo. Stops at n bytes, the end of the file or an error.
int32_t ReadAtFully(FileHandle file, uint32_t offset, uint8_t* buffer, uint32_t n, uint32_t* got)
{
    *got = 0;
    if (file < 0)
        return kErrInvalidHandle;
    return HostTransferFully(file, n, got, kErrHandleEof, [&](uint32_t done) {
        return ::pread(file, buffer + done, n - done, off_t(offset) + done);
    });
}

}  // namespace

void SetDbFaultHook(DbFaultHook hook) { Hook() = std::move(hook); }

// Watched twice (taken again after a repair), a witness is taken twice;
// forgotten, it goes whole.
void DbWatchWrites(FileWitness* witness) { Witnesses().push_back(witness); }

void DbForgetWitness(FileWitness* witness) { std::erase(Witnesses(), witness); }

uint64_t DbWriteCount() { return g_writes; }

int32_t DbReadAt(FileHandle file, uint32_t offset, void* buffer, uint32_t n)
{
    if (int32_t(offset) < 0)
        return kErrNegativeSeek;
    uint32_t got = 0;
    const int32_t err = ReadAtFully(file, offset, static_cast<uint8_t*>(buffer), n, &got);
    // Callers parse whole records; the part the file did not have must not
    // hold what the buffer held before.
    if (got < n)
        std::memset(static_cast<uint8_t*>(buffer) + got, 0, n - got);
    return err;
}

int32_t DbReadSomeAt(FileHandle file, uint32_t offset, void* buffer, uint32_t n, uint32_t* got)
{
    *got = 0;
    if (int32_t(offset) < 0)
        return kErrNegativeSeek;
    return ReadAtFully(file, offset, static_cast<uint8_t*>(buffer), n, got);
}

int32_t DbWriteAt(FileHandle file, uint32_t offset, const void* buffer, uint32_t n)
{
    ++g_writes;
    const DbFault fault = Consult(DbIoStep::Write, n);
    if (int32_t(offset) < 0)
        return kErrNegativeSeek;
    int32_t err = fault.code;
    if (err != 0) {
        if (fault.written)
            FileWriteAt(file, offset, buffer, std::min(fault.written, n));
    } else {
        err = FileWriteAt(file, offset, buffer, n);
    }
    Written(file);
    return err;
}

int32_t DbSetSize(FileHandle file, uint32_t size)
{
    ++g_writes;
    const DbFault fault = Consult(DbIoStep::SetSize, size);
    const int32_t err = fault.code ? fault.code : FileSetSize(file, size);
    Written(file);
    return err;
}

int32_t DbSync(FileHandle file)
{
    const DbFault fault = Consult(DbIoStep::Sync, 0);
    return fault.code ? fault.code : FileSync(file);
}

int32_t DbGetSize(FileHandle file, uint32_t* size) { return FileGetSize(file, size); }

int32_t DbReplaceFile(const PathRecord* source, const PathRecord* target)
{
    ++g_writes;
    const DbFault fault = Consult(DbIoStep::Replace, 0);
    if (fault.code)
        return fault.code;
    // The swap must replace the target in one step, or a crash could leave
    // neither file under the name. The new file is the database the user
    // knows: who may read or write it does not change with a pack or a
    // repair. From then on the target is the new file, and the caller must
    // go on as such: a folder that cannot be flushed only means that a
    // crash may bring back the old file, which is whole.
    Consult(DbIoStep::Sync, 0);
    return FileReplaceWhileOpen(source, target);
}

namespace {

DbFreeSpaceQuery& FreeSpaceQuery()
{
    static DbFreeSpaceQuery query;
    return query;
}

}  // namespace

double DbDiskFreeBytes(const char* path) { return FreeSpaceQuery() ? FreeSpaceQuery()(path) : GetDiskFreeBytes(path); }

void SetDbFreeSpaceQuery(DbFreeSpaceQuery query) { FreeSpaceQuery() = std::move(query); }
