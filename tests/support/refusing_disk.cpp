#include "support/refusing_disk.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "foundation/win_error.h"

RefusingDisk::RefusingDisk(Refusal how, int64_t refuseFrom, const std::string& folder)
    : how_(how), refuseFrom_(refuseFrom), folder_(folder), previous_(SetFileWatcher(this))
{
    if (!folder_.empty() && folder_.back() != '/')
        folder_ += '/';
}

RefusingDisk::~RefusingDisk()
{
    if (g_fileWatcher == this)
        SetFileWatcher(previous_);
}

int32_t RefusingDisk::code() const { return how_ == Refusal::NoSpace ? kErrDiskFull : kErrAccessDenied; }

bool RefusingDisk::Watched(const std::string& path) const
{
    return folder_.empty() || path.compare(0, folder_.size(), folder_) == 0;
}

bool RefusingDisk::WatchedFile(FileHandle file)
{
    auto it = handles_.find(file);
    if (it == handles_.end()) {
        // A file opened before the disk came: its name is still known.
        char link[64];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", int(file));
        char target[4096];
        const ssize_t n = ::readlink(link, target, sizeof target - 1);
        it = handles_.emplace(file, n > 0 ? std::string(target, size_t(n)) : std::string()).first;
    }
    return Watched(it->second);
}

bool RefusingDisk::Refusing()
{
    ++steps_;
    return refuseFrom_ > 0 && steps_ >= refuseFrom_;
}

int32_t RefusingDisk::Refuse()
{
    ++refused_;
    return code();
}

void RefusingDisk::Opened(FileHandle file, const std::string& path) { handles_[file] = path; }

void RefusingDisk::Made(const std::string&) {}

void RefusingDisk::Closing(FileHandle file) { handles_.erase(file); }

int32_t RefusingDisk::Writing(FileHandle file, uint64_t offset, const void*, uint32_t n, uint32_t* keep)
{
    if (!WatchedFile(file) || !Refusing())
        return kFileStepGo;
    if (how_ == Refusal::NoPermission)
        return Refuse();
    struct stat st;
    const uint64_t size = ::fstat(file, &st) == 0 ? uint64_t(st.st_size) : 0;
    if (offset + n <= size)
        return kFileStepGo;
    *keep = size > offset ? uint32_t(size - offset) : 0;
    return Refuse();
}

int32_t RefusingDisk::Resizing(FileHandle file, uint64_t size)
{
    if (!WatchedFile(file) || !Refusing())
        return kFileStepGo;
    struct stat st;
    if (how_ == Refusal::NoSpace && ::fstat(file, &st) == 0 && size <= uint64_t(st.st_size))
        return kFileStepGo;
    return Refuse();
}

int32_t RefusingDisk::Syncing(FileHandle file)
{
    if (WatchedFile(file) && Refusing() && how_ == Refusal::NoPermission)
        return Refuse();
    return kFileStepSkip;
}

int32_t RefusingDisk::Renaming(const std::string& from, const std::string& to)
{
    if ((Watched(from) || Watched(to)) && Refusing() && how_ == Refusal::NoPermission)
        return Refuse();
    return kFileStepGo;
}

int32_t RefusingDisk::Deleting(const std::string&) { return kFileStepGo; }
