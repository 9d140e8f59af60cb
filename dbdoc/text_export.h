// Export of the current selection to a delimited text file: one line per
// record, in the browser's order, with the 21 column fields in the
// header's export order.
#pragma once

#include <cstdint>
#include <string>

#include "database/card_record.h"
#include "database/field_table.h"
#include "foundation/path_record.h"

class DbDocument;

// Delimiter codes, as the header keeps them; any other code is Space.
enum : int16_t {
    kDelimiterSpace = 0,
    kDelimiterComma = 1,
    kDelimiterTab = 2,
    kDelimiterColon = 3,
    kDelimiterSemicolon = 4,
    kDelimiterQuotedComma = 5,  // ',' between fields in double quotes
};
char DelimiterChar(int16_t code);
int16_t ValidDelimiter(int16_t code);

// What the Export dialog edits: the header's export order (entry i is the
// 1-based column written in place i; a negative entry leaves place i out)
// and its delimiter code.
struct ExportOptions {
    int16_t order[kEntryColumnCount] = {};
    int16_t delimiter = kDelimiterSpace;
};
ExportOptions LoadExportOptions(const uint8_t* header);
void StoreExportOptions(const ExportOptions& options, uint8_t* header);

struct TextExportResult {
    int32_t records = 0;
    bool aborted = false;
    // Line ends and NUL bytes inside fields, written as spaces: a line is
    // a record.
    int32_t replaced = 0;
    // Fields that hold the separator itself; without quotes they will be
    // read back split.
    int32_t ambiguous = 0;
};

// One record's line, CR LF included, appended to line. order holds 21
// entries: entry i is the 1-based column written in place i; an entry
// outside 1..21 leaves its place out.
void AppendExportLine(const CardRecord& record, const int16_t* order, int16_t delimiter, std::string& line,
                      TextExportResult* counts);

// Writes the selection to target with the header's export order and
// delimiter, after the document committed its edits. The file is written
// beside target and replaces it when complete, so a write error leaves
// target as it was. When the user stops the export, the records written so
// far are kept. 1 when a file was written, 0 when there was nothing to
// export or the target is an open database (after telling the user), -1
// after a file error (after the file-error box).
int32_t ExportRecords(DbDocument& document, const PathRecord& target, TextExportResult* result);
