// Reads arbitrary bytes as records: a record buffer takes only sound ones
// and edits them within bounds; a record area made of the bytes is walked,
// verified and repaired without a crash, and a repaired file verifies.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "database/card_record.h"
#include "database/database_header.h"
#include "database/field_table.h"
#include "database/record_file_format.h"
#include "database/record_key.h"
#include "database/record_layout.h"
#include "database/repair.h"
#include "database/verify.h"
#include "foundation/file_io.h"
#include "fuzz_support.h"

namespace {

std::string Folder() { return FuzzRunFolder("fuzz-db-record"); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilenceAlerts();
    if (size > 64 * 1024)
        return 0;

    uint8_t head[dbrec::kMaxRecordSize] = {};
    std::memcpy(head, data, size < sizeof head ? size : sizeof head);
    const uint32_t length = SoundRecordLength(head);
    CardRecord record;
    if (record.LoadImage(head, length)) {
        if (record.GetLength() != length)
            std::abort();
        char text[256];
        for (int32_t id = 0; id < kBodyFieldCount; ++id)
            record.GetFieldText(id, text);
        SortSpec order;
        order.fields[1] = kFieldCustom1;
        char key[kIndexKeySize];
        BuildIndexKey(record, order, key);
        for (int32_t id = 0; id < kBodyFieldCount; ++id)
            record.SetFieldText(id, std::string(300, 'x').c_str());
        if (record.GetLength() > dbrec::kMaxRecordSize)
            std::abort();
    }

    // The bytes as the record area of a database file.
    const std::string path = Folder() + "/r.dqx";
    std::vector<uint8_t> file(kDbDataStart, 0);
    SetDefaultPreferences(file.data());
    InitDatabaseHeader(file.data());
    file.insert(file.end(), data, data + size);
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(file.data(), 1, file.size(), f);
        std::fclose(f);
    }
    PathRecord record_path;
    FileHandle handle = kNoFile;
    if (PathRecordFromPosix(path, &record_path) == 0 && FileOpen(&record_path, kFileReadWrite, &handle) == 0) {
        VerifyReport report;
        VerifyDataFile(handle, kDbDataStart, &report);
        // A repaired file verifies, and keeps no record cut short at its end.
        if (RepairDataFile(&handle, &record_path, kDbDataStart, 0) == 0 &&
            (!VerifyDataFile(handle, kDbDataStart, &report) || report.unfinished != 0))
            std::abort();
        FileClose(handle);
    }
    std::remove(path.c_str());
    std::remove((path + "~").c_str());
    return 0;
}
