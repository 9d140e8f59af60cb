// Opens a file made of arbitrary bytes as a database that may come from
// the Macintosh program: it is refused, taken as it is, or converted into a
// copy that then opens as a database; never a crash, never a write to the
// file itself.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "database/database_session.h"
#include "database/mac_database.h"
#include "foundation/path_record.h"
#include "fuzz_support.h"

namespace {

std::string Folder() { return FuzzRunFolder("fuzz-mac-database"); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilenceAlerts();

    const std::string path = Folder() + "/m.dqx";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    PathRecord record;
    if (PathRecordFromPosix(path, &record) == 0 && CheckMacintoshDatabase(&record) == 0) {
        DatabaseSession db;
        if (db.Open(record))
            db.Close();
    }
    for (const char* name : {"/m.dqx", "/m.idx", "/m copy.dqx", "/m copy.idx", "/m.dqx~", "/m copy.dqx~"})
        std::remove((Folder() + name).c_str());
    return 0;
}
