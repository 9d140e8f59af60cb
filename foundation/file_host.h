// What the file layer's operations share on the host side: the error code
// of a failed system call, the lock that stands for "no sharing", and the
// lookup of names that differ only in case.
#pragma once

#include <sys/types.h>

#include <cerrno>
#include <cstdint>
#include <string>

// The system error code for errno after a call on path. A missing file
// gives 2 when its folder exists and 3 when the folder is missing too, as
// callers expect.
int32_t HostPathError(int err, const std::string& path);

// The code for a failed read, write or resize of an open file: 5 when the
// file is open but not for that kind of access, 6 when it is not open.
int32_t HostHandleError(int fd, int err);

// Reads or writes until n bytes are done, counting them in *count: call
// (given the bytes done so far) makes one read(), write(), pread() or
// pwrite() of the rest. An interrupted call is made again; a failed one
// gives its code, and one that moves nothing gives atEnd (the end of the
// file for a read, a full disk for a write).
template <class Call>
int32_t HostTransferFully(int fd, uint32_t n, uint32_t* count, int32_t atEnd, Call call)
{
    while (*count < n) {
        const ssize_t done = call(*count);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return HostHandleError(fd, errno);
        }
        if (done == 0)
            return atEnd;
        *count += uint32_t(done);
    }
    return 0;
}

// Takes the exclusive lock of an open file: 0, or 32 while another open
// holds it. File systems without locks let every open through.
int32_t HostLockExclusive(int fd);

// True while an open of the file layer (here or in another process) holds
// the regular file at path.
bool HostFileHeldOpen(const std::string& path);

// Files made on Windows name each other in any case. When path does not
// exist as written, looks for the existing path whose components match it
// ignoring case, and gives it in found.
bool HostFindIgnoringCase(const std::string& path, std::string* found);

// Copies the regular file source to the new file destination (which must
// not exist) and flushes it; a partial copy is removed. 0 or the code.
int32_t HostCopyFile(const std::string& source, const std::string& destination);

// Where a write to path lands: path itself, or, where it is a symbolic
// link (or a chain of them), the file the last link names, which need not
// exist yet. 1921 for links that name each other in a loop.
int32_t HostFinalTarget(const std::string& path, std::string* target);
