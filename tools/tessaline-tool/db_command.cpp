// db: the card database engine on the command line.
//   new FILE                 a new, empty database
//   fill FILE N [--seed S]   adds N generated contact records
//   dump FILE                every live record in index order, tab-separated
//   verify FILE              checks the header and every record
//   repair FILE              repairs a damaged record file
//   query FILE FIELD OP VALUE  the records the query selects
//   presort FILE [--standard]  the records in bulk-mail presort order
//   bench                    the engine's benchmark

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <QString>

#include "database/data_file.h"
#include "database/database_header.h"
#include "database/database_session.h"
#include "database/db_journal.h"
#include "database/field_table.h"
#include "database/index_file.h"
#include "database/index_mark.h"
#include "database/match_predicates.h"
#include "database/record_file_format.h"
#include "database/repair.h"
#include "database/verify.h"
#include "db_command.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "foundation/cstr.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"
#include "terminal_text.h"

namespace {

constexpr const char* kUsage =
    "usage: db new FILE | fill FILE N [--seed S] | dump FILE | verify FILE | repair FILE |\n"
    "          query FILE FIELD OP VALUE | presort FILE [--standard] | bench";

const char* const kOperators[] = {"starts",  "ends",   "contains", "notcontains", "greater", "less",
                                  "leneq",   "lenne",  "lengt",    "lenlt",       "blank",   "notblank"};

bool ToPath(const std::string& file, PathRecord* path)
{
    if (RefusedAsOption("db", file))
        return false;
    const int32_t err = PathRecordFromPosix(file, path);
    if (err != 0)
        ToolFail(file + ": " + FileErrorWords(err));
    return err == 0;
}

// Field texts are written in the locale's character set, a record a line.
void PutText(std::string& line, const char* text) { line += TerminalLine(text); }

void PrintHeaderLine(const char* first)
{
    std::string line = first ? std::string(first) + "\t" : std::string();
    for (int32_t id = 0; id < kFieldCount; ++id) {
        char name[kFieldTypeNameSize];
        FieldTypeName(id, name, true, false);
        line += name;
        line += id + 1 < kFieldCount ? "\t" : "\n";
    }
    std::fputs(line.c_str(), stdout);
}

void PrintRecord(const CardRecord& record, const char* first)
{
    std::string line = first ? std::string(first) + "\t" : std::string();
    for (int32_t id = 0; id < kBodyFieldCount; ++id) {
        char text[256];
        record.GetFieldText(id, text);
        PutText(line, text);
        line += "\t";
    }
    line += std::to_string(record.GetCategories()) + "\n";
    std::fputs(line.c_str(), stdout);
}

// Prints the selection in index order; first, when given, names a first
// column filled from each entry's key.
int PrintSelection(DataFile& data, const char* first)
{
    PrintHeaderLine(first);
    IndexFile& index = data.Index();
    index.GoFirst();
    DbIndexEntry entry;
    int32_t printed = 0;
    while (index.GetNext(&entry) == 1) {
        CardRecord record;
        data.ReadRecordAt(entry.recordPosition, &record, 0);
        if (record.IsReadFailed())
            return ToolFail("db: a record could not be read");
        const std::string tier(1, entry.key[0]);
        PrintRecord(record, first ? tier.c_str() : nullptr);
        ++printed;
    }
    return std::fflush(stdout) == 0 ? 0 : ToolFail("db: cannot write the output");
}

// Selects every record with the given criteria block and sort order
// without changing what the file keeps.
bool SelectAll(DatabaseSession& db, const uint8_t* criteria)
{
    uint8_t flags[dbh::kCategoryFlagCount] = {1};
    return db.Data().BuildSelection(flags, criteria) == 1;
}

int RunNew(const ToolArgs& args)
{
    PathRecord path;
    if (args.size() != 1 || !ToPath(args[0], &path))
        return ToolFail("usage: db new FILE");
    if (FileExists(&path, 0))
        return ToolFail("db new: " + args[0] + " exists");
    DatabaseSession db;
    if (!db.Create(path))
        return ToolFail("db new: cannot create " + args[0]);
    // The header the create wrote is the whole database: nothing more is
    // written (on a nearly full disk there may be no room for it).
    db.CloseUnchanged();
    return 0;
}

int RunDump(const ToolArgs& args)
{
    PathRecord path;
    if (args.size() != 1 || !ToPath(args[0], &path))
        return ToolFail("usage: db dump FILE");
    DatabaseSession db;
    if (!db.Open(path, false, true))
        return ToolFail("db dump: cannot open " + args[0]);
    uint8_t criteria[kDbHeaderSize - kCriteriaBase] = {};
    if (!SelectAll(db, criteria)) {
        db.CloseUnchanged();
        return ToolFail("db dump: cannot read " + args[0]);
    }
    const int status = db.Data().DataMark() ? ToolFail("db dump: the database is damaged") : PrintSelection(db.Data(), nullptr);
    db.CloseUnchanged();
    return status;
}

// Why the index kept beside the record file at path does not belong to
// its records, or empty (also when there is none, or it was left unclean:
// the next open builds either anew in any case).
std::string StaleIndex(const PathRecord& path, const uint8_t* header, FileHandle records)
{
    PathRecord index = path;
    StrCopyN(index.extension, ".idx", sizeof index.extension);
    IndexSurvey survey;
    if (!FileExists(&index, 0) || !IndexFile::Survey(&index, &survey) || !survey.clean)
        return std::string();
    return IndexMismatch(header, survey.entries, survey.contentCheck, records, kDbDataStart);
}

int RunVerify(const ToolArgs& args)
{
    PathRecord path;
    if (args.size() != 1 || !ToPath(args[0], &path))
        return ToolFail("usage: db verify FILE");
    FileHandle file = kNoFile;
    // A file another open holds is used by another program, as every
    // command says.
    if (const int32_t err = FileOpen(&path, kFileRead, &file); err != 0) {
        AlertFileErrorAbout(args[0].c_str(), err);
        return ToolFail("db verify: cannot open " + args[0]);
    }
    uint8_t header[kDbHeaderSize] = {};
    uint32_t size = 0;
    FileGetSize(file, &size);
    if (size < kDbDataStart || FileRead(file, header, kDbHeaderSize) != 0) {
        FileClose(file);
        return ToolFail("db verify: " + args[0] + " is too short for a database");
    }
    const bool damagedMark = GetU32LE(header + dbh::kDataMark) != 0;
    PutU32LE(header + dbh::kDataMark, 0);
    if (CheckDatabaseHeader(header, args[0].c_str()) != 0) {
        FileClose(file);
        return 1;
    }
    VerifyReport report;
    const bool sound = VerifyDataFile(file, kDbDataStart, &report);
    const std::string staleIndex = sound ? StaleIndex(path, header, file) : std::string();
    const DbJournal::State journal = DbJournal::Inspect(path, file);
    FileClose(file);
    // Counts and records of a change halfway through say nothing of the
    // database the next open finds: that open takes the change back.
    const std::string standing = std::to_string(report.records) + " records stand in the file now";
    switch (journal) {
    case DbJournal::State::None: break;
    case DbJournal::State::Pending:
        return ToolFail("db verify: a change did not finish (" + standing + "); the next open undoes it");
    case DbJournal::State::Unreadable:
        return ToolFail("db verify: a change did not finish (" + standing + "), and its journal " + args[0] +
                        "-journal cannot be read: the next open refuses the database, and db repair keeps the "
                        "records as they stand");
    case DbJournal::State::NotItsOwn:
        return ToolFail("db verify: the journal " + args[0] + "-journal was not made for " + args[0] +
                        " as it stands (another database's, or older than its records; " + standing +
                        "): the next open refuses the database and never plays it back, and db repair removes "
                        "it and keeps the records as they stand");
    }
    if (!sound) {
        if (report.ioError)
            return ToolFail("db verify: read error [" + std::to_string(report.ioError) + "]");
        return ToolFail("db verify: no sound record at offset " + std::to_string(report.badOffset) + " after " +
                        std::to_string(report.records) + " records");
    }
    if (damagedMark)
        return ToolFail("db verify: the database is marked damaged");
    if (HeaderCountsMissingRecords(header, report))
        return ToolFail("db verify: the header counts " + std::to_string(GetI32LE(header + dbh::kStoredCount)) +
                        " records, the file holds " + std::to_string(report.records) + ": the database is damaged");
    if (const std::string& why = staleIndex; !why.empty())
        return ToolFail("db verify: the index beside " + args[0] + " does not belong to its records (" + why +
                        "); the next open builds it anew, and db repair removes it now");
    std::printf("%d records, %d deleted, %d new: sound\n", report.records, report.deleted, report.fresh);
    if (report.unfinished)
        std::printf("%u bytes of a record whose write never finished end the file; the next open cuts them "
                    "off\n",
                    report.unfinished);
    return 0;
}

// True when the open record file needs no repair: a sound header without
// the damage mark, every record sound, nothing cut short at its end, and
// every record the header counts still there (what verify calls damage, all
// of it). Only read, so that a sound database on a full disk is left alone.
bool IsSoundAsItStands(FileHandle file, const PathRecord& path)
{
    uint8_t header[kDbHeaderSize] = {};
    uint32_t size = 0;
    VerifyReport report;
    return FileGetSize(file, &size) == 0 && size >= kDbDataStart && FileSeek(file, kSeekStart, 0) == 0 &&
           FileRead(file, header, kDbHeaderSize) == 0 && GetU32LE(header + dbh::kDataMark) == 0 &&
           GetU32LE(header + dbh::kCode1) == kDbCode1 && GetU32LE(header + dbh::kCode2) == kDbCode2 &&
           GetU32LE(header + dbh::kVersion) == kDbVersion && VerifyDataFile(file, kDbDataStart, &report) &&
           report.unfinished == 0 && !HeaderCountsMissingRecords(header, report) &&
           StaleIndex(path, header, file).empty();
}

int RunRepair(const ToolArgs& args)
{
    PathRecord path;
    if (args.size() != 1 || !ToPath(args[0], &path))
        return ToolFail("usage: db repair FILE");
    // A change whose journal cannot be read cannot be undone, and one made
    // for another file must not be: the records are taken as they stand,
    // and the journal goes.
    if (const DbJournal::State journal = DbJournal::Inspect(path);
        journal == DbJournal::State::Unreadable || journal == DbJournal::State::NotItsOwn) {
        if (const int32_t err = DbJournal::Discard(path); err != 0) {
            AlertFileErrorAbout((args[0] + "-journal").c_str(), err);
            return ToolFail("db repair: cannot remove " + args[0] + "-journal");
        }
        if (journal == DbJournal::State::Unreadable)
            std::printf("%s-journal: the journal of a change that did not finish cannot be read; it was removed "
                        "and the records are kept as they stand\n",
                        args[0].c_str());
        else
            std::printf("%s-journal: the journal was not made for this database as it stands (another "
                        "database's, or older than its records); it was removed without being played back, and "
                        "the records are kept as they stand\n",
                        args[0].c_str());
    }
    DataFile data;
    // Opened to be changed, so that a database the user may not change is
    // refused as such, sound or not; a change left unfinished is undone.
    if (data.Open(&path, kDbAccessReadWrite, kIndexModeNone) < 0)
        return ToolFail("db repair: cannot open " + args[0]);
    if (IsSoundAsItStands(data.Handle(), path)) {
        data.Close(false, false);
        std::printf("%s is sound; nothing to repair\n", args[0].c_str());
        return 0;
    }
    // The old index goes: the repair changes the offsets it holds, and the
    // next open builds a new one (the room it took may be all the repair
    // has on a full disk).
    PathRecord index = path;
    StrCopyN(index.extension, ".idx", sizeof index.extension);
    FileExists(&index, 1);
    uint8_t header[kDbHeaderSize] = {};
    SetDefaultPreferences(header);
    if (ReadDatabaseHeader(data.Handle(), header, false, args[0].c_str()) < 0) {
        data.Close(true, false);
        return 1;
    }
    PutU32LE(header + dbh::kDataMark, 0);
    if (CheckDatabaseHeader(header, args[0].c_str()) != 0) {
        data.Close(true, false);
        return 1;
    }
    data.ExchangeHeaderCounts(true, header);
    if (data.RepairFile() != 0) {
        data.Close(true, false);
        return ToolFail("db repair: the repair failed; the file is unchanged");
    }
    PutU32LE(header + dbh::kIndexMark, 0);
    PutU16LE(header + dbh::kActiveCriteria, 0);
    header[dbh::kCategoryFlags] = 1;
    // The header counts what the repaired file holds: a file cut short
    // holds fewer records than it used to.
    VerifyReport report;
    VerifyDataFile(data.Handle(), kDbDataStart, &report);
    PutI32LE(header + dbh::kStoredCount, report.records);
    PutI32LE(header + dbh::kLiveCount, report.records - report.deleted);
    PutI32LE(header + dbh::kDeletedCount, report.deleted);
    PutI32LE(header + dbh::kNewCount, report.fresh);
    const bool written = WriteDatabaseHeader(data.Handle(), header, false) > 0 && FileSync(data.Handle()) == 0;
    data.Close(true, false);
    return written ? 0 : ToolFail("db repair: cannot write the header");
}

int32_t FieldByName(const std::string& name)
{
    for (int32_t id = 0; id < kBodyFieldCount; ++id) {
        char text[kFieldTypeNameSize];
        FieldTypeName(id, text, true, false);
        if (!strcasecmp(text, name.c_str()))
            return id;
    }
    char* end = nullptr;
    const long id = std::strtol(name.c_str(), &end, 10);
    return *end == 0 && !name.empty() && id >= 0 && id < kBodyFieldCount ? int32_t(id) : -1;
}

int32_t OperatorByName(const std::string& name)
{
    for (int32_t op = 0; op < 12; ++op) {
        if (name == kOperators[op] || name == std::to_string(op))
            return op;
    }
    return -1;
}

int RunQuery(const ToolArgs& args)
{
    PathRecord path;
    if (args.size() != 4 || !ToPath(args[0], &path))
        return ToolFail("usage: db query FILE FIELD OP VALUE (OP: 0-11 or starts, ends, contains, notcontains, "
                        "greater, less, leneq, lenne, lengt, lenlt, blank, notblank)");
    const int32_t field = FieldByName(args[1]);
    const int32_t op = OperatorByName(args[2]);
    if (field < 0)
        return ToolFail("db query: unknown field " + args[1]);
    if (op < 0)
        return ToolFail("db query: unknown operator " + args[2]);
    if (args[3].size() >= dbh::kQueryValueSize)
        return ToolFail("db query: the value is longer than 63 characters");
    uint8_t criteria[kDbHeaderSize - kCriteriaBase] = {};
    PutU16LE(criteria, 3);
    PutU16LE(criteria + (dbh::kQueryField - kCriteriaBase), uint16_t(field));
    criteria[dbh::kQueryOperator - kCriteriaBase] = uint8_t(op);
    std::memcpy(criteria + (dbh::kQueryValue - kCriteriaBase), args[3].c_str(), args[3].size() + 1);
    DatabaseSession db;
    if (!db.Open(path, false, true))
        return ToolFail("db query: cannot open " + args[0]);
    const int status = SelectAll(db, criteria) && !db.Data().DataMark() ? PrintSelection(db.Data(), nullptr)
                                                                        : ToolFail("db query: cannot read " + args[0]);
    db.CloseUnchanged();
    return status;
}

int RunPresort(const ToolArgs& args)
{
    PathRecord path;
    const bool standard = args.size() == 2 && args[1] == "--standard";
    if ((args.size() != 1 && !standard) || !ToPath(args[0], &path))
        return ToolFail("usage: db presort FILE [--standard]");
    DatabaseSession db;
    if (!db.Open(path, false, true))
        return ToolFail("db presort: cannot open " + args[0]);
    SortSpec order = db.Data().GetSortSpec();
    order.bulkMail = standard ? 2 : 1;
    db.Data().SetSortSpec(order);
    uint8_t criteria[kDbHeaderSize - kCriteriaBase] = {};
    int status = 1;
    if (SelectAll(db, criteria) && !db.Data().DataMark())
        status = db.Data().GetLiveCount() > 0 ? PrintSelection(db.Data(), "Tier") : 1;
    else
        ToolFail("db presort: cannot read " + args[0]);
    db.CloseUnchanged();
    return status;
}

}  // namespace

int RunDb(const ToolArgs& args)
{
    if (args.empty())
        return ToolFail(kUsage);
    const std::string command = args[0];
    const ToolArgs rest(args.begin() + 1, args.end());
    if (command == "new")
        return RunNew(rest);
    if (command == "fill")
        return RunDbFill(rest);
    if (command == "dump")
        return RunDump(rest);
    if (command == "verify")
        return RunVerify(rest);
    if (command == "repair")
        return RunRepair(rest);
    if (command == "query")
        return RunQuery(rest);
    if (command == "presort")
        return RunPresort(rest);
    if (command == "bench")
        return RunDbBench(rest);
    return ToolFail(std::string("db: unknown command ") + command + "\n" + kUsage);
}

TESSALINE_TOOL_COMMAND("db",
                       "db new FILE | fill FILE N [--seed S] | dump FILE | verify FILE | repair FILE |\n"
                       "     query FILE FIELD OP VALUE | presort FILE [--standard] | bench",
                       RunDb);
