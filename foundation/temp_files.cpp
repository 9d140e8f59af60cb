#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>

#include "foundation/alerts.h"
#include "foundation/file_host.h"
#include "foundation/file_io.h"
#include "foundation/file_watch.h"
#include "foundation/scratch_mark.h"
#include "foundation/win_error.h"

namespace {

// The next number to try; started from the process and the time so that
// two programs in one folder seldom meet.
uint32_t g_nextUnique = 0;

uint32_t TakeUnique()
{
    if (g_nextUnique == 0)
        g_nextUnique = ((uint32_t(::getpid()) * 2654435761u) ^ uint32_t(std::time(nullptr))) % 0xFFFF + 1;
    uint32_t u = g_nextUnique;
    g_nextUnique = u % 0xFFFF + 1;
    return u;
}

// Makes a free temporary name (its file is created and deleted again), as
// the first try in the record's folder and then in the system's.
int32_t FreeTempName(const PathRecord* folder, const char* prefix, PathRecord* made)
{
    int32_t err = CreateTempFileName(folder, prefix, made);
    if (err != kErrNone)
        return err;
    FileHandle h = kNoFile;
    err = FileOpenDeleteOnClose(made, kFileReadWrite, &h);
    FileClose(h);
    return err;
}

}  // namespace

int32_t CreateTempFileName(const PathRecord* folder, const char* prefix, PathRecord* out)
{
    PathRecord r = *folder;
    std::memset(r.name, 0, sizeof r.name);
    std::memset(r.extension, 0, sizeof r.extension);
    std::strcpy(r.extension, ".TMP");
    std::string head(prefix ? prefix : "", prefix ? strnlen(prefix, 3) : 0);
    for (uint32_t tries = 0; tries < 0xFFFF; ++tries) {
        std::snprintf(r.name, sizeof r.name, "%s%X", head.c_str(), unsigned(TakeUnique()));
        std::string path = PathRecordToPosix(r);
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0) {
            MarkIfInOwnScratch(fd, path);
            ::close(fd);
            if (FileWatcher* watcher = g_fileWatcher)
                watcher->Made(path);
            *out = r;
            return kErrNone;
        }
        if (errno != EEXIST)
            return HostPathError(errno, path);
    }
    return kErrFileExists;
}

int32_t RemoveStaleTempFiles(const PathRecord* folder, const char* prefix, bool heldWhileWritten)
{
    // A file made a moment ago may not be held open yet by the save that
    // named it.
    constexpr time_t kQuietSeconds = 60;
    PathRecord r = *folder;
    std::memset(r.name, 0, sizeof r.name);
    std::memset(r.extension, 0, sizeof r.extension);
    std::string directory = PathRecordToPosix(r);
    if (directory.empty())
        directory.push_back('.');
    const std::string head(prefix ? prefix : "", prefix ? strnlen(prefix, 3) : 0);
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return 0;
    std::vector<std::string> stale;
    const time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= head.size() + 4 || name.compare(0, head.size(), head) != 0 ||
            name.compare(name.size() - 4, 4, ".TMP") != 0)
            continue;
        const std::string digits = name.substr(head.size(), name.size() - head.size() - 4);
        if (digits.find_first_not_of("0123456789ABCDEF") != std::string::npos)
            continue;
        const std::string path = directory + (directory.back() == '/' ? "" : "/") + name;
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            (now - st.st_mtime >= kQuietSeconds || (heldWhileWritten && st.st_size > 0)))
            stale.push_back(name);
    }
    ::closedir(dir);
    int32_t removed = 0;
    for (const std::string& name : stale) {
        PathRecord file = r;
        SplitFileExtension(name.c_str(), file.name, file.extension);
        // FileDelete leaves a file that an open holds.
        if (FileDelete(&file) == kErrNone)
            ++removed;
    }
    return removed;
}

int32_t GetSystemTempFolder(PathRecord* record)
{
    QByteArray path = QFile::encodeName(QDir::tempPath());
    if (path.size() > 260)
        return kErrFilenameExceedsRange;
    return PathRecordFromPosix(path.toStdString() + "/", record);
}

int32_t MakeTempFileRecord(PathRecord* record)
{
    char prefix[4] = "_t_";
    if (strnlen(record->name, 3) == 3)
        std::memcpy(prefix, record->name, 3);
    PathRecord made;
    int32_t err = FreeTempName(record, prefix, &made);
    if (err != kErrNone) {
        PathRecord systemFolder;
        err = GetSystemTempFolder(&systemFolder);
        if (err == kErrNone)
            err = FreeTempName(&systemFolder, prefix, &made);
    }
    if (err == kErrNone)
        *record = made;
    return err;
}

int32_t MakeUniqueFileName(PathRecord* record)
{
    std::string base(record->name, strnlen(record->name, sizeof record->name));
    for (uint32_t c = 0;; ++c) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%03u", unsigned(c));
        // A name too long for the counter gives up its end, never the counter.
        std::string name = base.substr(0, sizeof record->name - 1 - std::strlen(digits)) + digits;
        std::memset(record->name, 0, sizeof record->name);
        std::memcpy(record->name, name.data(), name.size());
        if (!FileExists(record, 0) || c == 99999999)
            return 0;
    }
}

int32_t CheckDirectoryWritable(const PathRecord* record, uint8_t showAlert)
{
    PathRecord probe;
    int32_t err = CreateTempFileName(record, "Z_@", &probe);
    if (err == kErrNone) {
        FileHandle h = kNoFile;
        err = FileOpen(&probe, kFileReadWrite, &h);
        if (err == kErrNone)
            err = FileClose(h);
        int32_t deleted = FileDelete(&probe);
        if (err == kErrNone)
            err = deleted;
    }
    if (err != kErrNone && showAlert)
        AlertNoteById(365, 2, 0);  // "Disk is Write Protected"
    return err;
}
