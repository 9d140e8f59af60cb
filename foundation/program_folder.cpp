#include "foundation/program_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

#include "foundation/file_host.h"
#include "foundation/win_error.h"

namespace {

std::string g_testFolder;

std::string WithSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

bool IsFolder(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Works with or without an application object, whose names must not
// decide where the user's files are.
std::string UserDataHome()
{
    QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!home.isEmpty())
        return QFile::encodeName(home).toStdString();
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    return QFile::encodeName(QDir::homePath()).toStdString() + "/.local/share";
}

std::string ProgramDirectory()
{
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return {};
    std::string exe(buffer, size_t(n));
    return exe.substr(0, exe.rfind('/'));
}

int32_t MakePath(const std::string& path)
{
    if (!QDir().mkpath(QFile::decodeName(path.c_str())))
        return IsFolder(path) ? kErrNone : kErrPathNotFound;
    return kErrNone;
}

// Copies beside the target first and links it into place, which fails
// rather than replaces when the target has appeared meanwhile; a copy cut
// short never carries the target's name.
int32_t CopyIfMissing(const std::string& source, const std::string& target)
{
    struct stat st;
    if (::lstat(target.c_str(), &st) == 0)
        return kErrNone;
    std::string part = target + ".part";
    ::unlink(part.c_str());
    int32_t err = HostCopyFile(source, part);
    if (err != kErrNone)
        return err;
    if (::link(part.c_str(), target.c_str()) != 0 && errno != EEXIST)
        err = HostPathError(errno, target);
    ::unlink(part.c_str());
    return err;
}

// The files seeding has handed out, one relative path a line, so that a
// later run tells a file the user removed from one never shipped before.
constexpr const char* kSeededListName = ".seeded-files";

std::set<std::string> ReadSeededList(const std::string& path)
{
    std::set<std::string> names;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty())
            names.insert(line);
    return names;
}

int32_t WriteSeededList(const std::string& path, const std::set<std::string>& names)
{
    const std::string part = path + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        for (const std::string& name : names)
            out << name << '\n';
        out.flush();
        if (!out) {
            ::unlink(part.c_str());
            return kErrGeneralFailure;
        }
    }
    if (::rename(part.c_str(), path.c_str()) != 0) {
        const int32_t err = HostPathError(errno, path);
        ::unlink(part.c_str());
        return err;
    }
    return kErrNone;
}

}  // namespace

std::string InstalledDataFolder()
{
    if (const char* env = std::getenv("TESSALINE_DATA_DIR"); env && IsFolder(env))
        return env;
    std::string beside = ProgramDirectory();
    if (!beside.empty() && IsFolder(beside + "/../share/tessaline"))
        return beside + "/../share/tessaline";
    return {};
}

int32_t SeedFolder(const std::string& source, const std::string& destination)
{
    std::string to = WithSlash(destination);
    int32_t first = MakePath(to);
    std::set<std::string> seeded = ReadSeededList(to + kSeededListName);
    const size_t before = seeded.size();
    QString root = QFile::decodeName(WithSlash(source).c_str());
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QString path = it.next();
        std::string relative = QFile::encodeName(path.mid(root.size())).toStdString();
        int32_t err = kErrNone;
        if (it.fileInfo().isDir()) {
            err = MakePath(to + relative);
        } else if (relative != kSeededListName && !seeded.count(relative)) {
            // A file the user has since deleted or moved stays gone: only
            // files never handed out before are copied.
            err = CopyIfMissing(QFile::encodeName(path).toStdString(), to + relative);
            if (err == kErrNone)
                seeded.insert(relative);
        }
        if (first == kErrNone)
            first = err;
    }
    if (seeded.size() != before) {
        int32_t err = WriteSeededList(to + kSeededListName, seeded);
        if (first == kErrNone)
            first = err;
    }
    return first;
}

std::string ProgramFolderPath()
{
    if (!g_testFolder.empty())
        return g_testFolder;
    static const std::string folder = [] {
        std::string path = UserDataHome() + "/Korrinworks Inc./Tessaline/";
        std::string data = InstalledDataFolder();
        if (data.empty())
            MakePath(path);
        else
            SeedFolder(data, path);
        return path;
    }();
    return folder;
}

int32_t GetProgramFolder(PathRecord* record) { return PathRecordFromPosix(ProgramFolderPath(), record); }

void SetProgramFolderForTesting(const std::string& path)
{
    g_testFolder = path.empty() ? std::string() : WithSlash(path);
    if (!g_testFolder.empty())
        MakePath(g_testFolder);
}
