// Databases for the engine tests: made in a temporary folder, filled with
// records whose fields follow from their number.
#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "database/data_file.h"
#include "database/database_session.h"
#include "database/field_table.h"
#include "foundation/path_record.h"

inline PathRecord DbPath(const std::string& posix)
{
    PathRecord record{};
    PathRecordFromPosix(posix, &record);
    return record;
}

// Visits the file's records in the order its index holds them.
inline void ForEachHeldRecord(DataFile& data, const std::function<void(const CardRecord&)>& visit)
{
    IndexFile& index = data.Index();
    index.GoFirst();
    DbIndexEntry entry;
    while (index.GetNext(&entry) == 1) {
        CardRecord record;
        data.ReadRecordAt(entry.recordPosition, &record, 0);
        visit(record);
    }
}

// The fields of record n of a test database.
inline std::map<int32_t, std::string> SampleFields(int n)
{
    static const char* const kLast[] = {"Smith", "Jones", "M\xFCller", "Brown", "Zoller", "Adams", "Nguyen"};
    static const char* const kStates[] = {"CA", "NY", "TX", "WA"};
    char zip[16], street[64], first[32];
    std::snprintf(zip, sizeof zip, "%05d", 10000 + (n * 37) % 900);
    std::snprintf(street, sizeof street, "%d Main Street", 100 + n);
    std::snprintf(first, sizeof first, "First%04d", n);
    return {{kFieldFirstName, first},
            {kFieldLastName, kLast[n % 7]},
            {kFieldAddress1, street},
            {kFieldCity, "Springfield"},
            {kFieldState, kStates[n % 4]},
            {kFieldZipCode, zip},
            {kFieldCustom1, std::string(size_t(n % 40), 'x')}};
}

inline void FillCurrent(DataFile& data, const std::map<int32_t, std::string>& fields)
{
    data.Current().Clear();
    for (const auto& [id, text] : fields)
        data.Current().SetFieldText(id, text.c_str());
    data.Current().SetNew(false);
}

inline int32_t AddSample(DataFile& data, int n)
{
    FillCurrent(data, SampleFields(n));
    return data.AddRecord(false, true);
}

// A new database at path of live sample records and deleted ones left in
// place (not packed), closed; false when it could not be made.
inline bool MakeSampleDatabase(const PathRecord& path, int live, int deleted)
{
    DatabaseSession db;
    if (!db.Create(path))
        return false;
    {
        DbChange batch(db.Data());
        for (int n = 0; n < live + deleted; ++n)
            AddSample(db.Data(), n);
        for (int i = 0; i < deleted; ++i) {
            db.Data().GotoRecord(0, true, true);
            if (db.Data().DeleteRecord(true) != 1)
                return false;
        }
    }
    db.CloseUnchanged();
    return true;
}

inline std::string FieldOf(const CardRecord& record, int32_t id)
{
    char text[256];
    record.GetFieldText(id, text);
    return text;
}

// Every field of a record and its categories, as one text.
inline std::string RecordText(const CardRecord& r)
{
    std::string text;
    for (int32_t id = 0; id < kBodyFieldCount; ++id)
        text += FieldOf(r, id) + "|";
    return text + std::to_string(r.GetCategories());
}

// Every record of the selection in index order, as "First/Last" texts.
inline std::vector<std::string> IndexOrder(DataFile& data)
{
    std::vector<std::string> out;
    for (int32_t p = 0; p < data.GetLiveCount(); ++p) {
        if (data.GotoRecord(p, false, true) < 0)
            break;
        out.push_back(FieldOf(data.Current(), kFieldLastName) + "/" + FieldOf(data.Current(), kFieldFirstName));
    }
    return out;
}
