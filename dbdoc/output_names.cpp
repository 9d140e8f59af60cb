#include "dbdoc/output_names.h"

#include <cstring>
#include <string>

#include "foundation/cstr.h"

namespace {

constexpr size_t kMaxNameLength = sizeof(PathRecord::name) - 1;

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

