// What the fuzz targets share: a sink that answers every message, a folder
// of the run's own for the files they open, and scratch files that go away
// with their handle.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/alert_sink.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"

class SilentSink final : public AlertSink {
public:
    int32_t MessageBox(const std::string&, const std::string&, uint32_t) override { return kIdOk; }
    void Beep(uint32_t) override {}
};

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
