#include "database/output_names.h"

#include <cstring>
#include <string>

#include "database/db_document.h"
#include "database/same_file.h"
#include "foundation/cstr.h"
#include "foundation/file_io.h"
#include "foundation/string_table.h"

namespace {

// The report suffixes are strings of the string table.
constexpr int32_t kStringTabularReportSuffix = 378;
constexpr int32_t kStringRosterReportSuffix = 379;

constexpr size_t kMaxNameLength = sizeof(PathRecord::name) - 1;
constexpr int32_t kMaxCopyNumber = 9999;

void NameWithSuffix(const PathRecord& base, const std::string& suffix, PathRecord* out)
{
    std::string name = base.name;
    if (name.size() + suffix.size() > kMaxNameLength)
        name.resize(kMaxNameLength > suffix.size() ? kMaxNameLength - suffix.size() : 0);
    name += suffix;
    StrCopyN(out->name, name.c_str(), sizeof out->name);
}

}  // namespace

PathRecord DefaultOutputName(const PathRecord& database, const char* suffix, const char* extension)
{
    PathRecord out = database;
    NameWithSuffix(database, suffix, &out);
    StrCopyN(out.extension, extension, sizeof out.extension);
    return out;
}

PathRecord DefaultReportName(const PathRecord& database, int32_t kind)
{
    const char* suffix = LookupString(kind == 1 ? kStringRosterReportSuffix : kStringTabularReportSuffix);
    return DefaultOutputName(database, suffix ? suffix : "", ".txt");
}

bool ConvertedCopyName(const PathRecord& source, PathRecord* out)
{
    *out = source;
    for (int32_t number = 0; number <= kMaxCopyNumber; ++number) {
        std::string suffix = " copy";
        if (number > 0)
            suffix += std::to_string(number);
        NameWithSuffix(source, suffix, out);
        if (!FileExists(out, 0) && !IsOpenDatabaseFile(IndexPathFor(*out)))
            return true;
    }
    return false;
}
