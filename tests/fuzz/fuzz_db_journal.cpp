// Reads arbitrary bytes as the journal beside a record file and undoes the
// change it describes. Whatever the bytes, nothing crashes or hangs, a
// journal that is no journal of a change leaves the record file as it
// was, and the journal is gone afterwards.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "database/db_journal.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* base = std::getenv("TMPDIR");
    const std::string folder = std::string(base && *base ? base : "/tmp") + "/fuzz_db_journal_" +
                               std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(folder);
    const std::string records = folder + "cards.dqx";
    const size_t recordSize = 7000;
    {
        std::ofstream out(records, std::ios::binary | std::ios::trunc);
        out << std::string(recordSize, '\x70');
        std::ofstream journal(records + "-journal", std::ios::binary | std::ios::trunc);
        journal.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    PathRecord path{};
    if (PathRecordFromPosix(records, &path) != 0)
        std::abort();
    FileHandle file = kNoFile;
    if (FileOpen(&path, kFileReadWrite, &file) != 0)
        std::abort();
    bool undone = false;
    const int32_t err = DbJournal::Recover(file, path, &undone);
    uint32_t now = 0;
    FileGetSize(file, &now);
    FileClose(file);
    if (!undone && now != recordSize)
        std::abort();
    if (err == 0 && std::filesystem::exists(records + "-journal"))
        std::abort();
    return 0;
}
