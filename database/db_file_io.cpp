#include "database/db_file_io.h"

#include <algorithm>

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

}  // namespace

void SetDbFaultHook(DbFaultHook hook) { Hook() = std::move(hook); }

int32_t DbReadAt(FileHandle file, uint32_t offset, void* buffer, uint32_t n)
{
    const int32_t err = FileSeek(file, kSeekStart, int32_t(offset));
    return err != kErrNone ? err : FileRead(file, buffer, n);
}

int32_t DbReadSomeAt(FileHandle file, uint32_t offset, void* buffer, uint32_t n, uint32_t* got)
{
    *got = 0;
    const int32_t err = FileSeek(file, kSeekStart, int32_t(offset));
    if (err != kErrNone)
        return err;
    *got = n;
    return FileReadCount(file, got, buffer);
}

int32_t DbWriteAt(FileHandle file, uint32_t offset, const void* buffer, uint32_t n)
{
    const DbFault fault = Consult(DbIoStep::Write, n);
    int32_t err = FileSeek(file, kSeekStart, int32_t(offset));
    if (err != kErrNone)
        return err;
    if (fault.code != 0) {
        if (fault.written)
            FileWrite(file, buffer, std::min(fault.written, n));
        return fault.code;
    }
    return FileWrite(file, buffer, n);
}

int32_t DbSetSize(FileHandle file, uint32_t size)
{
    const DbFault fault = Consult(DbIoStep::SetSize, size);
    return fault.code ? fault.code : FileSetSize(file, size);
}

int32_t DbSync(FileHandle file)
{
    const DbFault fault = Consult(DbIoStep::Sync, 0);
    return fault.code ? fault.code : FileSync(file);
}

int32_t DbGetSize(FileHandle file, uint32_t* size) { return FileGetSize(file, size); }

int32_t DbReplaceFile(const PathRecord* source, const PathRecord* target)
{
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
