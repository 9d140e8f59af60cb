// The names the database commands offer for the files they write: the
// database's own name with a suffix.
#pragma once

#include "foundation/path_record.h"

// Suffixes of the default output names.
constexpr const char* kExportSuffix = "_exp";
constexpr const char* kSplitSuffix = "_spl";
// The report suffixes are strings of the string table.
constexpr int32_t kStringTabularReportSuffix = 378;
constexpr int32_t kStringRosterReportSuffix = 379;

// database's folder and name, followed by suffix, with extension (which
// carries its dot, or is empty). The name is cut so that it and the suffix
// fit a name of 255 characters.
PathRecord DefaultOutputName(const PathRecord& database, const char* suffix, const char* extension);

