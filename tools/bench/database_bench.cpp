// Times the record engine beside SQLite on the same generated rows: 32000
// contacts of 24 text fields, each database made in a folder of its own.
// For each operation, the median of R runs of both and their ratio
// (Tessaline / SQLite; below 1 is faster):
//   - create: a new file, every row added in one change, closed;
//   - equality query on the indexed field (the last name, the engine's
//     default order; SQLite has an index on it): the matching rows, read;
//   - sort on two fields (city, last name): every row in that order;
//   - bulk-mail presort against ORDER BY zip, last name;
//   - Delete All Duplicate Records on 32000 rows that are 16000 rows twice
//     over (the pass and the selection built again, as the command does)
//     against a DELETE keeping the first row of each group of equal rows.
//
//   database_bench [--runs R] [--seed S] [--folder DIR] [--dump FILE]
//
// --dump writes every row the engine reads (all fields, one row a line, in
// the order read) to FILE, for comparing two builds' results with cmp.

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <time.h>

#include "database/data_file.h"
#include "database/database_session.h"
#include "database/field_table.h"
#include "database/record_file_format.h"
#include "foundation/byte_order.h"
#include "foundation/path_record.h"
#include "tools/stand_ins/sample_contacts.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRows = 32000;
constexpr int kFields = 24;
// The name the query looks for: one of the generator's, about 1 row in 50.
constexpr const char* kQueryName = "Williams";

using Row = std::vector<std::string>;  // kFields texts, by field id

// The sample contacts, every field filled: the fields a contact lacks, and
// those no contact has (the second phone, the picture, the notes, the
// delivery point), get texts of their own, so that every row is as wide
// as the engines can hold.
std::vector<Row> MakeRows(uint64_t seed)
{
    SampleContacts contacts(seed);
    std::vector<Row> rows;
    rows.reserve(kRows);
    char text[96];
    for (int i = 0; i < kRows; ++i) {
        const SampleContact c = contacts.Next();
        Row r(c.fields.begin(), c.fields.end());
        const uint32_t n = uint32_t(i) * 2654435761u;  // a spread of numbers, no draws taken from the contacts
        auto fill = [&](int id, const std::string& value) {
            if (r[size_t(id)].empty())
                r[size_t(id)] = value;
        };
        fill(kFieldTitle, "Engineer");
        fill(kFieldCompany, "Northwind Labs");
        std::snprintf(text, sizeof text, "Apt %u", 1 + n % 400);
        fill(kFieldAddress2, text);
        for (int id : {kFieldFax, kFieldPhone2}) {
            std::snprintf(text, sizeof text, "(%03u) %03u-%04u", 200 + (n >> 8) % 800, 200 + (n >> 4) % 800,
                          (n + unsigned(id)) % 10000);
            fill(id, text);
        }
        std::snprintf(text, sizeof text, "photo%05d.jpg", i);
        fill(kFieldPicture, text);
        for (int id = kFieldCustom1; id <= kFieldCustom6; ++id) {
            std::snprintf(text, sizeof text, "note %d of %u", id - kFieldCustom1 + 1, (n >> 3) % 100000);
            fill(id, text);
        }
        std::snprintf(text, sizeof text, "%02u", n % 100);
        fill(kFieldDeliveryPoint, text);
        rows.push_back(std::move(r));
    }
    return rows;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Wall time, and the process's CPU time (user and system) into *cpu: on a
// busy machine the CPU time swings less.
double Time(const std::function<bool()>& work, std::vector<double>* cpu)
{
    const double cpuStart = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (!work()) {
        std::fprintf(stderr, "database_bench: an operation failed\n");
        std::exit(1);
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu->push_back(CpuSeconds() - cpuStart);
    return wall;
}

PathRecord Path(const fs::path& file)
{
    PathRecord path{};
    PathRecordFromPosix(file.string(), &path);
    return path;
}

// --- the record engine ---

bool OursCreate(const fs::path& file, const std::vector<Row>& rows)
{
    DatabaseSession db;
    if (!db.Create(Path(file)))
        return false;
    {
        DbChange batch(db.Data());
        db.Data().GatherAppendsInChange();
        for (const Row& row : rows) {
            CardRecord& r = db.Data().Current();
            r.Clear();
            r.SetNew(false);
            for (int id = 0; id < kFields; ++id)
                if (!row[size_t(id)].empty())
                    r.SetFieldText(id, row[size_t(id)].c_str());
            r.SetModified(false);
            if (db.Data().AddRecord(false, false) < 0)
                return false;
        }
    }
    const bool ok = db.Data().GetLiveCount() == int32_t(rows.size());
    db.Close();
    return ok;
}

// Deletes the duplicates and builds the selection again; the rows left.
int32_t OursDeleteDuplicates(const fs::path& file)
{
    DatabaseSession db;
    if (!db.Open(Path(file)) || db.Data().DeleteDuplicateRecords() < 0 || db.Rebuild() < 0)
        return -1;
    const int32_t left = db.Data().GetLiveCount();
    db.Close();
    return left;
}

FILE* g_dump = nullptr;
bool g_queryFromIndex = false;

// Reads every selected row, in the selection's order, as a reader of the
// rows would; returns the count.
int32_t OursReadAll(DatabaseSession& db, size_t* bytes)
{
    DataFile& data = db.Data();
    const int32_t count = data.GetLiveCount();
    char text[256];
    if (g_dump)
        std::fprintf(g_dump, "-- %d rows: stored %d, deleted %d, new %d\n", count, data.GetStoredCount(),
                     data.GetDeletedCount(), data.GetNewCount());
    if (g_dump) {
        // The index itself: entries, their order and sequence numbers.
        DbIndexEntry entry;
        data.Index().GoFirst();
        while (data.Index().GetNext(&entry) == 1)
            std::fprintf(g_dump, "%s|%d|%u\n", entry.key, entry.recordPosition, entry.sequence);
    }
    for (int32_t position = 0; position < count; ++position) {
        if (data.GotoRecord(position, false, false) < 0)
            return -1;
        data.Current().GetFieldText(kFieldLastName, text);
        *bytes += std::strlen(text);
        for (int id = 0; g_dump && id < kFields; ++id) {
            data.Current().GetFieldText(id, text);
            std::fprintf(g_dump, id + 1 < kFields ? "%s|" : "%s\n", text);
        }
    }
    return count;
}

int32_t OursQuery(DatabaseSession& db, size_t* bytes)
{
    uint8_t* header = db.Header();
    PutU16LE(header + dbh::kActiveCriteria, 3);
    PutU16LE(header + dbh::kQueryField, kFieldLastName);
    header[dbh::kQueryOperator] = 0;  // starts with: the whole name
    std::memset(header + dbh::kQueryValue, 0, dbh::kQueryValueSize);
    std::strcpy(reinterpret_cast<char*>(header + dbh::kQueryValue), kQueryName);
    if (db.Rebuild() < 0)
        return -1;
    g_queryFromIndex = db.Data().SelectionFromIndex();
    const int32_t found = OursReadAll(db, bytes);
    PutU16LE(header + dbh::kActiveCriteria, 0);
    return found;
}

int32_t OursSort(DatabaseSession& db, const SortSpec& order, size_t* bytes)
{
    db.Data().SetSortSpec(order);
    if (db.Rebuild() < 0)
        return -1;
    return OursReadAll(db, bytes);
}

// --- SQLite ---

bool Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool SqliteCreate(const fs::path& file, const std::vector<Row>& rows)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK)
        return false;
    std::string columns, marks;
    for (int id = 0; id < kFields; ++id) {
        columns += (id ? ", f" : "f") + std::to_string(id) + " TEXT";
        marks += id ? ", ?" : "?";
    }
    bool ok = Exec(db, ("CREATE TABLE cards (" + columns + ")").c_str()) &&
              Exec(db, "CREATE INDEX cards_last ON cards (f3)") && Exec(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, ("INSERT INTO cards VALUES (" + marks + ")").c_str(), -1, &insert, nullptr) ==
                   SQLITE_OK;
    for (size_t i = 0; ok && i < rows.size(); ++i) {
        for (int id = 0; id < kFields; ++id)
            sqlite3_bind_text(insert, id + 1, rows[i][size_t(id)].c_str(), int(rows[i][size_t(id)].size()),
                              SQLITE_STATIC);
        ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_finalize(insert);
    ok = ok && Exec(db, "COMMIT");
    return sqlite3_close(db) == SQLITE_OK && ok;
}

int32_t SqliteDeleteDuplicates(const fs::path& file)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK)
        return -1;
    std::string columns;
    for (int id = 0; id < kFields; ++id)
        columns += (id ? ", f" : "f") + std::to_string(id);
    const std::string sql = "DELETE FROM cards WHERE rowid NOT IN (SELECT MIN(rowid) FROM cards GROUP BY " + columns + ")";
    int32_t left = -1;
    sqlite3_stmt* count = nullptr;
    if (Exec(db, sql.c_str()) && sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM cards", -1, &count, nullptr) == SQLITE_OK &&
        sqlite3_step(count) == SQLITE_ROW)
        left = sqlite3_column_int(count, 0);
    sqlite3_finalize(count);
    sqlite3_close(db);
    return left;
}

int32_t SqliteRows(sqlite3* db, const char* sql, const char* value, size_t* bytes)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        return -1;
    if (value)
        sqlite3_bind_text(statement, 1, value, -1, SQLITE_STATIC);
    int32_t count = 0;
    int step = 0;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        *bytes += size_t(sqlite3_column_bytes(statement, 0));
        ++count;
    }
    sqlite3_finalize(statement);
    return step == SQLITE_DONE ? count : -1;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 5;
    uint64_t seed = 1;
    fs::path folder;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--seed" && i + 1 < argc)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--folder" && i + 1 < argc)
            folder = argv[++i];
        else if (a == "--dump" && i + 1 < argc) {
            g_dump = std::fopen(argv[++i], "w");
            if (!g_dump)
                return 1;
        } else {
            std::fprintf(stderr, "usage: database_bench [--runs R] [--seed S] [--folder DIR] [--dump FILE]\n");
            return 1;
        }
    }
    bool made = false;
    if (folder.empty()) {
        char name[] = "/tmp/database_bench.XXXXXX";
        if (!mkdtemp(name))
            return 1;
        folder = name;
        made = true;
    }
    fs::create_directories(folder);
    const std::vector<Row> rows = MakeRows(seed);
    const fs::path ourFile = folder / "bench.dqx";
    const fs::path theirFile = folder / "bench.sqlite";
    std::vector<Row> twice(rows.begin(), rows.begin() + kRows / 2);
    twice.insert(twice.end(), rows.begin(), rows.begin() + kRows / 2);
    const fs::path ourTwice = folder / "twice.dqx";
    const fs::path theirTwice = folder / "twice.sqlite";

    struct Line {
        const char* what;
        int32_t oursRows = 0, theirRows = 0;
        std::vector<double> ours, theirs, oursCpu, theirsCpu;
    };
    Line create{"create (32000 rows, closed)", kRows, kRows};
    Line query{"equality query, indexed field"};
    Line sort{"sort on two fields"};
    Line presort{"bulk-mail presort / zip, name"};
    Line duplicates{"delete all duplicates"};
    size_t bytes = 0;

    for (int r = 0; r < runs; ++r) {
        for (const char* suffix : {"", ".idx"})
            fs::remove(fs::path(ourFile.string() + suffix));
        fs::remove(fs::path(ourFile).replace_extension(".idx"));
        fs::remove(theirFile);
        create.ours.push_back(Time([&] { return OursCreate(ourFile, rows); }, &create.oursCpu));
        create.theirs.push_back(Time([&] { return SqliteCreate(theirFile, rows); }, &create.theirsCpu));

        DatabaseSession ours;
        sqlite3* theirs = nullptr;
        if (!ours.Open(Path(ourFile)) || sqlite3_open(theirFile.c_str(), &theirs) != SQLITE_OK)
            return 1;
        query.ours.push_back(Time([&] { return (query.oursRows = OursQuery(ours, &bytes)) > 0; }, &query.oursCpu));
        query.theirs.push_back(Time([&] {
            return (query.theirRows = SqliteRows(theirs, "SELECT * FROM cards WHERE f3 = ?", kQueryName, &bytes)) > 0;
        }, &query.theirsCpu));
        SortSpec twoFields;
        twoFields.fields[0] = kFieldCity;
        twoFields.fields[1] = kFieldLastName;
        sort.ours.push_back(Time([&] { return (sort.oursRows = OursSort(ours, twoFields, &bytes)) > 0; }, &sort.oursCpu));
        sort.theirs.push_back(Time([&] {
            return (sort.theirRows = SqliteRows(theirs, "SELECT * FROM cards ORDER BY f8, f3", nullptr, &bytes)) > 0;
        }, &sort.theirsCpu));
        SortSpec bulk;
        bulk.bulkMail = 2;
        presort.ours.push_back(Time([&] { return (presort.oursRows = OursSort(ours, bulk, &bytes)) > 0; }, &presort.oursCpu));
        presort.theirs.push_back(Time([&] {
            return (presort.theirRows = SqliteRows(theirs, "SELECT * FROM cards ORDER BY f10, f3", nullptr, &bytes)) >
                   0;
        }, &presort.theirsCpu));
        // Back to the file's own order, so that every run starts alike.
        ours.Data().SetSortSpec(SortSpec{});
        ours.Rebuild();
        ours.Close();
        sqlite3_close(theirs);

        for (const char* suffix : {"", ".idx"})
            fs::remove(fs::path(ourTwice.string() + suffix));
        fs::remove(fs::path(ourTwice).replace_extension(".idx"));
        fs::remove(theirTwice);
        if (!OursCreate(ourTwice, twice) || !SqliteCreate(theirTwice, twice))
            return 1;
        duplicates.ours.push_back(Time([&] { return (duplicates.oursRows = OursDeleteDuplicates(ourTwice)) > 0; },
                                       &duplicates.oursCpu));
        duplicates.theirs.push_back(Time([&] {
            return (duplicates.theirRows = SqliteDeleteDuplicates(theirTwice)) > 0;
        }, &duplicates.theirsCpu));
    }

    std::printf("%d rows of %d text fields (seed %llu), median of %d runs; SQLite %s\n", kRows, kFields,
                static_cast<unsigned long long>(seed), runs, sqlite3_libversion());
    std::printf("  %-32s %12s %12s %8s %12s %12s %8s  %s\n", "operation", "Tessaline", "SQLite", "ratio", "CPU ours",
                "CPU SQLite", "ratio", "rows (ours/SQLite)");
    for (const Line* line : {&create, &query, &sort, &presort, &duplicates}) {
        const double a = Median(line->ours), b = Median(line->theirs);
        const double ca = Median(line->oursCpu), cb = Median(line->theirsCpu);
        std::printf("  %-32s %9.2f ms %9.2f ms %8.2f %9.2f ms %9.2f ms %8.2f  %d/%d\n", line->what, a * 1000, b * 1000,
                    a / b, ca * 1000, cb * 1000, ca / cb, line->oursRows, line->theirRows);
    }
    std::printf("  (the query was answered %s)\n",
                g_queryFromIndex ? "from the index" : "by a pass over every record");
    if (made)
        fs::remove_all(folder);
    if (g_dump)
        std::fclose(g_dump);
    return bytes == 0;
}
