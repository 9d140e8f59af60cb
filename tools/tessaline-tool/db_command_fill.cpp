// db fill FILE N [--seed S]: plausible contact records, the same for the
// same seed.

#include <charconv>
#include <cstdio>
#include <string>

#include "database/data_file.h"
#include "database/database_session.h"
#include "database/field_table.h"
#include "db_command.h"
#include "tools/stand_ins/sample_contacts.h"

int32_t FillSampleRecords(DataFile& data, int32_t count, uint64_t seed)
{
    DbChange batch(data);
    data.GatherAppendsInChange();
    SampleContacts contacts(seed);
    int32_t added = 0;
    for (int32_t i = 0; i < count; ++i) {
        CardRecord& r = data.Current();
        r.Clear();
        r.SetNew(false);
        const SampleContact c = contacts.Next();
        for (int32_t id = 0; id < kBodyFieldCount; ++id) {
            if (!c.fields[size_t(id)].empty())
                r.SetFieldText(id, c.fields[size_t(id)].c_str());
        }
        r.SetCategories(c.categories);
        r.SetModified(false);
        if (data.AddRecord(false, false) < 0) {
            // All the records or none.
            data.AbandonChange();
            return 0;
        }
        ++added;
    }
    return added;
}

int RunDbFill(const ToolArgs& args)
{
    if (args.size() != 2 && args.size() != 4)
        return ToolFail("usage: db fill FILE N [--seed S]");
    int32_t count = 0;
    uint64_t seed = 1;
    auto number = [](const std::string& s, auto& out) {
        auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
        return ec == std::errc() && ptr == s.data() + s.size();
    };
    if (!number(args[1], count) || count < 0)
        return ToolFail("db fill: N must be a count of records");
    if (args.size() == 4 && (args[2] != "--seed" || !number(args[3], seed)))
        return ToolFail("usage: db fill FILE N [--seed S]");
    PathRecord path;
    if (PathRecordFromPosix(args[0], &path) != 0)
        return ToolFail("db fill: bad file name " + args[0]);
    DatabaseSession db;
    if (!db.Open(path))
        return ToolFail("db fill: cannot open " + args[0]);
    int32_t added = FillSampleRecords(db.Data(), count, seed);
    if (!db.Data().LastChangeKept())
        added = 0;
    db.Close();
    if (added != count)
        return ToolFail("db fill: added " + std::to_string(added) + " of " + std::to_string(count) + " records");
    return 0;
}
