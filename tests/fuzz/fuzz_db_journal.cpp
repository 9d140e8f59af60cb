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
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string folder = ProcessTempPath("fuzz_db_journal_") + "/";
    std::filesystem::create_directories(folder);
    const std::string records = folder + "cards.dqx";
    const size_t recordSize = 7000;
    {
        std::ofstream out(records, std::ios::binary | std::ios::trunc);
        out << std::string(recordSize, '\x70');
    }
    WriteWholeFile(records + "-journal", data, size);
    const PathRecord path = PathOf(records);
    FileHandle file = OpenExisting(path, kFileReadWrite);
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
