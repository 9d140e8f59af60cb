#include "foundation/file_host.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string_view>
#include <vector>

#include <QString>

#include "foundation/win_error.h"

namespace {

std::string ParentOf(const std::string& path)
{
    size_t end = path.size();
    while (end > 1 && path[end - 1] == '/')
        --end;
    size_t slash = path.rfind('/', end - 1);
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsFolder(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

QString Folded(std::string_view name)
{
    return QString::fromUtf8(name.data(), qsizetype(name.size())).toCaseFolded();
}

// The entry of folder whose name equals component ignoring case; the first
// in byte order when several do, so the choice never depends on the
// listing order.
bool MatchInFolder(const std::string& folder, const std::string& component, std::string* match)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    QString wanted = Folded(component);
    bool found = false;
    while (dirent* entry = ::readdir(dir)) {
        std::string_view name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        if (Folded(name) == wanted && (!found || name < *match)) {
            *match = std::string(name);
            found = true;
        }
    }
    ::closedir(dir);
    return found;
}

int32_t WriteAll(int fd, const char* data, size_t n)
{
    while (n > 0) {
        ssize_t w = ::write(fd, data, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return Win32ErrorFromErrno(errno);
        }
        if (w == 0)
            return kErrDiskFull;
        data += w;
        n -= size_t(w);
    }
    return kErrNone;
}

}  // namespace

int32_t HostPathError(int err, const std::string& path)
{
    if (err == ENOENT && !IsFolder(ParentOf(path)))
        return kErrPathNotFound;
    return Win32ErrorFromErrno(err);
}

int32_t HostHandleError(int fd, int err)
{
    if (err == EBADF || err == EINVAL) {
        // A valid descriptor opened for the other direction.
        if (::fcntl(fd, F_GETFL) != -1)
            return kErrAccessDenied;
        return kErrInvalidHandle;
    }
    return Win32ErrorFromErrno(err);
}

int32_t HostLockExclusive(int fd)
{
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return kErrNone;
        if (errno == EINTR)
            continue;
        if (errno == EWOULDBLOCK)
            return kErrSharingViolation;
        return kErrNone;
    }
}

bool HostFileHeldOpen(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st;
    bool held = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && HostLockExclusive(fd) == kErrSharingViolation;
    ::close(fd);  // also drops the probe's own lock
    return held;
}

bool HostFindIgnoringCase(const std::string& path, std::string* found)
{
    if (path.empty())
        return false;
    std::string current = path[0] == '/' ? "/" : "";
    size_t pos = 0;
    while (pos < path.size()) {
        size_t slash = path.find('/', pos);
        if (slash == std::string::npos)
            slash = path.size();
        std::string component = path.substr(pos, slash - pos);
        pos = slash + 1;
        if (component.empty())
            continue;
        std::string candidate = current;
        if (!candidate.empty() && candidate.back() != '/')
            candidate += '/';
        struct stat st;
        if (::lstat((candidate + component).c_str(), &st) == 0) {
            current = candidate + component;
            continue;
        }
        if (errno != ENOENT || component == "." || component == "..")
            return false;
        std::string match;
        if (!MatchInFolder(current, component, &match))
            return false;
        current = candidate + match;
    }
    if (path.back() == '/' && current.back() != '/')
        current += '/';
    *found = current;
    return true;
}

int32_t HostCopyFile(const std::string& source, const std::string& destination)
{
    int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (in < 0)
        return HostPathError(errno, source);
    struct stat st;
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return kErrAccessDenied;
    }
    int out = ::open(destination.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, st.st_mode & 07777);
    if (out < 0) {
        int32_t err = errno == EEXIST ? kErrAlreadyExists : HostPathError(errno, destination);
        ::close(in);
        return err;
    }
    int32_t err = kErrNone;
    std::vector<char> buffer(1 << 16);
    while (err == kErrNone) {
        ssize_t r = ::read(in, buffer.data(), buffer.size());
        if (r < 0) {
            if (errno != EINTR)
                err = Win32ErrorFromErrno(errno);
            continue;
        }
        if (r == 0)
            break;
        err = WriteAll(out, buffer.data(), size_t(r));
    }
    if (err == kErrNone && ::fsync(out) != 0)
        err = Win32ErrorFromErrno(errno);
    if (::close(out) != 0 && err == kErrNone)
        err = Win32ErrorFromErrno(errno);
    ::close(in);
    if (err != kErrNone)
        ::unlink(destination.c_str());
    return err;
}

int32_t HostFinalTarget(const std::string& path, std::string* target)
{
    std::string at = path;
    // As many links as the system itself follows in one path.
    for (int links = 0; links <= 40; ++links) {
        std::vector<char> named(PATH_MAX + 1);
        const ssize_t n = ::readlink(at.c_str(), named.data(), named.size() - 1);
        if (n < 0) {
            if (errno == ELOOP)
                return kErrCantResolveFilename;
            // Not a link (or nothing there yet): the write lands here.
            *target = at;
            return kErrNone;
        }
        const std::string next(named.data(), size_t(n));
        const size_t slash = at.rfind('/');
        at = next.front() == '/' || slash == std::string::npos ? next : at.substr(0, slash + 1) + next;
    }
    return kErrCantResolveFilename;
}
