// Reads arbitrary bytes as a database header, and opens a file made of
// them as a database: every header is refused, repaired or opened, never
// a crash.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "database/card_record.h"
#include "database/database_header.h"
#include "database/database_session.h"
#include "database/field_table.h"
#include "database/match_predicates.h"
#include "database/record_file_format.h"
#include "fuzz_support.h"

namespace {

std::string Folder() { return FuzzRunFolder("fuzz-db-header"); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilenceAlerts();

    uint8_t header[kDbHeaderSize] = {};
    std::memcpy(header, data, size < kDbHeaderSize ? size : kDbHeaderSize);
    CheckDatabaseHeader(header);
    const SortSpec order = LoadSortSpec(header + dbh::kSortSpec);
    for (int i = 0; i < 3; ++i)
        FieldMaxLength(order.FieldAt(i));
    char text[256];
    HeaderText(header, dbh::kKeyText, dbh::kKeyTextSize, text);
    SetCustomFieldNames(header + dbh::kCustomNames);
    char name[kFieldTypeNameSize];
    FieldTypeName(kFieldCustom1, name, true, true);

    CardRecord record;
    record.SetFieldText(kFieldLastName, "M\xFCller");
    record.SetFieldText(kFieldZipCode, "12345-6789");
    CriteriaMatch(record, header + kCriteriaBase);
    FindOneMatch(record, header + kCriteriaBase, false);
    SearchAllMatch(record, header + kCriteriaBase, false);
    QueryMatch(record, header + kCriteriaBase);
    CategoryFilterMode(header + dbh::kCategoryFlags);

    const std::string path = Folder() + "/h.dqx";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
        PathRecord record;
        if (PathRecordFromPosix(path, &record) == 0) {
            DatabaseSession db;
            if (db.Open(record))
                db.Close();
        }
    }
    std::remove(path.c_str());
    std::remove((Folder() + "/h.idx").c_str());
    std::remove((path + "~").c_str());
    ResetCustomFieldNames();
    return 0;
}
