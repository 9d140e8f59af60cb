// The names the database commands offer for the files they write: the
// database's own name with a suffix, and the name of the converted copy of
// a Macintosh database.
#pragma once

#include "foundation/path_record.h"

// Suffixes of the default output names.
constexpr const char* kExportSuffix = "_exp";
constexpr const char* kSplitSuffix = "_spl";

// database's folder and name, followed by suffix, with extension (which
// carries its dot, or is empty). The name is cut so that it and the suffix
// fit a name of 255 characters.
PathRecord DefaultOutputName(const PathRecord& database, const char* suffix, const char* extension);

// The default name of a file report of kind (0 tabular, 1 roster): the
// database's name followed by "_tab_rep" or "_rost_rep", as a text file.
PathRecord DefaultReportName(const PathRecord& database, int32_t kind);

// The converted copy of a Macintosh database: its name followed by
// " copy", and then by 1, 2, 3 ... while a file of that name exists, or
// while its index would be one an open database holds. False when no free
// name is found.
bool ConvertedCopyName(const PathRecord& source, PathRecord* out);
