// What killed copies of the program left in a folder (the temporary folder,
// the folder of a print's output): the scratch files and folders they
// marked as their own, once their maker has ended and no running program
// holds them.

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "foundation/file_host.h"
#include "foundation/file_io.h"
#include "foundation/scratch_mark.h"
#include "foundation/win_error.h"

namespace {

std::string LinkTarget(const std::string& link)
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, size_t(n)) : std::string();
}

// What running programs have open now, as far as this user may see: each
// open file, and each folder that holds an open file or is a program's
// working folder, with the folders above them.
struct InUse {
    std::set<std::string> folders;
    std::set<std::pair<dev_t, ino_t>> files;

    bool Holds(const struct stat& st) const { return files.count({st.st_dev, st.st_ino}) > 0; }
};

InUse ScanInUse()
{
    InUse inUse;
    const auto note = [&inUse](std::string path) {
        while (!path.empty() && path[0] == '/') {
            const size_t slash = path.rfind('/');
            path.resize(slash == 0 ? 1 : slash);
            if (!inUse.folders.insert(path).second || path == "/")
                break;
        }
    };
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return inUse;
    while (const dirent* entry = ::readdir(proc)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9')
            continue;
        const std::string base = std::string("/proc/") + entry->d_name;
        // The working folder counts as a file inside it.
        if (const std::string cwd = LinkTarget(base + "/cwd"); !cwd.empty())
            note(cwd + "/.");
        DIR* fds = ::opendir((base + "/fd").c_str());
        if (!fds)
            continue;
        while (const dirent* fd = ::readdir(fds)) {
            if (fd->d_name[0] == '.')
                continue;
            const std::string link = base + "/fd/" + fd->d_name;
            const std::string target = LinkTarget(link);
            if (target.empty() || target[0] != '/')
                continue;
            note(target);
            struct stat st;
            if (::stat(link.c_str(), &st) == 0)
                inUse.files.insert({st.st_dev, st.st_ino});
        }
        ::closedir(fds);
    }
    ::closedir(proc);
    return inUse;
}

bool FileHeld(const std::string& path, const struct stat& st, const InUse& inUse)
{
    return inUse.Holds(st) || HostFileHeldOpen(path);
}

// Whether a program works in the folder or holds a file in it.
bool FolderHeld(const std::string& folder, const InUse& inUse)
{
    if (inUse.folders.count(folder))
        return true;
    std::error_code error;
    std::filesystem::recursive_directory_iterator it(folder, error), end;
    if (error)
        return true;
    for (; it != end; it.increment(error)) {
        if (error)
            return true;
        struct stat st;
        const std::string path = it->path().string();
        if (::lstat(path.c_str(), &st) != 0)
            return true;
        if (S_ISREG(st.st_mode) && FileHeld(path, st, inUse))
            return true;
    }
    return false;
}

// Removes, inside a marked folder whose maker has ended, what that maker
// marked: files no program holds, then the folders it made once they are
// empty. Whatever else lies there (a file someone put in it) stays, and
// with it the folders that hold it. True when the folder itself went.
bool RemoveMarkedWithin(const std::string& folder, const InUse& inUse)
{
    std::vector<std::string> entries;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                entries.push_back(folder + "/" + entry->d_name);
        }
        ::closedir(dir);
    }
    for (const std::string& path : entries) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || ScratchMakerOf(path) != ScratchMaker::kGone)
            continue;
        if (S_ISDIR(st.st_mode))
            RemoveMarkedWithin(path, inUse);
        else if (S_ISREG(st.st_mode) && !FileHeld(path, st, inUse))
            ::unlink(path.c_str());
    }
    return ::rmdir(folder.c_str()) == 0;
}

}  // namespace

int32_t RemoveOwnLeftovers(const PathRecord* folder)
{
    PathRecord r = *folder;
    std::memset(r.name, 0, sizeof r.name);
    std::memset(r.extension, 0, sizeof r.extension);
    std::string directory = PathRecordToPosix(r);
    if (directory.empty())
        directory = ".";
    // As the running programs' open files and working folders are seen:
    // whole, with no link on the way.
    char real[PATH_MAX];
    if (!::realpath(directory.c_str(), real))
        return 0;
    directory = real;
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return 0;
    std::vector<std::string> left;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string path = directory + (directory == "/" ? "" : "/") + entry->d_name;
        struct stat st;
        // Only this user's files and folders, never a link.
        if (::lstat(path.c_str(), &st) == 0 && (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) &&
            st.st_uid == ::getuid() && ScratchMakerOf(path) == ScratchMaker::kGone)
            left.push_back(path);
    }
    ::closedir(dir);
    if (left.empty())
        return 0;
    const InUse inUse = ScanInUse();
    int32_t removed = 0;
    for (const std::string& path : left) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            if (!FolderHeld(path, inUse) && RemoveMarkedWithin(path, inUse))
                ++removed;
            continue;
        }
        PathRecord file{};
        // FileDelete also leaves a file that an open holds.
        if (!FileHeld(path, st, inUse) && PathRecordFromPosix(path, &file) == 0 && FileDelete(&file) == kErrNone)
            ++removed;
    }
    return removed;
}
