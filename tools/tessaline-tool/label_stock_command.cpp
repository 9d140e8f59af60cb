// label-stock: the label-type file on the command line.
//   build SHEETS.txt OUT.dat   writes the sheets of a text table (see
//                              tools/samples/label-stock.txt) through the
//                              program's own label-type table
//   dump FILE.dat              lists a label-type file's sheets
//
// Lengths in the table are inches or millimetres as the sheets are sold;
// the file holds points.

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <QString>

#include "foundation/cp1252.h"
#include "foundation/file_io.h"
#include "foundation/paper_table.h"
#include "foundation/path_record.h"
#include "foundation/units.h"
#include "records/label_stock.h"
#include "records/label_stock_table.h"
#include "tool_command.h"

namespace {

constexpr const char* kUsage = "usage: label-stock build SHEETS.txt OUT.dat | label-stock dump FILE.dat";

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t'))
        fields.push_back(field);
    return fields;
}

bool ToNumber(const std::string& text, double* value)
{
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == 0 && std::isfinite(*value) && *value >= 0;
}

// One sheet from its line; an empty string, or what is wrong with it.
std::string ParseSheet(const std::string& line, LabelTypeRecord* record)
{
    const std::vector<std::string> f = SplitTabs(line);
    if (f.size() != 12)
        return "12 tab-separated fields expected";
    *record = LabelTypeRecord{};
    const std::string name = QStringToCp1252(QString::fromUtf8(f[0].c_str()));
    if (name.empty() || name.size() > kLabelTypeNameMax)
        return "the name must have 1 to 63 characters";
    LabelTypeSetName(record, name);
    double scale = 0;
    if (f[1] == "in") {
        scale = 72.0;
        record->unit = 1;
    } else if (f[1] == "mm") {
        scale = 72.0 / 25.4;
        record->unit = 2;  // shown in centimetres
    } else {
        return "the unit must be in or mm";
    }
    double* lengths[6] = {&record->cardWidth,  &record->cardHeight,      &record->topMargin,
                          &record->leftMargin, &record->verticalSpacing, &record->horizontalSpacing};
    for (int i = 0; i < 6; ++i) {
        if (!ToNumber(f[size_t(2 + i)], lengths[i]))
            return "not a length: " + f[size_t(2 + i)];
        // Kept to a hundredth of a point, so that the file reads the same
        // on every machine.
        *lengths[i] = std::round(*lengths[i] * scale * 100.0) / 100.0;
    }
    if (record->cardWidth <= 0 || record->cardHeight <= 0)
        return "a card needs a width and a height";
    double columns = 0, rows = 0, sides = 0;
    if (!ToNumber(f[8], &columns) || !ToNumber(f[9], &rows) || !ToNumber(f[10], &sides) || columns < 1 ||
        rows < 1 || columns > 100 || rows > 100 || (sides != 1 && sides != 2))
        return "columns and rows are 1 to 100, sides 1 or 2";
    record->columns = int16_t(columns);
    record->rows = int16_t(rows);
    record->sides = int32_t(sides);
    record->orientation = kLabelOrientationPortrait;
    record->word140 = 1;
    if (f[11] == "Letter")
        record->paper = kPaperEntryLetter;
    else if (f[11] == "A4")
        record->paper = kPaperEntryA4;
    else
        return "the paper must be Letter or A4";
    if (!LabelTypeIsSane(*record))
        return "the sheet cannot be drawn";
    return std::string();
}

int RunBuild(const std::string& sheets, const std::string& out)
{
    std::ifstream in(sheets);
    if (!in)
        return ToolFail("cannot read " + sheets);
    std::vector<LabelTypeRecord> records;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        LabelTypeRecord record;
        const std::string fault = ParseSheet(line, &record);
        if (!fault.empty())
            return ToolFail(sheets + ":" + std::to_string(number) + ": " + fault);
        records.push_back(record);
    }
    PathRecord path{};
    if (PathRecordFromPosix(out, &path) != 0)
        return ToolFail("cannot name " + out);
    // A new file each time: the table never empties one that is there.
    FileDelete(&path);
    CDBLabel table;
    if (!table.CreateLabelFile(&path) || !table.ReadAll())
        return ToolFail("cannot make " + out);
    for (int32_t i = kBuiltinLabelTypeCount - 1; i >= 0; --i) {
        LabelTypeRecord builtin;
        GetBuiltinLabelType(&builtin, i);
        records.insert(records.begin(), builtin);
    }
    for (const LabelTypeRecord& r : records) {
        if (!table.InsertLabelType(table.GetCount() - 1, r))
            return ToolFail("the table takes no more sheets");
    }
    if (!table.WriteAll())
        return ToolFail("cannot write " + out);
    return 0;
}

int RunDump(const std::string& file)
{
    PathRecord path{};
    if (PathRecordFromPosix(file, &path) != 0)
        return ToolFail("cannot name " + file);
    CDBLabel table;
    if (!table.OpenLabelFile(&path) || !table.ReadAll())
        return ToolFail("cannot read " + file);
    for (int32_t i = 0; i < table.GetCount(); ++i) {
        const LabelTypeRecord* r = table.GetLabelType(i);
        std::printf("%d \"%s\": %g x %g pt, %d x %d, top %g left %g, gaps %g %g, unit %d, sides %d, paper %d\n", i,
                    Cp1252ToQString(LabelTypeName(*r).c_str()).toUtf8().constData(), r->cardWidth, r->cardHeight,
                    r->columns, r->rows, r->topMargin, r->leftMargin, r->verticalSpacing, r->horizontalSpacing,
                    r->unit, r->sides, r->paper);
    }
    return 0;
}

int RunLabelStock(const ToolArgs& args)
{
    if (args.size() == 3 && args[0] == "build")
        return RunBuild(args[1], args[2]);
    if (args.size() == 2 && args[0] == "dump")
        return RunDump(args[1]);
    std::fprintf(stderr, "%s\n", kUsage);
    return 2;
}

}  // namespace

TESSALINE_TOOL_COMMAND("label-stock", "label-stock build SHEETS.txt OUT.dat | label-stock dump FILE.dat",
                       RunLabelStock);
