#include "dbdoc/database_report.h"

#include <algorithm>

#include "database/db_document.h"
#include "database/progress_window.h"
#include "database/record_file_format.h"
#include "dbdoc/selection_file.h"
#include "dbdoc/selection_walk.h"
#include "foundation/byte_order.h"

namespace {

constexpr int32_t kStringPrinting = 270;
constexpr int32_t kStringTesting = 271;
constexpr int32_t kProgressShowAt = 100;

void AppendField(const CardRecord& record, int32_t column, std::string& out)
{
    const int32_t id = FieldIdByIndex(column);
    out.append(reinterpret_cast<const char*>(record.FieldBody(id)), record.GetFieldLength(id));
}

}  // namespace

ReportOptions LoadReportOptions(const uint8_t* header)
{
    ReportOptions options;
    for (int32_t i = 0; i < kEntryColumnCount; ++i)
        options.order[i] = GetI16LE(header + dbh::kReportOrder + 2 * uint32_t(i));
    return options;
}

void StoreReportOrder(const ReportOptions& options, uint8_t* header)
{
    for (int32_t i = 0; i < kEntryColumnCount; ++i)
        PutI16LE(header + dbh::kReportOrder + 2 * uint32_t(i), options.order[i]);
}

void ReportMeasures::Take(const CardRecord& record)
{
    for (int32_t column = 0; column < kEntryColumnCount; ++column)
        length[column] = std::max<int32_t>(length[column], record.GetFieldLength(FieldIdByIndex(column)));
}

int32_t ReportColumn(const ReportOptions& options, int32_t place)
{
    const int32_t column = options.order[place];
    return column >= 1 && column <= kEntryColumnCount ? column - 1 : -1;
}

void AppendTabularLine(const CardRecord& record, const ReportOptions& options, const ReportMeasures& measures,
                       std::string& out)
{
    for (int32_t place = 0; place < kEntryColumnCount; ++place) {
        const int32_t column = ReportColumn(options, place);
        if (column < 0)
            continue;
        const size_t start = out.size();
        AppendField(record, column, out);
        const size_t width = size_t(measures.length[column]) + 2;
        if (out.size() - start < width)
            out.append(width - (out.size() - start), ' ');
        out += '\t';
    }
    out += "\r\n";
}

void AppendRosterEntry(const CardRecord& record, const ReportOptions& options, const ReportMeasures& measures,
                       std::string& out)
{
    int64_t running = 0;
    for (int32_t place = 0; place < kEntryColumnCount; ++place) {
        const int32_t column = ReportColumn(options, place);
        if (column < 0)
            continue;
        if (running > 0 && running + measures.length[column] > options.maxLength) {
            out += "\r\n";
            running = 0;
        }
        AppendField(record, column, out);
        out += "  ";
        running += measures.length[column] + 2;
    }
    out += "\r\n\r\n";
}

bool MeasureSelection(DbDocument& document, ReportMeasures* measures)
{
    *measures = ReportMeasures{};
    DataFile& data = document.Data();
    DbProgressWindow progress(data.DatabaseName(), WorkingMessage(kStringTesting), data.GetLiveCount(),
                              kProgressShowAt, 1);
    SelectionWalk walk(data);
    CardRecord record;
    while (walk.Next(record)) {
        measures->Take(record);
        if (!progress.Step())
            break;
    }
    return !walk.failed();
}

int32_t ExportReport(DbDocument& document, const ReportOptions& options, const PathRecord& target,
                     ReportResult* result)
{
    *result = ReportResult{};
    ReportMeasures measures;
    SelectionFileJob job;
    job.emptyNote = 23;
    job.workingString = kStringPrinting;
    job.prepare = [&] { return MeasureSelection(document, &measures); };
    job.text = [&](const CardRecord& record, std::string& text) {
        if (options.kind == kReportRoster)
            AppendRosterEntry(record, options, measures, text);
        else
            AppendTabularLine(record, options, measures, text);
    };
    return WriteSelectionFile(document, target, job, &result->records, &result->aborted);
}
