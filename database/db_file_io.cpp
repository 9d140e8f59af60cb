#include "database/db_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

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

std::string Folder(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
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
    const std::string from = PathRecordToPosix(*source);
    const std::string to = PathRecordToPosix(*target);
    // The new file is the database the user knows: who may read or write
    // it must not change with a pack or a repair.
    struct stat st;
    if (::stat(to.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ::chmod(from.c_str(), st.st_mode & 07777);
    // The file layer's moves never replace a file; the swap must, in one
    // step, or a crash could leave neither file under the name.
    if (::rename(from.c_str(), to.c_str()) != 0)
        return Win32ErrorFromErrno(errno);
    // From here the target is the new file, and the caller must go on as
    // such: a folder that cannot be flushed (or a file system that does
    // not flush folders) only means that a crash may bring back the old
    // file, which is whole.
    const DbFault flush = Consult(DbIoStep::Sync, 0);
    const int dir = ::open(Folder(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        if (flush.code == 0)
            ::fsync(dir);
        ::close(dir);
    }
    return kErrNone;
}
