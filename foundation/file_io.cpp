#include "foundation/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "foundation/alerts.h"
#include "foundation/file_host.h"
#include "foundation/file_watch.h"
#include "foundation/handle.h"
#include "foundation/scratch_mark.h"
#include "foundation/string_table.h"
#include "foundation/win_error.h"

namespace {

enum class Disposition { CreateAlways, OpenExisting, OpenAlways };

// Whether this thread's last open was refused because the user may not
// read the file: the words for 5 then say read, not change.
thread_local bool t_readRefused = false;

int AccessFlags(int16_t mode)
{
    switch (mode) {
    case kFileWrite: return O_WRONLY;
    case kFileReadWrite: return O_RDWR;
    default: return O_RDONLY;
    }
}

int32_t OpenFile(const PathRecord* record, int16_t mode, Disposition how, bool deleteOnClose, FileHandle* out)
{
    *out = kNoFile;
    t_readRefused = false;
    std::string path = PathRecordToPosix(*record);
    // Emptying a file needs write access even when the caller only reads.
    int access = how == Disposition::CreateAlways && AccessFlags(mode) == O_RDONLY ? O_RDWR : AccessFlags(mode);
    // Non-blocking until the file is known to be a regular one, so that a
    // FIFO or device at the path cannot hang the open.
    int flags = access | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

    int fd;
    // Whether the open made the file.
    bool made = false;
    if (how == Disposition::CreateAlways) {
        // Never O_TRUNC: the file is emptied below, once it is ours.
        fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
        made = fd >= 0;
        if (fd < 0 && errno == EEXIST)
            fd = ::open(path.c_str(), flags | O_CREAT, 0666);
    } else {
        fd = ::open(path.c_str(), flags);
        if (fd < 0 && errno == ENOENT) {
            std::string found;
            if (HostFindIgnoringCase(path, &found)) {
                path = found;
                fd = ::open(path.c_str(), flags);
            } else if (how == Disposition::OpenAlways) {
                fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
                made = fd >= 0;
                if (fd < 0 && errno == EEXIST)
                    fd = ::open(path.c_str(), flags, 0666);
            } else {
                errno = ENOENT;
            }
        }
    }
    if (fd < 0) {
        const int32_t refused = HostPathError(errno, path);
        // An open that was to read an existing file, refused where the
        // user may not read it; a file made afresh is only written.
        t_readRefused = refused == kErrAccessDenied && how != Disposition::CreateAlways && access != O_WRONLY &&
                        ::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) != 0;
        return refused;
    }

    int32_t err = kErrNone;
    struct stat st;
    if (::fstat(fd, &st) != 0)
        err = Win32ErrorFromErrno(errno);
    else if (!S_ISREG(st.st_mode))
        err = NotAFileError(st.st_mode);
    if (err == kErrNone)
        err = HostLockExclusive(fd);
    if (err == kErrNone && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        err = Win32ErrorFromErrno(errno);
    FileWatcher* watcher = g_fileWatcher;
    if (err == kErrNone && made)
        MarkIfInOwnScratch(fd, path);
    if (err == kErrNone && watcher)
        watcher->Opened(fd, path);
    if (err == kErrNone && how == Disposition::CreateAlways && watcher) {
        const int32_t step = watcher->Resizing(fd, 0);
        if (step > 0)
            err = step;
    }
    if (err == kErrNone && how == Disposition::CreateAlways && ::ftruncate(fd, 0) != 0)
        err = Win32ErrorFromErrno(errno);
    if (err == kErrNone && deleteOnClose && watcher) {
        const int32_t step = watcher->Deleting(path);
        if (step > 0)
            err = step;
    }
    if (err == kErrNone && deleteOnClose && ::unlink(path.c_str()) != 0)
        err = HostPathError(errno, path);
    if (err != kErrNone) {
        if (watcher)
            watcher->Closing(fd);
        ::close(fd);
        return err;
    }
    *out = fd;
    return kErrNone;
}

// Reads until n bytes, the end of the file or an error; count receives the
// bytes read.
int32_t ReadFully(FileHandle file, uint8_t* buffer, uint32_t n, uint32_t* count)
{
    *count = 0;
    if (file < 0)
        return kErrInvalidHandle;
    return HostTransferFully(file, n, count, kErrHandleEof,
                             [&](uint32_t done) { return ::read(file, buffer + done, n - done); });
}

int32_t ReadFullyAt(FileHandle file, uint32_t offset, uint8_t* buffer, uint32_t n, uint32_t* count)
{
    *count = 0;
    if (file < 0)
        return kErrInvalidHandle;
    if (int32_t(offset) < 0)
        return kErrNegativeSeek;
    return HostTransferFully(file, n, count, kErrHandleEof, [&](uint32_t done) {
        return ::pread(file, buffer + done, n - done, off_t(offset) + done);
    });
}

int32_t WriteRaw(FileHandle file, const uint8_t* buffer, uint32_t n, uint32_t* count)
{
    return HostTransferFully(file, n, count, kErrDiskFull,
                             [&](uint32_t done) { return ::write(file, buffer + done, n - done); });
}

int32_t WriteRawAt(FileHandle file, uint32_t offset, const uint8_t* buffer, uint32_t n, uint32_t* count)
{
    return HostTransferFully(file, n, count, kErrDiskFull, [&](uint32_t done) {
        return ::pwrite(file, buffer + done, n - done, off_t(offset) + done);
    });
}

int32_t WriteFully(FileHandle file, const uint8_t* buffer, uint32_t n, uint32_t* count)
{
    *count = 0;
    if (file < 0)
        return kErrInvalidHandle;
    if (FileWatcher* watcher = g_fileWatcher) {
        const off_t at = ::lseek(file, 0, SEEK_CUR);
        uint32_t keep = 0;
        const int32_t step = at < 0 ? kFileStepGo : watcher->Writing(file, uint64_t(at), buffer, n, &keep);
        if (step > 0) {
            WriteRaw(file, buffer, keep < n ? keep : n, count);
            return step;
        }
    }
    return WriteRaw(file, buffer, n, count);
}

}  // namespace

int32_t FileCreate(const PathRecord* record, int16_t mode, FileHandle* out)
{
    return OpenFile(record, mode, Disposition::CreateAlways, false, out);
}

int32_t FileOpen(const PathRecord* record, int16_t mode, FileHandle* out)
{
    return OpenFile(record, mode, Disposition::OpenExisting, false, out);
}

int32_t FileOpenAlways(const PathRecord* record, int16_t mode, FileHandle* out)
{
    return OpenFile(record, mode, Disposition::OpenAlways, false, out);
}

int32_t FileOpenDeleteOnClose(const PathRecord* record, int16_t mode, FileHandle* out)
{
    return OpenFile(record, mode, Disposition::OpenExisting, true, out);
}

int32_t FileClose(FileHandle file)
{
    if (file == kNoFile)
        return kErrNone;
    if (FileWatcher* watcher = g_fileWatcher)
        watcher->Closing(file);
    // The descriptor is gone after close() even when it reports EINTR.
    if (::close(file) != 0 && errno != EINTR)
        return Win32ErrorFromErrno(errno);
    return kErrNone;
}

int32_t FileRead(FileHandle file, void* buffer, uint32_t n)
{
    uint32_t count;
    int32_t err = ReadFully(file, static_cast<uint8_t*>(buffer), n, &count);
    // Callers parse whole records; the part the file did not have must not
    // hold what the buffer held before.
    if (count < n)
        std::memset(static_cast<uint8_t*>(buffer) + count, 0, n - count);
    return err;
}

int32_t FileReadAt(FileHandle file, uint32_t offset, void* buffer, uint32_t n)
{
    uint32_t count;
    const int32_t err = ReadFullyAt(file, offset, static_cast<uint8_t*>(buffer), n, &count);
    if (count < n)
        std::memset(static_cast<uint8_t*>(buffer) + count, 0, n - count);
    return err;
}

int32_t FileWrite(FileHandle file, const void* buffer, uint32_t n)
{
    uint32_t count;
    return WriteFully(file, static_cast<const uint8_t*>(buffer), n, &count);
}

int32_t FileWriteAt(FileHandle file, uint32_t offset, const void* buffer, uint32_t n)
{
    if (file < 0)
        return kErrInvalidHandle;
    if (int32_t(offset) < 0)
        return kErrNegativeSeek;
    const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
    uint32_t count = 0;
    if (FileWatcher* watcher = g_fileWatcher) {
        uint32_t keep = 0;
        const int32_t step = watcher->Writing(file, offset, bytes, n, &keep);
        if (step > 0) {
            WriteRawAt(file, offset, bytes, keep < n ? keep : n, &count);
            return step;
        }
    }
    return WriteRawAt(file, offset, bytes, n, &count);
}

int32_t FileReadCount(FileHandle file, uint32_t* n, void* buffer)
{
    return ReadFully(file, static_cast<uint8_t*>(buffer), *n, n);
}

int32_t FileWriteCount(FileHandle file, uint32_t* n, const void* buffer)
{
    return WriteFully(file, static_cast<const uint8_t*>(buffer), *n, n);
}

int32_t FileSeek(FileHandle file, int16_t origin, int32_t offset)
{
    if (file < 0)
        return kErrInvalidHandle;
    int whence = SEEK_SET;
    if (origin == kSeekEnd)
        whence = SEEK_END;
    else if (origin == kSeekCurrent || origin == 3)
        whence = SEEK_CUR;
    if (::lseek(file, offset, whence) < 0)
        return errno == EINVAL ? kErrNegativeSeek : Win32ErrorFromErrno(errno);
    return kErrNone;
}

int32_t FileTell(FileHandle file, uint32_t* position)
{
    *position = 0;
    if (file < 0)
        return kErrInvalidHandle;
    off_t at = ::lseek(file, 0, SEEK_CUR);
    if (at < 0)
        return Win32ErrorFromErrno(errno);
    if (at > off_t(UINT32_MAX))
        return kErrFileTooLarge;
    *position = uint32_t(at);
    return kErrNone;
}

int32_t FileGetSize(FileHandle file, uint32_t* size)
{
    if (file < 0)
        return kErrInvalidHandle;
    struct stat st;
    if (::fstat(file, &st) != 0)
        return Win32ErrorFromErrno(errno);
    if (st.st_size > off_t(UINT32_MAX))
        return kErrFileTooLarge;
    *size = uint32_t(st.st_size);
    return kErrNone;
}

int32_t FileSetSize(FileHandle file, uint32_t size)
{
    if (file < 0)
        return kErrInvalidHandle;
    off_t at = ::lseek(file, 0, SEEK_CUR);
    if (at < 0)
        return Win32ErrorFromErrno(errno);
    if (FileWatcher* watcher = g_fileWatcher) {
        if (const int32_t step = watcher->Resizing(file, size); step > 0)
            return step;
    }
    // A file left longer or shorter than asked is a failure the caller must
    // hear of, as much as a failed move.
    if (::ftruncate(file, off_t(size)) != 0)
        return HostHandleError(file, errno);
    if (at > off_t(size) && ::lseek(file, off_t(size), SEEK_SET) < 0)
        return Win32ErrorFromErrno(errno);
    return kErrNone;
}

int32_t FileSync(FileHandle file)
{
    if (file < 0)
        return kErrInvalidHandle;
    if (FileWatcher* watcher = g_fileWatcher) {
        const int32_t step = watcher->Syncing(file);
        if (step != kFileStepGo)
            return step > 0 ? step : kErrNone;
    }
    if (::fsync(file) != 0)
        return Win32ErrorFromErrno(errno);
    return kErrNone;
}

int32_t FileReadLine(FileHandle file, char* buffer, int32_t n, int32_t* lineEnds)
{
    int32_t ends = 0;
    if (!lineEnds)
        lineEnds = &ends;
    *lineEnds = 0;
    if (n < 1)
        return 0;
    buffer[0] = 0;
    if (n == 1)
        return 0;
    // One byte more than the line may keep is read, so that a CR LF pair
    // is seen whole even when the line fills the buffer.
    uint32_t got = uint32_t(n);
    FileReadCount(file, &got, buffer);
    if (got == 0) {
        buffer[0] = 0;
        return 0;
    }
    uint32_t limit = got < uint32_t(n) - 1 ? got : uint32_t(n) - 1;
    uint32_t keep = limit;
    uint32_t consumed = limit;
    for (uint32_t i = 0; i < limit; ++i) {
        if (buffer[i] == 13 || buffer[i] == 10) {
            keep = consumed = i + 1;
            *lineEnds = 1;
            if (consumed < got && (buffer[consumed] == 13 || buffer[consumed] == 10)) {
                if (!(buffer[i] == 13 && buffer[consumed] == 10))
                    *lineEnds = 2;
                ++consumed;
            }
            break;
        }
    }
    buffer[keep] = 0;
    if (got > consumed)
        FileSeek(file, kSeekCurrent, -int32_t(got - consumed));
    return int32_t(keep);
}

int32_t FileCopyData(FileHandle source, uint32_t count, FileHandle destination, int32_t kilobytes)
{
    if (source == kNoFile || destination == kNoFile)
        return -1;
    if (kilobytes < 1)
        kilobytes = 1;
    uint32_t size = kilobytes > (1 << 16) ? 1u << 26 : uint32_t(kilobytes) * 1024;
    void* buffer = nullptr;
    while (size > 0 && !(buffer = MemAllocClear(size)))
        size /= 2;
    if (!buffer)
        return 1;

    int32_t err = kErrNone;
    if (count == 0xFFFFFFFF) {
        err = FileGetSize(source, &count);
        if (err == kErrNone)
            err = FileSeek(source, kSeekStart, 0);
    }
    while (err == kErrNone && count > 0) {
        uint32_t got = count < size ? count : size;
        err = FileReadCount(source, &got, buffer);
        if (err == kErrNone && got == 0)
            err = 1;
        if (err != kErrNone && err != kErrHandleEof)
            break;
        if (got > 0) {
            int32_t written = FileWrite(destination, buffer, got);
            if (written != kErrNone)
                err = written;
            count -= got;
        }
    }
    MemFree(buffer);
    return err;
}

namespace {

constexpr int32_t kFileErrorBase = 365;

// The user is told what happened in words that say what to do about it:
// make room, ask for the right to write, or close the other program; every
// other code is shown as it is.
int32_t FileErrorIndex(int32_t code)
{
    switch (code) {
    case kErrWriteProtect: return 2;
    case kErrDiskFull: return 3;
    case kErrSharingViolation:
    case kErrLockViolation: return 4;
    case kErrAccessDenied: return t_readRefused ? 16 : 6;
    case kErrIsFolder: return 7;
    case kErrIsPipe: return 8;
    case kErrIsDevice: return 9;
    case kErrIsSocket: return 10;
    case kErrCantResolveFilename: return 11;
    case kErrFilenameExceedsRange: return 12;
    case kErrInvalidName: return 15;
    default: return 0;
    }
}

}  // namespace

int32_t AlertFileError(int32_t code)
{
    if (code == 0)
        return 0;
    return AlertShowString(kAlertKindStop, kFileErrorBase, FileErrorIndex(code), code);
}

std::string FileErrorWords(int32_t code)
{
    char text[256];
    LoadStringByIndex(kFileErrorBase, FileErrorIndex(code), text);
    return text;
}

std::string FileErrorTextAbout(const char* what, int32_t code)
{
    char text[256];
    LoadStringByIndex(kFileErrorBase, FileErrorIndex(code), text);
    std::string said = std::string(what) + ": ";
    if (code == kErrFileNotFound || code == kErrPathNotFound)
        said += "There is no such file.";
    else if (code == kErrIsFolder || code == kErrIsPipe || code == kErrIsDevice || code == kErrIsSocket)
        // "fifo.dqx is a pipe, not a file."
        said = std::string(what) + (text + 4);
    else if (code == kErrWriteProtect)
        said += "The disk it is on is read-only.";
    else if (code == kErrSharingViolation || code == kErrLockViolation)
        // A program that only reads the file holds it as much as one that
        // changes it, and is easily forgotten.
        said += std::string(text) + " Close it there, even where it is only open to be read, then try again.";
    else
        said += text;
    return said;
}

int32_t AlertFileErrorAbout(const char* what, int32_t code)
{
    if (code == 0)
        return 0;
    if (!what || !*what)
        return AlertFileError(code);
    return AlertStop(FileErrorTextAbout(what, code).c_str(), code);
}
