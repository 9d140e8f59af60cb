#include "support/crash_disk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr uint64_t kPage = 4096;

bool ReadWhole(const std::string& path, std::vector<uint8_t>* bytes)
{
    bytes->clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    bytes->resize(size_t(st.st_size));
    size_t done = 0;
    while (done < bytes->size()) {
        const ssize_t r = ::pread(fd, bytes->data() + done, bytes->size() - done, off_t(done));
        if (r <= 0)
            break;
        done += size_t(r);
    }
    bytes->resize(done);
    ::close(fd);
    return true;
}

void WriteWhole(const std::string& path, const std::vector<uint8_t>& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w <= 0)
            break;
        done += size_t(w);
    }
    ::close(fd);
}

void Apply(std::vector<uint8_t>& image, uint64_t offset, const uint8_t* bytes, size_t n)
{
    if (image.size() < offset + n)
        image.resize(size_t(offset + n));
    std::memcpy(image.data() + offset, bytes, n);
}

}  // namespace

CrashDisk::CrashDisk(uint64_t seed, int64_t crashAt, bool harsh)
    : random_(seed), crashAt_(crashAt), harsh_(harsh), previous_(SetFileWatcher(this))
{
}

CrashDisk::~CrashDisk()
{
    if (g_fileWatcher == this)
        SetFileWatcher(previous_);
}

CrashDisk::File& CrashDisk::Track(const std::string& path)
{
    auto it = files_.find(path);
    if (it != files_.end())
        return it->second;
    Leftover before;
    before.exists = ReadWhole(path, &before.bytes);
    File& file = files_[path];
    file.exists = before.exists;
    file.durable = before.bytes;
    firstSeen_.emplace(path, std::move(before));
    return file;
}

CrashDisk::File* CrashDisk::FileOf(FileHandle handle)
{
    auto it = handles_.find(handle);
    if (it == handles_.end()) {
        // A file opened before the watcher came: its name is still known.
        char link[64];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", int(handle));
        char target[4096];
        const ssize_t n = ::readlink(link, target, sizeof target - 1);
        if (n <= 0 || target[0] != '/')
            return nullptr;
        std::string path(target, size_t(n));
        if (path.size() > 10 && path.compare(path.size() - 10, 10, " (deleted)") == 0)
            return nullptr;
        it = handles_.emplace(handle, path).first;
    }
    File& file = Track(it->second);
    return file.exists ? &file : nullptr;
}

void CrashDisk::Step()
{
    ++stats_.steps;
    if (!crashed_ && stats_.steps == crashAt_)
        TakeCrashImage();
}

std::vector<uint8_t> CrashDisk::CrashImage(const File& file)
{
    std::vector<uint8_t> image = file.durable;
    for (const Change& c : file.pending) {
        const unsigned fate = harsh_ ? 1 : unsigned(random_() % 4);
        if (!c.write) {
            if (fate % 2 == 0) {
                image.resize(size_t(c.offset));
                ++stats_.kept;
            } else {
                ++stats_.dropped;
            }
            continue;
        }
        const size_t n = c.bytes.size();
        size_t keep = n;
        if (fate == 1) {
            keep = 0;
        } else if (fate == 2) {
            keep = n ? size_t(random_() % n) : 0;
        } else if (fate == 3) {
            // The last page boundary inside the write, or none of it.
            const uint64_t end = c.offset + n;
            const uint64_t boundary = (end - 1) / kPage * kPage;
            keep = boundary > c.offset ? size_t(boundary - c.offset) : 0;
        }
        if (keep == n)
            ++stats_.kept;
        else if (keep == 0)
            ++stats_.dropped;
        else if (fate == 3)
            ++stats_.tornAtPage;
        else
            ++stats_.tornPartly;
        if (keep > 0)
            Apply(image, c.offset, c.bytes.data(), keep);
    }
    return image;
}

void CrashDisk::TakeCrashImage()
{
    crashed_ = true;
    for (const auto& [path, file] : files_) {
        Leftover& left = image_[path];
        left.exists = file.exists;
        if (file.exists)
            left.bytes = CrashImage(file);
    }
}

void CrashDisk::Restore()
{
    if (!crashed_)
        return;
    for (const auto& [path, file] : files_) {
        auto at = image_.find(path);
        const Leftover& left = at != image_.end() ? at->second : firstSeen_.at(path);
        if (left.exists)
            WriteWhole(path, left.bytes);
        else
            ::unlink(path.c_str());
    }
}

void CrashDisk::Opened(FileHandle handle, const std::string& path)
{
    handles_[handle] = path;
    File& file = Track(path);
    if (!file.exists) {
        // Made by this open.
        file.exists = true;
        file.durable.clear();
        file.pending.clear();
    }
}

void CrashDisk::Made(const std::string& path)
{
    files_.erase(path);
    firstSeen_.emplace(path, Leftover{});
    File& file = files_[path];
    file.exists = true;
}

void CrashDisk::Closing(FileHandle handle) { handles_.erase(handle); }

int32_t CrashDisk::Writing(FileHandle handle, uint64_t offset, const void* bytes, uint32_t n, uint32_t*)
{
    File* file = FileOf(handle);
    if (file) {
        Change c;
        c.offset = offset;
        c.bytes.assign(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + n);
        file->pending.push_back(std::move(c));
    }
    Step();
    return kFileStepGo;
}

int32_t CrashDisk::Resizing(FileHandle handle, uint64_t size)
{
    if (File* file = FileOf(handle)) {
        Change c;
        c.write = false;
        c.offset = size;
        file->pending.push_back(std::move(c));
    }
    Step();
    return kFileStepGo;
}

int32_t CrashDisk::Syncing(FileHandle handle)
{
    Step();
    if (File* file = FileOf(handle)) {
        for (const Change& c : file->pending) {
            if (c.write)
                Apply(file->durable, c.offset, c.bytes.data(), c.bytes.size());
            else
                file->durable.resize(size_t(c.offset));
        }
        file->pending.clear();
    }
    return kFileStepSkip;
}

int32_t CrashDisk::Renaming(const std::string& from, const std::string& to)
{
    Step();
    Track(to);
    File moved = Track(from);
    files_[to] = std::move(moved);
    File& gone = files_[from];
    gone = File{};
    for (auto& [handle, path] : handles_) {
        if (path == from)
            path = to;
    }
    return kFileStepGo;
}

int32_t CrashDisk::Deleting(const std::string& path)
{
    Step();
    Track(path) = File{};
    for (auto it = handles_.begin(); it != handles_.end();) {
        if (it->second == path)
            it = handles_.erase(it);
        else
            ++it;
    }
    return kFileStepGo;
}
