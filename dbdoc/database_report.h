// Reports: listings of the current selection, one record per line in
// columns (tabular) or as blocks of fields wrapped at a line length
// (roster). The file report is written here; the printed report lays out
// the same measures on pages (report_print.h).
#pragma once

#include <cstdint>
#include <string>

#include "database/card_record.h"
#include "database/field_table.h"
#include "foundation/path_record.h"

class DbDocument;

enum : int32_t {
    kReportTabular = 0,
    kReportRoster = 1,
};
constexpr int32_t kDefaultReportLineLength = 100;
constexpr int32_t kMaxReportLineLength = 32000;

// What the Report dialog edits. The order is the header's report order
// (entry i is the 1-based column reported in place i; entries outside
// 1..21 leave place i out); kind and line length start afresh each time.
struct ReportOptions {
    int16_t order[kEntryColumnCount] = {};
    int32_t kind = kReportTabular;
    int32_t maxLength = kDefaultReportLineLength;
};
ReportOptions LoadReportOptions(const uint8_t* header);
void StoreReportOrder(const ReportOptions& options, uint8_t* header);

// The greatest stored length of each column over the records measured.
struct ReportMeasures {
    int32_t length[kEntryColumnCount] = {};
    void Take(const CardRecord& record);
};

// The column a place reports (0-based), or -1 when the place is left out.
int32_t ReportColumn(const ReportOptions& options, int32_t place);

// One record's tabular line, or its roster entry with the blank line after
// it, CR LF included, appended to out.
void AppendTabularLine(const CardRecord& record, const ReportOptions& options, const ReportMeasures& measures,
                       std::string& out);
void AppendRosterEntry(const CardRecord& record, const ReportOptions& options, const ReportMeasures& measures,
                       std::string& out);

// The measuring pass over the selection ("Testing..."). False when a
// record could not be read (the engine has said so); stopped by the user,
// it keeps what it measured.
bool MeasureSelection(DbDocument& document, ReportMeasures* measures);

struct ReportResult {
    int32_t records = 0;
    bool aborted = false;
};

// The file report of the selection to target, after the document committed
// its edits. The file is written beside target and replaces it when whole,
// so a file error leaves target as it was; when the user stops the report,
// what was written makes the file. 1 when a file was written; 0 without
// live records (database message 23) or when target is an open database
// (database message 14); -1 after a file error.
int32_t ExportReport(DbDocument& document, const ReportOptions& options, const PathRecord& target,
                     ReportResult* result);
