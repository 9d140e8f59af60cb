#include "dbdoc/text_export.h"

#include <cstring>

#include "database/db_document.h"
#include "database/field_table.h"
#include "database/record_file_format.h"
#include "dbdoc/selection_file.h"
#include "foundation/byte_order.h"

namespace {

constexpr char kSeparators[] = " ,\t:;,";
constexpr int32_t kStringExporting = 268;

}  // namespace

int16_t ValidDelimiter(int16_t code)
{
    return code >= kDelimiterSpace && code <= kDelimiterQuotedComma ? code : int16_t(kDelimiterSpace);
}

ExportOptions LoadExportOptions(const uint8_t* header)
{
    ExportOptions options;
    for (int32_t i = 0; i < kEntryColumnCount; ++i)
        options.order[i] = GetI16LE(header + dbh::kExportOrder + 2 * uint32_t(i));
    options.delimiter = GetI16LE(header + dbh::kDelimiter);
    return options;
}

void StoreExportOptions(const ExportOptions& options, uint8_t* header)
{
    for (int32_t i = 0; i < kEntryColumnCount; ++i)
        PutI16LE(header + dbh::kExportOrder + 2 * uint32_t(i), options.order[i]);
    PutI16LE(header + dbh::kDelimiter, ValidDelimiter(options.delimiter));
}

char DelimiterChar(int16_t code) { return kSeparators[ValidDelimiter(code)]; }

void AppendExportLine(const CardRecord& record, const int16_t* order, int16_t delimiter, std::string& line,
                      TextExportResult* counts)
{
    delimiter = ValidDelimiter(delimiter);
    const char separator = DelimiterChar(delimiter);
    const bool quoted = delimiter == kDelimiterQuotedComma;
    bool first = true;
    for (int32_t place = 0; place < kEntryColumnCount; ++place) {
        const int32_t column = order[place];
        if (column < 1 || column > kEntryColumnCount)
            continue;
        if (!first)
            line += separator;
        first = false;
        const int32_t id = FieldIdByIndex(column - 1);
        const uint8_t* body = record.FieldBody(id);
        const uint32_t length = record.GetFieldLength(id);
        bool holdsSeparator = false;
        if (quoted)
            line += '"';
        for (uint32_t i = 0; i < length; ++i) {
            const char c = char(body[i]);
            if (c == '\r' || c == '\n' || c == '\0') {
                line += ' ';
                ++counts->replaced;
            } else if (quoted && c == '"') {
                // Doubled, as the quoted reader takes one back from two.
                line += "\"\"";
            } else {
                // A quotation mark that opens a field quotes it on reading.
                holdsSeparator |= !quoted && (c == separator || (i == 0 && c == '"'));
                line += c;
            }
        }
        if (quoted)
            line += '"';
        counts->ambiguous += holdsSeparator ? 1 : 0;
    }
    line += "\r\n";
}

int32_t ExportRecords(DbDocument& document, const PathRecord& target, TextExportResult* result)
{
    *result = TextExportResult{};
    const ExportOptions options = LoadExportOptions(document.Header());
    SelectionFileJob job;
    job.emptyNote = 20;
    job.workingString = kStringExporting;
    job.text = [&](const CardRecord& record, std::string& line) {
        AppendExportLine(record, options.order, options.delimiter, line, result);
    };
    return WriteSelectionFile(document, target, job, &result->records, &result->aborted);
}
