#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/alert_sink.h"
#include "foundation/file_host.h"
#include "foundation/file_io.h"
#include "foundation/file_watch.h"
#include "foundation/win_error.h"

namespace {

std::string Host(const PathRecord* record) { return PathRecordToPosix(*record); }

// stat of the path as written, else of the path matched ignoring case;
// actual receives the path that answered.
bool StatAnyCase(const std::string& path, struct stat* st, std::string* actual)
{
    if (::stat(path.c_str(), st) == 0) {
        *actual = path;
        return true;
    }
    std::string found;
    if (errno == ENOENT && HostFindIgnoringCase(path, &found) && ::stat(found.c_str(), st) == 0) {
        *actual = found;
        return true;
    }
    return false;
}

// The code of a rename that failed, blaming the side that caused it.
int32_t RenameError(int err, const std::string& from, const std::string& to)
{
    if (err == EEXIST || err == ENOTEMPTY)
        return kErrAlreadyExists;
    struct stat st;
    if (::lstat(from.c_str(), &st) != 0)
        return HostPathError(errno, from);
    return HostPathError(err, to);
}

// rename(2) would silently replace the target; a move never does.
int32_t RenameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return kErrNone;
    if (errno != EINVAL && errno != ENOSYS)
        return RenameError(errno, from, to);
    // File systems without the no-replace flag.
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0)
        return kErrAlreadyExists;
    if (::rename(from.c_str(), to.c_str()) == 0)
        return kErrNone;
    return RenameError(errno, from, to);
}

int32_t SetFromHostName(const std::string& hostName, PathRecord* record)
{
    PathRecord split;
    int32_t err = PathRecordFromPosix(hostName, &split);
    if (err == kErrNone) {
        std::memcpy(record->name, split.name, sizeof record->name);
        std::memcpy(record->extension, split.extension, sizeof record->extension);
    }
    return err;
}

int64_t CreationTime(const std::string& path, const struct stat& st)
{
    struct statx sx;
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME))
        return sx.stx_btime.tv_sec;
    return st.st_mtime;
}

std::string HostParent(const std::string& path)
{
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    size_t slash = p.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : p.substr(0, slash);
}

// Tells the watcher of a rename or delete about to happen; a positive
// answer is the code the step fails with.
int32_t WatchRename(const std::string& from, const std::string& to)
{
    FileWatcher* watcher = g_fileWatcher;
    const int32_t step = watcher ? watcher->Renaming(from, to) : kFileStepGo;
    return step > 0 ? step : kErrNone;
}

int32_t WatchDelete(const std::string& path)
{
    FileWatcher* watcher = g_fileWatcher;
    const int32_t step = watcher ? watcher->Deleting(path) : kFileStepGo;
    return step > 0 ? step : kErrNone;
}

// Renames source over target, keeping target's permission bits, and makes
// the new name durable.
int32_t ReplaceNow(const std::string& source, const std::string& target)
{
    struct stat st;
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ::chmod(source.c_str(), st.st_mode & 07777);
    if (const int32_t err = WatchRename(source, target); err != kErrNone)
        return err;
    if (::rename(source.c_str(), target.c_str()) != 0)
        return RenameError(errno, source, target);
    // The new name must reach the disk too, or a crash could bring back
    // the old file or none.
    int dir = ::open(HostParent(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return kErrNone;
}

}  // namespace

int32_t FileDelete(const PathRecord* record)
{
    std::string path = Host(record);
    if (HostFileHeldOpen(path))
        return kErrSharingViolation;
    if (const int32_t err = WatchDelete(path); err != kErrNone)
        return err;
    if (::unlink(path.c_str()) != 0)
        return HostPathError(errno, path);
    return kErrNone;
}

int32_t FileMove(const PathRecord* from, const PathRecord* to)
{
    std::string source = Host(from);
    std::string target = Host(to);
    if (HostFileHeldOpen(source))
        return kErrSharingViolation;
    struct stat existing;
    if (::lstat(target.c_str(), &existing) == 0)
        return kErrAlreadyExists;
    if (int32_t err = WatchRename(source, target); err != kErrNone)
        return err;
    int32_t err = RenameNoReplace(source, target);
    if (err != kErrNotSameDevice)
        return err;
    struct stat st;
    if (::lstat(source.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return err;  // folders stay on their file system
    err = HostCopyFile(source, target);
    if (err != kErrNone)
        return err;
    if (::unlink(source.c_str()) != 0) {
        // Keep one file, not two.
        err = HostPathError(errno, source);
        ::unlink(target.c_str());
    }
    return err;
}

int32_t FileReplace(const PathRecord* from, const PathRecord* to)
{
    std::string source = Host(from);
    std::string target = Host(to);
    if (HostFileHeldOpen(source) || HostFileHeldOpen(target))
        return kErrSharingViolation;
    return ReplaceNow(source, target);
}

int32_t FileReplaceWhileOpen(const PathRecord* from, const PathRecord* to)
{
    return ReplaceNow(Host(from), Host(to));
}

int32_t FileWriteLanding(const PathRecord* record, PathRecord* landing)
{
    const std::string named = Host(record);
    std::string at;
    if (const int32_t err = HostFinalTarget(named, &at); err != kErrNone)
        return err;
    if (at == named) {
        *landing = *record;
        return kErrNone;
    }
    PathRecord found{};
    if (const int32_t err = PathRecordFromPosix(at, &found); err != kErrNone)
        return err;
    *landing = found;
    return kErrNone;
}

int32_t FileRename(const PathRecord* record, const char* newName)
{
    if (!newName || !*newName || std::strpbrk(newName, "\\/"))
        return kErrInvalidName;
    if (std::strlen(newName) > 255)
        return kErrFilenameExceedsRange;
    PathRecord to = *record;
    char extension[256];
    SplitFileExtension(newName, to.name, extension);
    if (extension[0])
        std::memcpy(to.extension, extension, sizeof extension);
    return FileMove(record, &to);
}

int32_t CreateFolder(const PathRecord* record)
{
    std::string path = Host(record);
    if (::mkdir(path.c_str(), 0777) != 0)
        return errno == EEXIST ? kErrAlreadyExists : HostPathError(errno, path);
    return kErrNone;
}

int32_t FileExists(const PathRecord* record, uint8_t deleteFile)
{
    std::string path = Host(record);
    if (path.empty())
        return 0;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) {
        // Only the exact name is deleted, and not while an open holds it.
        if (deleteFile && !S_ISDIR(st.st_mode) && !HostFileHeldOpen(path) && WatchDelete(path) == kErrNone)
            ::unlink(path.c_str());
        return 1;
    }
    std::string found;
    return errno == ENOENT && HostFindIgnoringCase(path, &found) ? 1 : 0;
}

int32_t FileGetInfo(const PathRecord* record, FileInfo* info)
{
    std::memset(info, 0, sizeof *info);
    std::string path = Host(record);
    std::string actual;
    struct stat st;
    if (path.empty() || !StatAnyCase(path, &st, &actual))
        return 1;
    std::memcpy(info->type, record->extension, sizeof info->type);
    FileFindData& find = info->find;
    find.attributes = S_ISDIR(st.st_mode) ? kFileAttributeFolder
                      : (S_ISREG(st.st_mode) ? kFileAttributeNormal : kFileAttributeDevice);
    find.creationTime = CreationTime(actual, st);
    find.accessTime = st.st_atime;
    find.writeTime = st.st_mtime;
    if (!S_ISDIR(st.st_mode)) {
        find.sizeHigh = uint32_t(uint64_t(st.st_size) >> 32);
        find.sizeLow = uint32_t(uint64_t(st.st_size));
    }
    // The name as the disk has it, which may differ in case.
    PathRecord named = *record;
    while (actual.size() > 1 && actual.back() == '/')
        actual.pop_back();
    size_t slash = actual.rfind('/');
    SetFromHostName(slash == std::string::npos ? actual : actual.substr(slash + 1), &named);
    PathRecordGetFileName(&named, find.name, int32_t(sizeof find.name));
    return 0;
}

bool FileIsDeviceOrPipe(const PathRecord* record)
{
    FileInfo info;
    return FileGetInfo(record, &info) == 0 && info.find.attributes == kFileAttributeDevice;
}

int32_t FolderCheck(const PathRecord* record)
{
    std::string path = Host(record);
    if (!record->name[0] && !record->extension[0]) {
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
    }
    if (path.empty())
        return kErrFileExists;
    struct stat st;
    std::string actual;
    if (StatAnyCase(path, &st, &actual))
        return S_ISDIR(st.st_mode) ? kErrNone : kErrAlreadyExists;
    if (errno == ENOENT || errno == ENOTDIR)
        return kErrFileExists;
    return Win32ErrorFromErrno(errno);
}

int32_t FileCheckAccess(const PathRecord*, int16_t) { return 0; }

std::string FileHostPath(const PathRecord* record)
{
    std::string path = Host(record);
    struct stat st;
    std::string found;
    if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT && HostFindIgnoringCase(path, &found))
        return found;
    return path;
}

double GetDiskFreeBytes(const char* path)
{
    double free = 0;
    PathRecord record;
    if (path && PathRecordFromString(path, &record) == kErrNone) {
        record.name[0] = 0;
        record.extension[0] = 0;
        // The file and even its folder may not exist yet; the nearest
        // existing folder above lies on the file system they will use.
        std::string folder = Host(&record);
        if (folder.empty())
            folder.push_back('.');
        for (;;) {
            struct statvfs vfs;
            if (::statvfs(folder.c_str(), &vfs) == 0) {
                free = double(vfs.f_bavail) * double(vfs.f_frsize);
                break;
            }
            int err = errno;
            std::string parent = HostParent(folder);
            if (parent == folder || (err != ENOENT && err != ENOTDIR))
                break;
            folder = parent;
        }
    }
    if (free == 0)
        MessageBeep(kMbIconInformation);
    return free;
}
