// dbdoc: the database document's commands on the command line.
//   export DB OUT [--delimiter D] [--order LIST]    the records as delimited text
//   import DB TEXT [--delimiter D] [--match LIST]   one record per line of TEXT
//   report DB OUT [--roster] [--max N] [--order LIST]  the file report
//   merge DB SOURCE                                 appends the live records of SOURCE
//   split DB OUT [--query FIELD VALUE]              the selection into a new database
// LIST is a comma-separated list of column numbers (1-21, 0 or a negative
// number for none); without one every column is taken in its own order.
// D is the delimiter code 0-5; an import without it uses the guessed one.
// Export, report and split take the records whose FIELD (a field id)
// starts with VALUE when --query is given.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "database/db_document.h"
#include "database/field_table.h"
#include "database/record_file_format.h"
#include "dbdoc/database_merge.h"
#include "dbdoc/database_report.h"
#include "dbdoc/database_split.h"
#include "dbdoc/text_export.h"
#include "dbdoc/text_import.h"
#include "foundation/byte_order.h"
#include "terminal_text.h"
#include "tool_command.h"

namespace {

constexpr const char* kUsage =
    "usage: dbdoc export DB OUT [--delimiter D] [--order LIST] [--query FIELD VALUE] |\n"
    "             import DB TEXT [--delimiter D] [--match LIST] |\n"
    "             report DB OUT [--roster] [--max N] [--order LIST] [--query FIELD VALUE] |\n"
    "             merge DB SOURCE | split DB OUT [--query FIELD VALUE]";

struct Options {
    std::string db, file;
    int delimiter = -1;
    bool hasList = false;
    int16_t list[kEntryColumnCount] = {};
    bool roster = false;
    int32_t max = kDefaultReportLineLength;
    int32_t queryField = -1;
    std::string queryValue;
};

bool ParseInt(const std::string& text, long low, long high, long* out)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || value < low || value > high)
        return false;
    *out = value;
    return true;
}

bool ParseList(const std::string& text, int16_t* list)
{
    for (int32_t i = 0; i < kEntryColumnCount; ++i)
        list[i] = -1;
    size_t start = 0;
    for (int32_t i = 0; start <= text.size(); ++i) {
        const size_t comma = std::min(text.find(',', start), text.size());
        long value = 0;
        if (i >= kEntryColumnCount || !ParseInt(text.substr(start, comma - start), -1, kEntryColumnCount, &value))
            return false;
        list[i] = int16_t(value);
        start = comma + 1;
    }
    return true;
}

// DB FILE and the flags after them; false for anything else.
bool Parse(const ToolArgs& args, Options* o)
{
    if (args.size() < 3)
        return false;
    o->db = args[1];
    o->file = args[2];
    for (size_t i = 3; i < args.size(); ++i) {
        const std::string& flag = args[i];
        const bool hasValue = i + 1 < args.size();
        long value = 0;
        if (flag == "--roster") {
            o->roster = true;
        } else if (flag == "--delimiter" && hasValue && ParseInt(args[i + 1], 0, 5, &value)) {
            o->delimiter = int(value);
            ++i;
        } else if (flag == "--max" && hasValue && ParseInt(args[i + 1], 0, kMaxReportLineLength, &value)) {
            o->max = int32_t(value);
            ++i;
        } else if ((flag == "--order" || flag == "--match") && hasValue && ParseList(args[i + 1], o->list)) {
            o->hasList = true;
            ++i;
        } else if (flag == "--query" && i + 2 < args.size() && ParseInt(args[i + 1], 0, kBodyFieldCount - 1, &value)) {
            o->queryField = int32_t(value);
            o->queryValue = args[i + 2];
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

bool ToPath(const std::string& file, PathRecord* path)
{
    return !RefusedAsOption("dbdoc", file) && PathRecordFromPosix(file, path) == 0;
}

void ApplyQuery(DbDocument& document, const Options& o)
{
    if (o.queryField < 0)
        return;
    uint8_t* header = document.Header();
    PutU16LE(header + dbh::kQueryField, uint16_t(o.queryField));
    header[dbh::kQueryOperator] = 0;
    SetHeaderText(header, dbh::kQueryValue, dbh::kQueryValueSize, o.queryValue.c_str());
    PutU16LE(header + dbh::kActiveCriteria, 3);
    document.RebuildSelection();
}

// Every column in its own place.
void AllColumns(int16_t* order)
{
    for (int16_t i = 0; i < kEntryColumnCount; ++i)
        order[i] = int16_t(i + 1);
}

int RunExport(DbDocument& document, const Options& o, const PathRecord& out)
{
    ExportOptions options = LoadExportOptions(document.Header());
    if (o.hasList)
        std::copy(o.list, o.list + kEntryColumnCount, options.order);
    else
        AllColumns(options.order);
    if (o.delimiter >= 0)
        options.delimiter = int16_t(o.delimiter);
    StoreExportOptions(options, document.Header());
    TextExportResult result;
    if (ExportRecords(document, out, &result) != 1)
        return ToolFail("dbdoc export: nothing written");
    std::printf("%d records exported\n", result.records);
    if (result.replaced)
        std::printf("%d line ends inside fields written as spaces\n", result.replaced);
    if (result.ambiguous)
        std::printf("%d fields hold the delimiter and will not read back as one field\n", result.ambiguous);
    return 0;
}

int RunImport(DbDocument& document, const Options& o, const PathRecord& in)
{
    TextImport import;
    if (!import.Open(in))
        return ToolFail("dbdoc import: cannot read " + o.file);
    ImportOptions options;
    options.delimiter = o.delimiter >= 0 ? int16_t(o.delimiter) : import.GuessedDelimiter();
    for (int32_t i = 0; i < kEntryColumnCount; ++i)
        options.matching[i] = uint16_t(o.hasList ? std::max<int16_t>(o.list[i], 0) : i + 1);
    TextImportResult result;
    import.Run(document, options, &result);
    if (result.failed)
        return ToolFail("dbdoc import: nothing imported; the database is as it was");
    std::printf("%d records imported with delimiter %d\n", result.records, options.delimiter);
    if (const std::string note = ImportNoteText(result); !note.empty())
        std::printf("%s\n", TerminalText(note).c_str());
    return 0;
}

int RunReport(DbDocument& document, const Options& o, const PathRecord& out)
{
    ReportOptions options = LoadReportOptions(document.Header());
    if (o.hasList)
        std::copy(o.list, o.list + kEntryColumnCount, options.order);
    else
        AllColumns(options.order);
    options.kind = o.roster ? kReportRoster : kReportTabular;
    options.maxLength = o.max;
    StoreReportOrder(options, document.Header());
    ReportResult result;
    if (ExportReport(document, options, out, &result) != 1)
        return ToolFail("dbdoc report: nothing written");
    std::printf("%d records reported\n", result.records);
    return 0;
}

int RunDbDoc(const ToolArgs& args)
{
    Options o;
    if (args.empty() || !Parse(args, &o))
        return ToolFail(kUsage);
    PathRecord dbPath, filePath;
    if (!ToPath(o.db, &dbPath) || !ToPath(o.file, &filePath))
        return ToolFail("dbdoc: a path does not fit");
    const std::string& command = args[0];
    // Commands that only read the records never write to the database:
    // it may be read-only to this user, or on a full disk.
    const bool reads = command == "export" || command == "report" || command == "split";
    DbDocument document;
    if (!document.Open(dbPath, reads))
        return ToolFail("dbdoc: cannot open " + o.db);
    if (command == "import")
        return RunImport(document, o, filePath);
    if (command == "merge") {
        MergeResult result;
        MergeDatabase(document, filePath, &result);
        // Why it was refused has been said; it is no merge of 0 records.
        if (result.refused)
            return ToolFail("dbdoc merge: nothing merged from " + o.file + "; the database is as it was");
        if (result.failed)
            return ToolFail("dbdoc merge: nothing merged; the database is as it was");
        std::printf("%d records merged\n", result.appended);
        return 0;
    }
    // The query selects for this run only; the database keeps its own.
    uint8_t kept[dbh::kQueryValue + dbh::kQueryValueSize - dbh::kActiveCriteria];
    std::memcpy(kept, document.Header() + dbh::kActiveCriteria, sizeof kept);
    ApplyQuery(document, o);
    int status = -1;
    if (command == "export") {
        status = RunExport(document, o, filePath);
    } else if (command == "report") {
        status = RunReport(document, o, filePath);
    } else if (command == "split") {
        SplitResult result;
        if (SplitDatabase(document, filePath, &result) == 1) {
            std::printf("%d records split off\n", result.written);
            status = 0;
        } else {
            status = ToolFail("dbdoc split: nothing written");
        }
    }
    std::memcpy(document.Header() + dbh::kActiveCriteria, kept, sizeof kept);
    if (status >= 0)
        return status;
    return ToolFail(kUsage);
}

}  // namespace

TESSALINE_TOOL_COMMAND("dbdoc", "dbdoc export|import|report|merge|split DB FILE [options]", RunDbDoc);
