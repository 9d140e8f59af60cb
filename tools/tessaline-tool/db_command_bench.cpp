// db bench: times the engine's operations over a database of 32000
// generated records in a temporary folder, one line per operation.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include <QTemporaryDir>

#include "database/data_file.h"
#include "database/database_session.h"
#include "database/field_table.h"
#include "database/match_predicates.h"
#include "database/record_file_format.h"
#include "db_command.h"
#include "foundation/byte_order.h"

namespace {

constexpr int32_t kRecords = 32000;

class Stopwatch {
public:
    Stopwatch() : start_(std::chrono::steady_clock::now()) {}
    double Seconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_;
};

void Report(const char* operation, double seconds, int32_t records)
{
    std::printf("%-34s %9.3f ms %12.0f records/s\n", operation, seconds * 1000.0,
                seconds > 0 ? records / seconds : 0.0);
    std::fflush(stdout);
}

long ResidentKilobytes()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int RunDbBench(const ToolArgs& args)
{
    if (!args.empty())
        return ToolFail("usage: db bench");
    QTemporaryDir dir;
    if (!dir.isValid())
        return ToolFail("db bench: no temporary folder");
    PathRecord path;
    PathRecordFromPosix((dir.path() + "/bench.dqx").toStdString(), &path);

    auto db = std::make_unique<DatabaseSession>();
    {
        Stopwatch watch;
        if (!db->Create(path) || FillSampleRecords(db->Data(), kRecords, 7) != kRecords)
            return ToolFail("db bench: cannot create the database");
        Report("create with index", watch.Seconds(), kRecords);
    }
    {
        Stopwatch watch;
        db->Close();
        db = std::make_unique<DatabaseSession>();
        if (!db->Open(path) || db->Data().GetLiveCount() != kRecords)
            return ToolFail("db bench: cannot reopen the database");
        Report("close and reopen with rebuild", watch.Seconds(), kRecords);
    }
    uint8_t* header = db->Header();
    uint8_t* criteria = header + dbh::kActiveCriteria;
    int32_t selected = 0;
    {
        PutU16LE(criteria, 3);
        PutU16LE(header + dbh::kQueryField, kFieldCity);
        header[dbh::kQueryOperator] = 2;
        std::strcpy(reinterpret_cast<char*>(header + dbh::kQueryValue), "port");
        Stopwatch watch;
        db->Rebuild();
        selected = db->Data().GetLiveCount();
        Report("query over all records", watch.Seconds(), kRecords);
        PutU16LE(criteria, 0);
        db->Rebuild();
    }
    {
        // The last record in index order is the one found.
        db->Data().GotoRecord(kRecords - 1, false, true);
        char last[256];
        db->Data().Current().GetFieldText(kFieldEMail, last);
        PutU16LE(header + dbh::kQueryField, kFieldEMail);
        header[dbh::kQueryOperator] = 0;
        std::strcpy(reinterpret_cast<char*>(header + dbh::kQueryValue), last);
        db->Data().GotoRecord(0, false, true);
        Stopwatch watch;
        const int32_t found = db->Data().FindRecords(kFindFromFirst, kFindQuery, criteria);
        Report("find (query, from the first)", watch.Seconds(), found + 1);
        if (found < 0)
            return ToolFail("db bench: the find found nothing");
    }
    {
        SortSpec order;
        order.fields[0] = kFieldCity;
        order.fields[1] = kFieldLastName;
        order.fields[2] = kFieldFirstName;
        db->Data().SetSortSpec(order);
        Stopwatch watch;
        db->Rebuild();
        Report("sort by City, LastName, FirstName", watch.Seconds(), kRecords);
    }
    {
        SortSpec order;
        order.bulkMail = 2;
        db->Data().SetSortSpec(order);
        Stopwatch watch;
        db->Rebuild();
        Report("bulk-mail presort (Standard)", watch.Seconds(), kRecords);
        db->Data().SetSortSpec(SortSpec{});
        db->Rebuild();
    }
    {
        DataFile& data = db->Data();
        int32_t deleted = 0;
        for (int32_t position = 0; position < data.GetLiveCount() && deleted < kRecords / 10; position += 9) {
            if (data.GotoRecord(position, true, true) < 0 || data.DeleteRecord(true) != 1)
                return ToolFail("db bench: cannot delete");
            ++deleted;
        }
        Stopwatch watch;
        db->Close();
        Report("pack after deleting 10%", watch.Seconds(), kRecords);
    }
    std::printf("query selected %d records; peak resident %.1f MB\n", selected, ResidentKilobytes() / 1024.0);
    return 0;
}
