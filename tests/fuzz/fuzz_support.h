// What the fuzz targets share: a sink that answers every message, folders
// and paths of the run's own for the files they open, and scratch files
// that go away with their handle.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/alert_sink.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "foundation/program_folder.h"

class SilentSink final : public AlertSink {
public:
    int32_t MessageBox(const std::string&, const std::string&, uint32_t) override { return kIdOk; }
    void Beep(uint32_t) override {}
};

// Nobody is there to answer a message box while the fuzzer runs.
inline void SilenceAlerts()
{
    static SilentSink silent;
    SetAlertSink(&silent);
}

// A folder of this run's own under /tmp, named from prefix and removed when
// the run ends; /tmp itself when none can be made.
inline std::string FuzzRunFolder(const char* prefix)
{
    struct RunFolder {
        explicit RunFolder(const char* prefix)
        {
            std::string templ = std::string("/tmp/") + prefix + "-XXXXXX";
            const char* made = mkdtemp(templ.data());
            path = made ? made : "";
        }
        ~RunFolder()
        {
            if (!path.empty())
                rmdir(path.c_str());
        }
        std::string path;
    };
    static RunFolder folder(prefix);
    return folder.path.empty() ? std::string("/tmp") : folder.path;
}

// A broken expectation of a target is a crash the fuzzer reports.
inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// /tmp/tessaline-fuzz-<name>-<pid>, made if it is missing; the files a
// target writes there are replaced by the next input.
inline std::string ProcessFolder(const char* name)
{
    const std::string folder = "/tmp/tessaline-fuzz-" + std::string(name) + "-" + std::to_string(getpid());
    PathRecord r{};
    Check(PathRecordFromPosix(folder + "/", &r) == 0);
    CreateFolder(&r);
    return folder;
}

// ProcessFolder(name), made the program's own folder, where it keeps its
// preferences and templates.
inline std::string ProgramFolder(const char* name)
{
    const std::string folder = ProcessFolder(name);
    SetProgramFolderForTesting(folder);
    return folder;
}

// <TMPDIR or /tmp>/<stem><pid>: a name no other fuzzing process uses.
inline std::string ProcessTempPath(const char* stem)
{
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/" + stem +
           std::to_string(getpid());
}

inline PathRecord PathOf(const std::string& path)
{
    PathRecord r{};
    Check(PathRecordFromPosix(path, &r) == 0);
    return r;
}

// The file at path holds exactly these bytes afterwards.
inline void WriteWholeFile(const std::string& path, const uint8_t* data, size_t size)
{
    const PathRecord r = PathOf(path);
    FileHandle file = kNoFile;
    Check(FileCreate(&r, kFileWrite, &file) == 0);
    Check(size == 0 || FileWrite(file, data, uint32_t(size)) == 0);
    FileClose(file);
}

inline FileHandle OpenExisting(const PathRecord& path, int16_t mode)
{
    FileHandle file = kNoFile;
    Check(FileOpen(&path, mode, &file) == 0);
    return file;
}

// A file of this process's own that goes away with its handle.
inline FileHandle Scratch(const char* name)
{
    PathRecord r{};
    const std::string path = "/tmp/tessaline-fuzz-" + std::string(name) + "-" + std::to_string(getpid());
    FileHandle f = kNoFile;
    Check(PathRecordFromPosix(path, &r) == 0 && FileCreate(&r, kFileReadWrite, &f) == 0 && FileClose(f) == 0 &&
          FileOpenDeleteOnClose(&r, kFileReadWrite, &f) == 0);
    return f;
}

// The scratch file holds exactly these bytes afterwards.
inline void Put(FileHandle f, const uint8_t* data, size_t n)
{
    Check(FileSetSize(f, 0) == 0 && FileSeek(f, kSeekStart, 0) == 0);
    if (n)
        Check(FileWrite(f, data, uint32_t(n)) == 0);
}
