// Scratch folders a killed program left behind (Qt's temporary folders
// among them), found and removed at start-up.

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "foundation/file_host.h"
#include "foundation/file_io.h"

namespace {

constexpr time_t kQuietSeconds = 60;

std::string LinkTarget(const std::string& link)
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, size_t(n)) : std::string();
}

// Every folder some running program has a file open in, or works in, as
// far as this user may see: the folder of each open file and each
// program's working folder, with the folders above them.
std::set<std::string> FoldersInUse()
{
    std::set<std::string> inUse;
    const auto note = [&](std::string path) {
        while (!path.empty() && path[0] == '/') {
            const size_t slash = path.rfind('/');
            path.resize(slash == 0 ? 1 : slash);
            if (!inUse.insert(path).second || path == "/")
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
            const std::string target = LinkTarget(base + "/fd/" + fd->d_name);
            if (!target.empty() && target[0] == '/')
                note(target);
        }
        ::closedir(fds);
    }
    ::closedir(proc);
    return inUse;
}

// Whether anything in the folder changed within the quiet time, or a file
// in it is locked by a program that holds it.
bool Busy(const std::string& folder, time_t now)
{
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
        if (now - st.st_mtime < kQuietSeconds)
            return true;
        if (S_ISREG(st.st_mode) && HostFileHeldOpen(path))
            return true;
    }
    return false;
}

}  // namespace

int32_t RemoveStaleTempFolders(const PathRecord* folder, const char* prefix)
{
    PathRecord r = *folder;
    std::memset(r.name, 0, sizeof r.name);
    std::memset(r.extension, 0, sizeof r.extension);
    std::string directory = PathRecordToPosix(r);
    if (directory.empty() || !prefix || !*prefix)
        return 0;
    while (directory.size() > 1 && directory.back() == '/')
        directory.pop_back();
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return 0;
    const std::string head(prefix);
    const time_t now = std::time(nullptr);
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= head.size() || name.compare(0, head.size(), head) != 0)
            continue;
        const std::string path = directory + "/" + name;
        struct stat st;
        // Only real folders of this user: never a link, never another's.
        if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
            now - st.st_mtime >= kQuietSeconds)
            candidates.push_back(path);
    }
    ::closedir(dir);
    if (candidates.empty())
        return 0;
    const std::set<std::string> inUse = FoldersInUse();
    int32_t removed = 0;
    for (const std::string& path : candidates) {
        if (inUse.count(path) || Busy(path, now))
            continue;
        std::error_code error;
        if (std::filesystem::remove_all(path, error) != static_cast<std::uintmax_t>(-1) && !error)
            ++removed;
    }
    return removed;
}
