// resfile list FILE: the resources of a typed resource file, one a line:
// type, id, size and offset.

#include <cinttypes>
#include <cstdio>
#include <string>

#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "foundation/resfile.h"
#include "tool_command.h"

namespace {

std::string TypeText(ResType type)
{
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = char((type >> shift) & 0xFF);
        s += c >= 0x20 && c < 0x7F ? c : '.';
    }
    return s;
}

std::string Reason(int32_t code)
{
    switch (code) {
    case kResBadFile: return "not a resource file, or its directory is damaged";
    case 2:
    case 3: return "no such file";
    case 5: return "access denied";
    case 32: return "the file is in use";
    default: return "cannot be read";
    }
}

int List(const std::string& path)
{
    PathRecord record;
    if (PathRecordFromPosix(path, &record))
        return ToolFail(path + ": path too long");
    const FileHandle file = ResFileOpen(&record, kResReadOnly);
    if (file == kNoFile) {
        const int32_t err = ResFileLastError();
        return ToolFail(path + ": " + Reason(err) + " [" + std::to_string(err) + "]");
    }
    if (int32_t err = ResFileUse(file, kResReadOnly)) {
        ResFileClose(file);
        return ToolFail(path + ": " + Reason(err) + " [" + std::to_string(err) + "]");
    }
    for (const ResEntry& e : ResFileTable())
        std::printf("%s %" PRId32 " %" PRIu32 " %" PRIu32 "\n", TypeText(e.type).c_str(), e.id, e.size, e.offset);
    ResFileClose(file);
    if (std::fflush(stdout) != 0)
        return ToolFail("cannot write the listing");
    return 0;
}

}  // namespace

int RunResfile(const ToolArgs& args)
{
    if (args.size() == 2 && args[0] == "list")
        return List(args[1]);
    return ToolFail("usage: resfile list FILE");
}

TESSALINE_TOOL_COMMAND("resfile", "resfile list FILE", RunResfile);
