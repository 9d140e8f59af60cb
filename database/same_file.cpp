#include "database/same_file.h"

#include <sys/stat.h>

#include "foundation/cstr.h"
#include "foundation/file_io.h"

namespace {

bool Identify(const PathRecord& record, struct stat* st)
{
    const std::string path = FileHostPath(&record);
    return !path.empty() && ::stat(path.c_str(), st) == 0;
}

}  // namespace

bool SameExistingFile(const PathRecord& a, const PathRecord& b)
{
    struct stat sa, sb;
    if (!Identify(a, &sa) || !Identify(b, &sb))
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool PathNamesOpenFile(const PathRecord& path, FileHandle file)
{
    struct stat held, named;
    if (file == kNoFile || ::fstat(file, &held) != 0 || !Identify(path, &named))
        return false;
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

PathRecord IndexPathFor(const PathRecord& recordFile)
{
    PathRecord index = recordFile;
    StrCopyN(index.extension, ".idx", sizeof index.extension);
    return index;
}
