#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <QString>

#include "foundation/file_io.h"
#include "foundation/win_error.h"

namespace {

struct Entry {
    std::string hostName;
    QString key;
    PathRecord record;  // names the entry
    bool folder;
};

struct Walk {
    WalkFolderCallback callback;
    void* user;
    // The folders being walked, so that a link back to one of them does not
    // walk in circles.
    std::vector<std::pair<dev_t, ino_t>> open;
};

// Lists the folder the record's inside names, sorted ignoring case so that
// every walk of the same folder gives the same order.
int32_t List(const PathRecord& inside, std::vector<Entry>* entries)
{
    std::string folder = PathRecordToPosix(inside);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return errno == ENOENT ? kErrPathNotFound : Win32ErrorFromErrno(errno);
    for (;;) {
        errno = 0;
        dirent* d = ::readdir(dir);
        if (!d)
            break;
        std::string name(d->d_name);
        if (name == "." || name == "..")
            continue;
        Entry e;
        e.record = inside;
        PathRecord split;
        if (PathRecordFromPosix(name, &split) != kErrNone)
            continue;  // no record can name it
        std::memcpy(e.record.name, split.name, sizeof split.name);
        std::memcpy(e.record.extension, split.extension, sizeof split.extension);
        bool folderType = d->d_type == DT_DIR;
        if (d->d_type == DT_UNKNOWN || d->d_type == DT_LNK) {
            struct stat st;
            folderType = ::stat((folder + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        e.folder = folderType;
        e.key = QString::fromUtf8(name.data(), qsizetype(name.size()));
        e.hostName = std::move(name);
        entries->push_back(std::move(e));
    }
    int err = errno;
    ::closedir(dir);
    if (err != 0)
        return Win32ErrorFromErrno(err);
    std::sort(entries->begin(), entries->end(), [](const Entry& a, const Entry& b) {
        int c = QString::compare(a.key, b.key, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.hostName < b.hostName;
    });
    return kErrNone;
}

int32_t WalkInside(Walk& walk, const PathRecord& inside)
{
    std::vector<Entry> entries;
    int32_t err = List(inside, &entries);
    if (err != kErrNone)
        return err;
    for (const Entry& e : entries) {
        if (!e.folder) {
            if (int32_t rc = walk.callback(&e.record, 0, walk.user))
                return rc;
            continue;
        }
        PathRecord folderInside = e.record;
        if (PathRecordEnterFolder(&folderInside) != kErrNone)
            continue;  // too deep for a record to name what is inside
        struct stat st;
        if (::stat(PathRecordToPosix(folderInside).c_str(), &st) != 0)
            continue;
        std::pair<dev_t, ino_t> id{st.st_dev, st.st_ino};
        if (std::find(walk.open.begin(), walk.open.end(), id) != walk.open.end())
            continue;

        if (int32_t rc = walk.callback(&e.record, 1, walk.user))
            return rc;
        walk.open.push_back(id);
        err = WalkInside(walk, folderInside);
        walk.open.pop_back();
        if (err != kErrNone)
            return err;
        if (int32_t rc = walk.callback(&folderInside, 2, walk.user))
            return rc;
        PathRecord left = folderInside;
        PathRecordLeaveFolder(&left);
        if (int32_t rc = walk.callback(&left, 3, walk.user))
            return rc;
    }
    return kErrNone;
}

}  // namespace

int32_t WalkFolder(const PathRecord* record, WalkFolderCallback callback, void* user)
{
    PathRecord inside = *record;
    std::memset(inside.name, 0, sizeof inside.name);
    std::memset(inside.extension, 0, sizeof inside.extension);
    Walk walk{callback, user, {}};
    struct stat st;
    std::string folder = PathRecordToPosix(inside);
    if (::stat(folder.empty() ? "." : folder.c_str(), &st) == 0)
        walk.open.emplace_back(st.st_dev, st.st_ino);
    return WalkInside(walk, inside);
}
